// What the frame tells the user about the file and the serial link, and how it ends drags.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "../view/view_harness.h"
#include "dialog_driver.h"
#include "frame_fixture.h"
#include "resources/resource_ids.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr int kFilePart = 1;
constexpr int kLinkPart = 2;
constexpr char kNotHeld[] = "\n\nThe module does not hold the start screen.";

DialogDriver::Action Then(DialogDriver::Action first, DialogDriver::Action second) {
    return [first, second](HWND dialog) {
        first(dialog);
        second(dialog);
    };
}

DialogDriver::Action SelectPort(int index) {
    return [index](HWND dialog) { SendDlgItemMessageA(dialog, IDC_PORT_LIST, CB_SETCURSEL, index, 0); };
}

struct Box {
    std::string text, caption;
};

DialogDriver::Action ReadBox(Box& box) {
    return Then(
        [&box](HWND dialog) {
            box.text = MessageBoxText(dialog);
            box.caption = WindowText(dialog);
        },
        Press(IDOK));
}

// The system's words for why opening the port fails, as a sentence would quote them.
std::string WhyPortDoesNotOpen(const char* name) {
    const HANDLE port = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (port != INVALID_HANDLE_VALUE) {
        CloseHandle(port);
        return "(it opens)";
    }
    char text[256] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, GetLastError(), 0, text,
                   sizeof text, nullptr);
    std::string reason = text;
    while (!reason.empty() && std::string(" .\r\n").find(reason.back()) != std::string::npos) reason.pop_back();
    return reason;
}

void WriteFileBytes(const std::string& path, const Bytes& bytes) {
    const HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(out);
}

// ---- the file part ----

TEST_F(FrameTest, TheFilePartNamesTheFileTheNextSaveWritesTo) {
    Start();
    EXPECT_EQ(StatusPart(0), "Ready");
    EXPECT_EQ(StatusPart(kFilePart), "");

    const std::string screen = ScratchPath("screen.kss");
    Bytes file = {0x08, 0x80, 0x00, 0x00};
    file.resize(4 + 448 + 40, 0x20);
    WriteFileBytes(screen, file);
    {
        DialogDriver driver({EnterFileName(screen)});
        Command(ID_FILE_OPEN);
    }
    EXPECT_EQ(StatusPart(kFilePart), "screen.kss");

    {
        DialogDriver driver({EnterFileName(ScratchPath("saved as.kss"))});
        Command(ID_FILE_SAVE_AS);
    }
    EXPECT_EQ(StatusPart(kFilePart), "saved as.kss");

    // A failed open still names the file: Save creates it there.
    Box box;
    {
        DialogDriver driver({EnterFileName(ScratchPath("new one.kss")), ReadBox(box)});
        Command(ID_FILE_OPEN);
        EXPECT_EQ(driver.Acted(), 2u);
    }
    EXPECT_EQ(box.text, "00000002");
    EXPECT_EQ(StatusPart(kFilePart), "new one.kss");

    Command(ID_FILE_NEW);
    EXPECT_EQ(StatusPart(kFilePart), "");
    EXPECT_EQ(StatusPart(0), "Ready");

    // A file handed over by another start.
    frame_->OpenNamedFile(screen.c_str());
    Pump();
    EXPECT_EQ(StatusPart(kFilePart), "screen.kss");
}

// ---- the link part ----

TEST_F(FrameTest, TheLinkPartSaysWhetherMirroringReachesThePort) {
    Start();
    EXPECT_EQ(StatusPart(kLinkPart), "COM3 19200");
    Close();

    struct Case {
        const char* storedPort;
        const char* atStart;
    };
    for (const Case c : {Case{"1", "COM1: cannot be opened, mirroring is off"}, Case{"0", "no port"},
                         Case{"12", "no port"}}) {
        SCOPED_TRACE(c.storedPort);
        DeleteSettingsKey();
        StoreSetting("port", REG_SZ, std::string(c.storedPort) + '\0');
        StoreSetting("speed", REG_SZ, std::string("9600\0", 5));
        Start();  // no message box at start: the guard would end it and fail the test
        Sent();
        EXPECT_EQ(StatusPart(kLinkPart), c.atStart);
        EXPECT_EQ(StatusPart(0), "Ready");
        EXPECT_TRUE(frame_->MirrorDisabled());

        // The port dialog's OK switches mirroring back on; the next change reaches the port.
        {
            DialogDriver driver({Then(SelectPort(2), Press(IDOK))});
            Command(ID_CONFIGURE_PORT);
        }
        EXPECT_EQ(StatusPart(kLinkPart), "COM3 9600, mirroring is on");
        EXPECT_EQ(Sent(), Bytes{});
        SendMessageA(Frame(), WM_USER, 0, 0);
        EXPECT_EQ(Sent(), ExpectedMirror(Doc()));
        EXPECT_EQ(StatusPart(kLinkPart), "COM3 9600");
        Close();
    }
}

// Passes every call to the system, but the line stops taking bytes once its budget is spent.
struct FailingWrites {
    static inline DWORD budget = MAXDWORD;
    static BOOL WINAPI Write(HANDLE port, LPCVOID bytes, DWORD count, LPDWORD written, LPOVERLAPPED overlapped) {
        const DWORD taken = std::min(count, budget);
        budget -= taken;
        if (taken == 0) {
            *written = 0;
            SetLastError(ERROR_GEN_FAILURE);
            return FALSE;
        }
        return WriteFile(port, bytes, taken, written, overlapped);
    }
    static const CommApi& Api() {
        static const CommApi api{CreateFileA, SetCommMask, SetCommTimeouts, SetCommState, Write, CloseHandle};
        return api;
    }
};

TEST_F(FrameTest, AMirrorWhoseWriteFailsPartWayTurnsMirroringOffAndSaysSo) {
    FailingWrites::budget = MAXDWORD;
    Start(FailingWrites::Api());
    Sent();
    // Inside a definition, and inside the second text block (a short write).
    for (DWORD budget : {DWORD{50}, DWORD{130}}) {
        SCOPED_TRACE(budget);
        Doc().cells[0] = static_cast<uint8_t>('a' + budget % 26);
        const Bytes whole = ExpectedMirror(Doc());
        FailingWrites::budget = budget;
        SendMessageA(Frame(), WM_USER, 0, 0);
        EXPECT_EQ(Sent(), Bytes(whole.begin(), whole.begin() + budget));
        EXPECT_TRUE(frame_->MirrorDisabled());
        EXPECT_EQ(StatusPart(kLinkPart), "COM3: write failed, mirroring is off");

        FailingWrites::budget = MAXDWORD;
        SendMessageA(Frame(), WM_USER, 0, 0);
        EXPECT_EQ(Sent(), Bytes{}) << "mirroring stays off";
        {
            DialogDriver driver({Press(IDOK)});
            Command(ID_CONFIGURE_PORT);
        }
        SendMessageA(Frame(), WM_USER, 0, 0);
        EXPECT_EQ(Sent(), whole);
        EXPECT_EQ(StatusPart(kLinkPart), "COM3 19200");
    }
}

// ---- the parts fit ----

int TextWidth(HWND bar, const std::string& text) {
    const HDC dc = GetDC(bar);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(bar, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(bar, dc);
    return size.cx;
}

// The shown text is the whole text, or a head of it followed by "...".
::testing::AssertionResult WholeOrCut(const std::string& shown, const std::string& whole) {
    if (shown == whole) return ::testing::AssertionSuccess();
    const size_t head = shown.size() >= 3 ? shown.size() - 3 : 0;
    if (shown.size() >= 4 && shown.compare(head, 3, "...") == 0 && whole.compare(0, head, shown, 0, head) == 0) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << '"' << shown << "\" is not \"" << whole << "\" nor a head of it";
}

TEST_F(FrameTest, StatusPartsStayInsideTheBarInEveryGeometryAndLongTextsEndInAnEllipsis) {
    StoreSetting("port", REG_SZ, std::string("1\0", 2));
    Start();
    const std::string name = std::string(120, 'n') + ".kss";
    ASSERT_TRUE(AssignFileName(Doc(), ScratchPath(name.c_str()).c_str()));
    const std::string link = "COM1: cannot be opened, mirroring is off";
    const HWND bar = frame_->StatusBar();
    for (WORD size : {ID_SIZE_4X20, ID_SIZE_2X16, ID_SIZE_2X20}) {
        SCOPED_TRACE(size);
        Command(size);
        RECT client{};
        GetClientRect(bar, &client);
        ASSERT_EQ(SendMessageA(bar, SB_GETPARTS, 0, 0), 3);
        const int grip = GetSystemMetrics(SM_CXVSCROLL);
        for (int part = 0; part < 3; ++part) {
            SCOPED_TRACE(part);
            RECT box{};
            ASSERT_TRUE(SendMessageA(bar, SB_GETRECT, part, reinterpret_cast<LPARAM>(&box)));
            EXPECT_GT(box.right - box.left, 0);
            EXPECT_LE(box.right, client.right);
            const int room = box.right - box.left - (part == 2 ? grip : 0);
            EXPECT_LE(TextWidth(bar, StatusPart(part)), room) << StatusPart(part);
        }
        EXPECT_EQ(StatusPart(0), "Ready");
        EXPECT_TRUE(WholeOrCut(StatusPart(kFilePart), name));
        EXPECT_NE(StatusPart(kFilePart), name) << "too long for any of the widths";
        EXPECT_GE(StatusPart(kFilePart).size(), 4u);
        EXPECT_TRUE(WholeOrCut(StatusPart(kLinkPart), link));
        EXPECT_GE(StatusPart(kLinkPart).size(), 8u) << "at least the port shows";
    }
}

// ---- Write to Display ----

TEST_F(FrameTest, WriteToDisplayToAPortThatDoesNotOpenSaysTheModuleDoesNotHoldTheScreen) {
    struct Case {
        const char* storedPort;
        std::string text;
        const char* link;
    };
    const Case cases[] = {
        {"1", "COM1 cannot be opened: " + WhyPortDoesNotOpen("COM1") + "." + kNotHeld,
         "COM1: start screen not stored"},
        {"0", std::string("There is no serial port 0. Choose one with Configure Serial port.") + kNotHeld, "no port"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.storedPort);
        DeleteSettingsKey();
        StoreSetting("port", REG_SZ, std::string(c.storedPort) + '\0');
        Start();
        Box box;
        {
            DialogDriver driver({ReadBox(box)});
            Command(ID_WRITE_TO_DISPLAY);
            EXPECT_EQ(driver.Acted(), 1u);
        }
        EXPECT_EQ(box.caption, "Write to Display");
        EXPECT_EQ(box.text, c.text);
        EXPECT_EQ(StatusPart(kLinkPart), c.link);
        EXPECT_TRUE(frame_->MirrorDisabled()) << "a store leaves the mirror state as it was";
        Close();
    }
}

TEST_F(FrameTest, WriteToDisplayOverALineCutInTheMiddleNamesThePortAndTheReason) {
    Start();
    {
        DialogDriver driver({Then(SelectPort(1), Press(IDOK))});  // COM2, cut after 40 bytes
        Command(ID_CONFIGURE_PORT);
    }
    ASSERT_EQ(frame_->Settings().portNumber, 2);
    Box box;
    {
        DialogDriver driver({ReadBox(box)});
        Command(ID_WRITE_TO_DISPLAY);
        EXPECT_EQ(driver.Acted(), 1u);
    }
    EXPECT_EQ(box.caption, "Write to Display");
    unsigned long sent = 0, total = 0;
    char reason[256] = {};
    ASSERT_EQ(std::sscanf(box.text.c_str(), "Writing to COM2 failed after %lu of %lu bytes: %255[^\n]", &sent, &total,
                          reason),
              3)
        << box.text;
    EXPECT_EQ(total, 130u);
    EXPECT_GE(sent, 40u) << "the far end took 40 bytes before it closed";
    EXPECT_LT(sent, 130u);
    const std::string why = reason;
    ASSERT_GE(why.size(), 2u);
    EXPECT_EQ(why.back(), '.');
    EXPECT_NE(why[why.size() - 2], '.');
    EXPECT_EQ(box.text, "Writing to COM2 failed after " + std::to_string(sent) + " of 130 bytes: " + why + kNotHeld);
    EXPECT_EQ(StatusPart(kLinkPart), "COM2: start screen not stored");
    EXPECT_FALSE(frame_->MirrorDisabled());
}

TEST_F(FrameTest, WriteToDisplaySendsTheStoreAndSaysWhereItWasStored) {
    Start();
    Command(ID_SIZE_2X16);
    for (size_t i = 0; i < 32; ++i) Doc().cells[i] = static_cast<uint8_t>(0x41 + i);
    Sent();
    Command(ID_WRITE_TO_DISPLAY);  // a message box would be ended by the guard and fail the test
    EXPECT_EQ(Sent(), ExpectedStore(Doc()));
    EXPECT_EQ(ExpectedStore(Doc()).size(), 122u);
    EXPECT_EQ(StatusPart(kLinkPart), "COM3: start screen stored");
    EXPECT_EQ(StatusPart(0), "Ready");
}

// ---- dragging ----

void MouseAt(POINT screen, DWORD buttons) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    const int width = GetSystemMetrics(SM_CXSCREEN) - 1;
    const int height = GetSystemMetrics(SM_CYSCREEN) - 1;
    input.mi.dx = screen.x * 65535 / width;
    input.mi.dy = screen.y * 65535 / height;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
    SendInput(1, &input, sizeof input);
}

TEST_F(FrameTest, ADragReleasedOutsideTheWindowEndsAsOffThePanelAndMirrorsOnce) {
    Start();
    SetForegroundWindow(Frame());
    Doc().cells[3] = 'Q';
    Doc().cells[4] = 'R';
    InvalidateRect(Preview(), nullptr, FALSE);
    Pump();
    Sent();

    POINT cell{3 * 17 + 8, 13};
    ClientToScreen(Preview(), &cell);
    RECT window{};
    GetWindowRect(Frame(), &window);
    const POINT outside{window.right + 60, window.bottom + 60};
    MouseAt(cell, 0);
    Pump();
    MouseAt(cell, MOUSEEVENTF_LEFTDOWN);
    Pump();
    ASSERT_EQ(frame_->View().State().dragging, 1) << "the press reached the preview";
    MouseAt(outside, 0);
    Pump();
    MouseAt(outside, MOUSEEVENTF_LEFTUP);
    Pump();

    EXPECT_EQ(frame_->View().State().dragging, 0);
    EXPECT_EQ(Doc().cells[3], ' ') << "dragged off the panel, the character is gone";
    EXPECT_EQ(Doc().cells[4], 'R');
    EXPECT_NE(GetCapture(), Preview());
    EXPECT_EQ(Sent(), ExpectedMirror(Doc())) << "one mirror";
}

TEST_F(FrameTest, ADragWhoseCaptureAnotherWindowTakesEndsAsOffThePanel) {
    Start();
    Doc().cells[20] = 'Z';
    Sent();
    SendMessageA(Preview(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 26 + 13));
    ASSERT_EQ(GetCapture(), Preview());
    SetCapture(Frame());
    Pump();
    EXPECT_EQ(frame_->View().State().dragging, 0);
    EXPECT_EQ(Doc().cells[20], ' ');
    EXPECT_EQ(Sent(), ExpectedMirror(Doc()));
    ReleaseCapture();
    // A release that comes after the drag has ended drops nothing.
    SendMessageA(Preview(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(8, 13));
    SendMessageA(Preview(), WM_LBUTTONUP, 0, MAKELPARAM(8, 13));
    Pump();
    EXPECT_EQ(Doc().cells[0], ' ');
    EXPECT_EQ(Doc().cells[20], ' ');
}

// ---- the cursor after a size change ----

TEST_F(FrameTest, ShrinkingTheScreenDrawsTheCursorInsideTheGridBeforeAnythingIsTyped) {
    Start();
    Command(ID_SIZE_4X20);
    SendMessageA(Preview(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5 * 17 + 8, 3 * 26 + 13));
    SendMessageA(Preview(), WM_LBUTTONUP, 0, MAKELPARAM(5 * 17 + 8, 3 * 26 + 13));
    Pump();
    Command(ID_SIZE_2X20);

    // A corner pixel of each box that no glyph dot reaches: cursor blue in exactly one box.
    const Picture picture(Preview());
    std::vector<std::string> cursorBoxes;
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 20; ++column) {
            if (picture.At(column * 17 + 14, row * 26 + 23) == kCursor) {
                cursorBoxes.push_back("cell " + std::to_string(column) + "," + std::to_string(row));
            }
        }
    }
    for (int slot = 0; slot < 8; ++slot) {
        if (picture.At(50 + 30 * slot + 14, 2 * 26 + 8 + 23) == kCursor) {
            cursorBoxes.push_back("slot " + std::to_string(slot));
        }
    }
    EXPECT_EQ(cursorBoxes, std::vector<std::string>{"cell 5,1"});
}

}  // namespace
