#include "frame/main_frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "dialog_driver.h"
#include "frame_fixture.h"
#include "resources/resource_ids.h"

namespace {

using Bytes = std::vector<uint8_t>;

SIZE OuterSize(HWND window) {
    RECT box{};
    GetWindowRect(window, &box);
    return SIZE{box.right - box.left, box.bottom - box.top};
}

DialogDriver::Action Then(DialogDriver::Action first, DialogDriver::Action second) {
    return [first, second](HWND dialog) {
        first(dialog);
        second(dialog);
    };
}

DialogDriver::Action ReadPortSelection(LRESULT& selected) {
    return [&selected](HWND dialog) { selected = SendDlgItemMessageA(dialog, IDC_PORT_LIST, CB_GETCURSEL, 0, 0); };
}

DialogDriver::Action SelectPort(int index) {
    return [index](HWND dialog) { SendDlgItemMessageA(dialog, IDC_PORT_LIST, CB_SETCURSEL, index, 0); };
}

// The line setup that the last transfer left on the pseudo-terminal behind COM3.
DWORD LastBaudRateOnCom3() {
    const HANDLE port = CreateFileA("COM3", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE) return 0;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    GetCommState(port, &dcb);
    CloseHandle(port);
    return dcb.BaudRate;
}

bool AllSpaces(const ScreenDocument& doc, size_t count) {
    return std::all_of(doc.cells.begin(), doc.cells.begin() + count, [](uint8_t c) { return c == 0x20; });
}

bool UserGlyphsBlank(const ScreenDocument& doc) {
    return std::all_of(doc.glyphs.begin(), doc.glyphs.begin() + 448, [](uint8_t p) { return p == 0; });
}

// ---- start-up and the stored settings ----

TEST_F(FrameTest, FirstStartWithoutSettings) {
    Start();
    char caption[64] = {};
    GetWindowTextA(Frame(), caption, sizeof caption);
    EXPECT_STREQ(caption, "Boot loader,");
    EXPECT_EQ(Doc().sizeCode, 0x8008u);
    EXPECT_EQ(Doc().columns, 20u);
    EXPECT_EQ(Doc().rows, 2u);
    EXPECT_TRUE(AllSpaces(Doc(), 40));
    EXPECT_EQ(Doc().fileName[0], '\0');
    const SIZE size = OuterSize(Frame());
    EXPECT_EQ(size.cx, 351);
    EXPECT_EQ(size.cy, 180);
    EXPECT_FALSE(StatusIsSimple());
    EXPECT_EQ(StatusText(), "Ready");
    EXPECT_EQ(frame_->Settings().portNumber, 3);
    EXPECT_EQ(frame_->Settings().baudRate, 19200);
    EXPECT_FALSE(frame_->MirrorDisabled());
    EXPECT_NE(GetMenu(Frame()), nullptr);
    const LONG style = GetWindowLongA(Frame(), GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
              WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(GetWindowLongA(Frame(), GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, 0);
    EXPECT_NE(GetClassLongPtrA(Frame(), GCLP_HICON), 0);
    EXPECT_NE(GetClassLongPtrA(Frame(), GCLP_HICONSM), 0);
    // The one start-up mirror: 40 blank cells and the user characters of the built-in table.
    EXPECT_EQ(Sent(), ExpectedMirror(Doc()));
    EXPECT_EQ(LastBaudRateOnCom3(), 19200u);

    LRESULT selected = -2;
    DialogDriver driver({Then(ReadPortSelection(selected), Press(IDCANCEL))});
    Command(ID_CONFIGURE_PORT);
    EXPECT_EQ(driver.Acted(), 1u);
    EXPECT_EQ(selected, 2);  // "Com3"
}

TEST_F(FrameTest, DestroyingTheWindowStoresPortAndSpeedAsDecimalText) {
    Start();
    Close();
    const StoredValue port = ReadSetting("port");
    const StoredValue speed = ReadSetting("speed");
    EXPECT_EQ(port.type, DWORD{REG_SZ});
    EXPECT_EQ(port.bytes, std::string("3\0", 2));
    EXPECT_EQ(speed.type, DWORD{REG_SZ});
    EXPECT_EQ(speed.bytes, std::string("19200\0", 6));
}

TEST_F(FrameTest, ChoosingCom5AndLeavingStoresFive) {
    Start();
    Sent();
    DialogDriver driver({Then(SelectPort(4), Press(IDOK))});
    Command(ID_CONFIGURE_PORT);
    EXPECT_EQ(frame_->Settings().portNumber, 5);
    EXPECT_EQ(Sent(), Bytes{});  // accepting the dialog sends nothing
    PostMessageA(Frame(), WM_CLOSE, 0, 0);
    EXPECT_EQ(loop_.Run(), 1);
    EXPECT_EQ(ReadSetting("port").bytes, std::string("5\0", 2));
}

TEST_F(FrameTest, ASpeedChangedOutsideIsUsedAndWrittenBackUnchanged) {
    StoreSetting("port", REG_SZ, std::string("3\0", 2));
    StoreSetting("speed", REG_SZ, std::string("9600\0", 5));
    Start();
    EXPECT_EQ(frame_->Settings().baudRate, 9600);
    EXPECT_EQ(Sent(), ExpectedMirror(Doc()));
    EXPECT_EQ(LastBaudRateOnCom3(), 9600u);
    Close();
    EXPECT_EQ(ReadSetting("speed").bytes, std::string("9600\0", 5));
}

TEST_F(FrameTest, UnreadableValuesGiveTheirDefaults) {
    const std::string tooLong(300, '7');
    StoreSetting("port", REG_DWORD, std::string("\x05\0\0\0", 4));
    StoreSetting("speed", REG_SZ, tooLong + '\0');
    Start();
    EXPECT_EQ(frame_->Settings().portNumber, 3);
    EXPECT_EQ(frame_->Settings().baudRate, 19200);
    Close();

    DeleteSettingsKey();
    StoreSetting("speed", REG_SZ, std::string("4800", 4));  // no terminating zero
    Start();
    EXPECT_EQ(frame_->Settings().portNumber, 3);
    EXPECT_EQ(frame_->Settings().baudRate, 4800);
}

TEST_F(FrameTest, StoredPortsOutsideOneToNineSelectNothingInTheDialog) {
    struct Case {
        std::string text;
        int port;
    };
    for (const Case& c : {Case{"12", 12}, Case{"0", 0}, Case{"com", 0}}) {
        SCOPED_TRACE(c.text);
        DeleteSettingsKey();
        StoreSetting("port", REG_SZ, c.text + '\0');
        Start();
        EXPECT_EQ(frame_->Settings().portNumber, c.port);
        EXPECT_TRUE(frame_->MirrorDisabled());  // such a port never opens
        LRESULT selected = -2;
        DialogDriver driver({Then(ReadPortSelection(selected), Press(IDOK))});
        Command(ID_CONFIGURE_PORT);
        EXPECT_EQ(selected, CB_ERR);
        EXPECT_EQ(frame_->Settings().portNumber, c.port);  // nothing chosen: the port stays
        EXPECT_FALSE(frame_->MirrorDisabled());
        Close();
    }
}

TEST_F(FrameTest, CancelChangesNothingAndOkWithTheSamePortMirrorsAgain) {
    StoreSetting("port", REG_SZ, std::string("1\0", 2));  // COM1 never opens
    Start();
    ASSERT_TRUE(frame_->MirrorDisabled());
    {
        DialogDriver driver({Then(SelectPort(2), Press(IDCANCEL))});
        Command(ID_CONFIGURE_PORT);
    }
    EXPECT_TRUE(frame_->MirrorDisabled());
    EXPECT_EQ(frame_->Settings().portNumber, 1);
    {
        DialogDriver driver({Press(IDOK)});
        Command(ID_CONFIGURE_PORT);
    }
    EXPECT_FALSE(frame_->MirrorDisabled());
    EXPECT_EQ(frame_->Settings().portNumber, 1);
    // The next request tries the port again, fails again and disables mirroring.
    SendMessageA(Frame(), WM_USER, 0, 0);
    EXPECT_TRUE(frame_->MirrorDisabled());
    {
        DialogDriver driver({Then(SelectPort(2), Press(IDOK))});
        Command(ID_CONFIGURE_PORT);
    }
    EXPECT_EQ(frame_->Settings().portNumber, 3);
    EXPECT_EQ(Sent(), Bytes{});
    Doc().cells[0] = 'A';
    SendMessageA(Frame(), WM_USER, 0, 0);
    EXPECT_EQ(Sent(), ExpectedMirror(Doc()));
}

// ---- file commands ----

TEST_F(FrameTest, SaveWithoutANameAndTheDialogCancelledWritesNothingAndAsksAgain) {
    Start();
    for (int attempt = 0; attempt < 2; ++attempt) {
        DialogDriver driver({Press(IDCANCEL)});
        Command(ID_FILE_SAVE);
        EXPECT_EQ(driver.Acted(), 1u);
        EXPECT_FALSE(driver.TimedOut());
    }
    EXPECT_EQ(Doc().fileName[0], '\0');
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((scratch_ + "*.kss").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
}

TEST_F(FrameTest, SaveAsCancelledKeepsTheNameAndSaveWritesToIt) {
    Start();
    const std::string path = ScratchPath("first.kss");
    {
        DialogDriver driver({EnterFileName(path)});
        Command(ID_FILE_SAVE_AS);
    }
    EXPECT_STREQ(Doc().fileName.data(), path.c_str());
    EXPECT_EQ(FileBytes(path).size(), 492u);

    Command(ID_SIZE_4X20);
    std::string fieldAtStart = "(not seen)";
    {
        DialogDriver driver({Then([&](HWND d) { fieldAtStart = WindowText(FileNameField(d)); }, Press(IDCANCEL))});
        Command(ID_FILE_SAVE_AS);
    }
    EXPECT_EQ(fieldAtStart, "");
    EXPECT_STREQ(Doc().fileName.data(), path.c_str());
    EXPECT_EQ(FileBytes(path).size(), 492u);

    Command(ID_FILE_SAVE);
    const Bytes saved = FileBytes(path);
    ASSERT_EQ(saved.size(), 532u);
    EXPECT_EQ(Bytes(saved.begin(), saved.begin() + 4), (Bytes{0x0A, 0x80, 0x00, 0x00}));
}

TEST_F(FrameTest, SaveAsOverAnExistingFileAsksFirstAndDecliningReturnsToTheDialog) {
    Start();
    const std::string path = ScratchPath("taken.kss");
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    WriteFile(file, "old", 3, nullptr, nullptr);
    CloseHandle(file);
    HWND fileDialog = nullptr;
    HWND afterQuestion = nullptr;
    DialogDriver driver({Then([&](HWND d) { fileDialog = d; }, EnterFileName(path)),
                         Press(IDNO),
                         [&](HWND d) {
                             afterQuestion = d;
                             Press(IDCANCEL)(d);
                         }});
    Command(ID_FILE_SAVE_AS);
    EXPECT_EQ(driver.Acted(), 3u);
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_EQ(afterQuestion, fileDialog);
    EXPECT_EQ(FileBytes(path), (Bytes{'o', 'l', 'd'}));
    EXPECT_EQ(Doc().fileName[0], '\0');
}

TEST_F(FrameTest, OpenOfAPathThatFailsToLoadKeepsItForSave) {
    Start();
    Sent();
    const std::string path = ScratchPath("missing.kss");
    std::string text;
    std::string caption;
    {
        DialogDriver driver({EnterFileName(path), Then(
                                                      [&](HWND box) {
                                                          text = MessageBoxText(box);
                                                          caption = WindowText(box);
                                                      },
                                                      Press(IDOK))});
        Command(ID_FILE_OPEN);
        EXPECT_EQ(driver.Acted(), 2u);
    }
    EXPECT_EQ(text, "00000002");
    EXPECT_EQ(caption, path);
    EXPECT_STREQ(Doc().fileName.data(), path.c_str());
    EXPECT_EQ(Sent(), ExpectedMirror(Doc()));  // a failed load still mirrors

    Command(ID_FILE_SAVE);
    EXPECT_EQ(FileBytes(path).size(), 492u);
}

TEST_F(FrameTest, OpenLoadsTheChosenFile) {
    Start();
    const std::string path = ScratchPath("screen.kss");
    Bytes file = {0x0A, 0x80, 0x00, 0x00};
    file.resize(4 + 448, 0);
    file[4] = 1;  // glyph 0, top-left pixel
    for (int i = 0; i < 80; ++i) file.push_back(static_cast<uint8_t>('a' + i % 26));
    const HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(out, file.data(), static_cast<DWORD>(file.size()), &written, nullptr);
    CloseHandle(out);
    Sent();

    DialogDriver driver({EnterFileName(path)});
    Command(ID_FILE_OPEN);
    EXPECT_STREQ(Doc().fileName.data(), path.c_str());
    EXPECT_EQ(Doc().rows, 4u);
    EXPECT_EQ(Doc().cells[79], 'a' + 79 % 26);
    EXPECT_EQ(OuterSize(Frame()).cy, 232);
    EXPECT_EQ(Sent(), ExpectedMirror(Doc()));
}

TEST_F(FrameTest, NewKeepsSizeAndSettingsBlanksUserCharactersAndTextForgetsTheNameAndSendsNothing) {
    StoreSetting("port", REG_SZ, std::string("3\0", 2));
    StoreSetting("speed", REG_SZ, std::string("38400\0", 6));
    Start();
    Command(ID_SIZE_4X20);
    const std::string path = ScratchPath("named.kss");
    ASSERT_TRUE(AssignFileName(Doc(), path.c_str()));
    std::fill(Doc().cells.begin(), Doc().cells.begin() + 80, uint8_t{'x'});
    const auto glyph8 = std::vector<uint8_t>(Doc().glyphs.begin() + 448, Doc().glyphs.end());
    ASSERT_FALSE(UserGlyphsBlank(Doc()));
    Sent();

    Command(ID_FILE_NEW);
    EXPECT_EQ(Doc().sizeCode, 0x800Au);
    EXPECT_EQ(Doc().rows, 4u);
    EXPECT_EQ(Doc().columns, 20u);
    EXPECT_TRUE(UserGlyphsBlank(Doc()));
    EXPECT_EQ(std::vector<uint8_t>(Doc().glyphs.begin() + 448, Doc().glyphs.end()), glyph8);
    EXPECT_TRUE(AllSpaces(Doc(), 80));
    EXPECT_EQ(Doc().fileName[0], '\0');
    EXPECT_EQ(frame_->Settings().portNumber, 3);
    EXPECT_EQ(frame_->Settings().baudRate, 38400);
    EXPECT_EQ(OuterSize(Frame()).cy, 232);
    EXPECT_EQ(Sent(), Bytes{});
}

TEST_F(FrameTest, DisplaySizesResizeTheWindowKeepTheNameAndSendNothing) {
    Start();
    Sent();
    ASSERT_TRUE(AssignFileName(Doc(), "C:\\kept.kss"));
    struct Step {
        WORD command;
        uint32_t columns, rows;
        LONG width, height;
    };
    for (const Step s : {Step{ID_SIZE_4X20, 20, 4, 351, 232}, Step{ID_SIZE_2X16, 16, 4, 283, 232},
                         Step{ID_SIZE_2X20, 20, 2, 351, 180}, Step{ID_SIZE_2X16, 16, 2, 283, 180}}) {
        Doc().cells[0] = 'q';
        Command(s.command);
        const SIZE size = OuterSize(Frame());
        EXPECT_EQ(Doc().columns, s.columns);
        EXPECT_EQ(Doc().rows, s.rows);
        EXPECT_EQ(size.cx, s.width);
        EXPECT_EQ(size.cy, s.height);
        EXPECT_EQ(Doc().cells[0], 0x20);
        EXPECT_STREQ(Doc().fileName.data(), "C:\\kept.kss");
    }
    EXPECT_EQ(Sent(), Bytes{});
}

TEST_F(FrameTest, WriteToDisplaySendsTheStoreSequenceEvenWithMirroringDisabled) {
    Start();
    Command(ID_SIZE_4X20);
    for (size_t i = 0; i < 80; ++i) Doc().cells[i] = static_cast<uint8_t>(0x21 + i);
    Doc().cells[5] = 3;  // a user character
    Doc().glyphs[7 * 56 + 3 * 7 + 4] = 1;
    Sent();
    Command(ID_WRITE_TO_DISPLAY);
    EXPECT_EQ(Sent(), ExpectedStore(Doc()));
    EXPECT_EQ(ExpectedStore(Doc()).size(), 170u);
}

TEST_F(FrameTest, APreviewRequestMirrorsAndACharacterSentToTheFrameReachesThePreview) {
    Start();
    Sent();
    Doc().cells[39] = '!';
    EXPECT_EQ(SendMessageA(Frame(), WM_USER, 0, 0), 0);
    EXPECT_EQ(Sent(), ExpectedMirror(Doc()));

    const uint8_t before = Doc().cells[0];
    SendMessageA(Frame(), WM_CHAR, 'K', 1);
    Pump();
    EXPECT_NE(Doc().cells[0], before);
    EXPECT_EQ(Doc().cells[0], 'K');
}

TEST_F(FrameTest, AboutOpensOwnedByTheFrameAndClosesWithOk) {
    Start();
    SetActiveWindow(Frame());
    std::string caption;
    HWND owner = nullptr;
    DialogDriver driver({Then(
        [&](HWND d) {
            caption = WindowText(d);
            owner = GetWindow(d, GW_OWNER);
        },
        Press(IDOK))});
    Command(ID_APP_ABOUT);
    EXPECT_EQ(driver.Acted(), 1u);
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_EQ(caption, "About");
    EXPECT_EQ(owner, Frame());
}

TEST_F(FrameTest, ExitClosesAtOnceEndsTheLoopWithOneAndSavesTheSettings) {
    Start();
    Doc().cells[0] = 'u';  // an unsaved edit asks nothing
    PostMessageA(Frame(), WM_COMMAND, ID_APP_EXIT, 0);
    EXPECT_EQ(loop_.Run(), 1);
    EXPECT_EQ(Frame(), nullptr);
    EXPECT_EQ(ReadSetting("port").bytes, std::string("3\0", 2));
}

}  // namespace

namespace {

// The file name holds 255 characters; the dialogs accept up to 259.
TEST_F(FrameTest, APathTooLongForTheFileNameIsRefusedAndChangesNothing) {
    Start();
    ASSERT_TRUE(AssignFileName(Doc(), "C:\\kept.kss"));
    std::string path = ScratchPath("");
    path += std::string(258 - path.size() - 4, 'n') + ".kss";
    ASSERT_EQ(path.size(), 258u);
    std::string text;
    {
        DialogDriver driver({EnterFileName(path), Then([&](HWND box) { text = MessageBoxText(box); }, Press(IDOK))});
        Command(ID_FILE_SAVE_AS);
        EXPECT_EQ(driver.Acted(), 2u);
    }
    EXPECT_EQ(text, kPathTooLongText);
    EXPECT_STREQ(Doc().fileName.data(), "C:\\kept.kss");
    EXPECT_EQ(FileBytes(path).size(), 0u);

    text.clear();
    Sent();
    {
        DialogDriver driver({Then([&](HWND box) { text = MessageBoxText(box); }, Press(IDOK))});
        frame_->OpenNamedFile((std::string(300, 'x') + ".kss").c_str());
        Pump();
    }
    EXPECT_EQ(text, kPathTooLongText);
    EXPECT_STREQ(Doc().fileName.data(), "C:\\kept.kss");
    EXPECT_EQ(Sent(), Bytes{});  // nothing was loaded, so nothing mirrored
}

}  // namespace
