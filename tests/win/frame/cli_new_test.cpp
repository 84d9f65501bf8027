// A start screen made by brevant-cli.exe and the same screen typed into the editor by hand must
// be one screen: the same file bytes and the same mirror on the line.
#include "frame_fixture.h"

#include "resources/frame_ids.h"
#include "run_program.h"

namespace {

constexpr size_t kMirrorBytes = 8 * 11 + 2 * (4 + 20);

DWORD RunCli(const std::string& arguments) {
    return RunProgram(std::string("\"") + BREVANT_CLI_EXE + "\" " + arguments);
}

std::vector<uint8_t> LastMirror(const std::vector<uint8_t>& sent) {
    if (sent.size() < kMirrorBytes) return sent;
    return std::vector<uint8_t>(sent.end() - kMirrorBytes, sent.end());
}

}  // namespace

TEST_F(FrameTest, AScreenMadeByTheCommandLineIsTheSameAsTypedByHand) {
    Start();
    Sent();
    const auto type = [&](const std::string& text) {
        for (unsigned char c : text) SendMessageA(Preview(), WM_CHAR, c, 1);
        Pump();
    };
    const auto mouse = [&](UINT message, int x, int y) {
        SendMessageA(Preview(), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
        Pump();
    };
    type("Brevant \\12 \xB1");
    mouse(WM_LBUTTONDOWN, 3, 26 + 3);  // a click on row 2, column 1 moves the cursor there
    mouse(WM_LBUTTONUP, 3, 26 + 3);
    type("SN 0042");
    // User character 3 dragged from the palette to row 2, column 10.
    mouse(WM_LBUTTONDOWN, 50 + 30 * 3 + 5, 26 * 2 + 8 + 5);
    mouse(WM_MOUSEMOVE, 17 * 9 + 3, 26 + 3);
    mouse(WM_LBUTTONUP, 17 * 9 + 3, 26 + 3);
    const std::vector<uint8_t> typedMirror = LastMirror(Sent());
    EXPECT_EQ(typedMirror, ExpectedMirror(Doc()));
    EXPECT_EQ(Doc().cells[29], 3);
    const std::string typedPath = ScratchPath("typed.kss");
    ASSERT_TRUE(AssignFileName(Doc(), typedPath.c_str()));
    Command(ID_FILE_SAVE);

    const std::string madePath = ScratchPath("made.kss");
    ASSERT_EQ(RunCli("new --geometry 2x20 --line \"1=Brevant \\x5C12 \\xB1\" --line \"2=SN 0042  \\3\" -o \"" +
                     madePath + "\""),
              0u);
    EXPECT_EQ(FileBytes(madePath), FileBytes(typedPath));
    EXPECT_EQ(FileBytes(madePath).size(), 492u);

    Command(ID_FILE_NEW);
    Sent();
    frame_->OpenNamedFile(madePath.c_str());
    Pump();
    EXPECT_EQ(LastMirror(Sent()), typedMirror);
}
