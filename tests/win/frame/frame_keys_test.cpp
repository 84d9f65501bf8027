#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "frame_fixture.h"
#include "resources/resource_ids.h"

namespace {

struct Seen {
    UINT message;
    WPARAM wParam;
};

// What the preview and the frame receive, noted by window procedures put in front of theirs.
struct Spy {
    static inline WNDPROC previewProc;
    static inline WNDPROC frameProc;
    static inline std::vector<Seen> preview;
    static inline std::vector<Seen> commands;

    static LRESULT CALLBACK Preview(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_CHAR || message == WM_SYSCHAR || message == WM_KEYDOWN || message == WM_SYSKEYDOWN) {
            preview.push_back({message, wParam});
        }
        return CallWindowProcA(previewProc, window, message, wParam, lParam);
    }
    static LRESULT CALLBACK Frame(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_COMMAND) commands.push_back({message, wParam});
        return CallWindowProcA(frameProc, window, message, wParam, lParam);
    }
};

class FrameKeysTest : public FrameTest {
protected:
    void StartSpied() {
        Start();
        Spy::preview.clear();
        Spy::commands.clear();
        Spy::previewProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(Preview(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Spy::Preview)));
        Spy::frameProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(Frame(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Spy::Frame)));
        SetFocus(Preview());
        Sent();
    }

    // One keystroke through the program's own message loop, with the modifiers held.
    void Press(UINT key, std::vector<UINT> modifiers) {
        BYTE keys[256] = {};
        bool alt = false;
        for (UINT m : modifiers) {
            keys[m] = 0x80;
            alt = alt || m == VK_MENU;
        }
        SetKeyboardState(keys);
        const UINT scan = MapVirtualKeyA(key, 0);
        const LPARAM down = 1 | (scan << 16) | (alt ? 1 << 29 : 0);
        PostMessageA(Preview(), alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, down);
        PostMessageA(Preview(), alt ? WM_SYSKEYUP : WM_KEYUP, key, down | 0xC0000000);
        PostQuitMessage(0);
        loop_.Run();
        BYTE none[256] = {};
        SetKeyboardState(none);
    }
};

// A translated keystroke is consumed: the preview sees neither the key nor a character.
TEST_F(FrameKeysTest, AcceleratorsWithoutAHandlerAreTranslatedAndNothingReachesThePreview) {
    StartSpied();
    struct Case {
        UINT key;
        std::vector<UINT> modifiers;
        WORD command;
    };
    const Case cases[] = {
        {'P', {VK_CONTROL}, ID_FILE_PRINT},      {'Z', {VK_CONTROL}, ID_EDIT_UNDO},
        {'X', {VK_CONTROL}, ID_EDIT_CUT},        {'C', {VK_CONTROL}, ID_EDIT_COPY},
        {'V', {VK_CONTROL}, ID_EDIT_PASTE},      {VK_BACK, {VK_MENU}, ID_EDIT_UNDO},
        {VK_DELETE, {VK_SHIFT}, ID_EDIT_CUT},    {VK_INSERT, {VK_CONTROL}, ID_EDIT_COPY},
        {VK_INSERT, {VK_SHIFT}, ID_EDIT_PASTE},  {VK_F6, {}, ID_NEXT_PANE},
        {VK_F6, {VK_SHIFT}, ID_PREV_PANE},
    };
    const std::vector<uint8_t> cells(Doc().cells.begin(), Doc().cells.end());
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "command " << std::hex << c.command);
        Spy::preview.clear();
        Spy::commands.clear();
        Press(c.key, c.modifiers);
        ASSERT_EQ(Spy::commands.size(), 1u);
        EXPECT_EQ(LOWORD(Spy::commands[0].wParam), c.command);
        EXPECT_EQ(HIWORD(Spy::commands[0].wParam), 1);  // from an accelerator
        EXPECT_TRUE(Spy::preview.empty());
    }
    EXPECT_EQ(std::vector<uint8_t>(Doc().cells.begin(), Doc().cells.end()), cells);
    EXPECT_EQ(Sent(), std::vector<uint8_t>{});
    EXPECT_EQ(Frame() != nullptr, true);
}

TEST_F(FrameKeysTest, CtrlNRunsNewFromAnyWindowOfTheFrame) {
    StartSpied();
    ASSERT_TRUE(AssignFileName(Doc(), "C:\\x.kss"));
    Press('N', {VK_CONTROL});
    EXPECT_EQ(Doc().fileName[0], '\0');
    EXPECT_TRUE(Spy::preview.empty());
}

TEST_F(FrameKeysTest, CtrlWReachesThePreviewAsACharacterAndWritesNothing) {
    StartSpied();
    Press('W', {VK_CONTROL});
    ASSERT_EQ(Spy::preview.size(), 2u);
    EXPECT_EQ(Spy::preview[0].message, UINT{WM_KEYDOWN});
    EXPECT_EQ(Spy::preview[1].message, UINT{WM_CHAR});
    EXPECT_EQ(Spy::preview[1].wParam, WPARAM{0x17});
    EXPECT_TRUE(Spy::commands.empty());
    Pump();
    // At most the mirror of the edited screen: never the store sequence.
    const std::vector<uint8_t> sent = Sent();
    if (!sent.empty()) {
        EXPECT_EQ(sent, ExpectedMirror(Doc()));
    }
}

// ---- menu prompts ----

TEST_F(FrameKeysTest, HighlightingMenuItemsShowsTheirPromptsAndClosingTheMenuBringsReadyBack) {
    Start();
    const HMENU file = GetSubMenu(GetMenu(Frame()), 0);
    const HMENU sizes = GetSubMenu(file, 5);
    ASSERT_NE(sizes, nullptr);
    struct Case {
        WORD item;
        WORD flags;
        HMENU menu;
        const char* prompt;
    };
    const Case cases[] = {
        {ID_SIZE_2X20, MF_HILITE, sizes, ""},
        {ID_FILE_NEW, MF_HILITE, file, "Create a new document"},
        {ID_APP_EXIT, MF_HILITE, file, "Quit the application; prompts to save documents"},
        {ID_WRITE_TO_DISPLAY, MF_HILITE, file, ""},
        {5, MF_POPUP | MF_HILITE, file, ""},
        {SC_CLOSE, MF_HILITE | MF_SYSMENU, GetSystemMenu(Frame(), FALSE),
         "Close the active window and prompts to save the documents"},
        {SC_RESTORE, MF_HILITE | MF_SYSMENU, GetSystemMenu(Frame(), FALSE), "Restore the window to normal size"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        SendMessageA(Frame(), WM_MENUSELECT, MAKEWPARAM(c.item, c.flags), reinterpret_cast<LPARAM>(c.menu));
        EXPECT_TRUE(StatusIsSimple());
        EXPECT_EQ(StatusText(), c.prompt);
    }
    SendMessageA(Frame(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_FALSE(StatusIsSimple());
    EXPECT_EQ(StatusText(), "Ready");
}

TEST_F(FrameKeysTest, OpeningAPopupLeavesTheMenuWithoutCheckMarksOrDefaultItem) {
    Start();
    const HMENU file = GetSubMenu(GetMenu(Frame()), 0);
    SendMessageA(Frame(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
    EXPECT_EQ(GetMenuDefaultItem(file, FALSE, 0), static_cast<UINT>(-1));
    for (int i = 0; i < GetMenuItemCount(file); ++i) {
        if ((GetMenuState(file, i, MF_BYPOSITION) & MF_SEPARATOR) != 0) continue;
        EXPECT_EQ(GetMenuState(file, i, MF_BYPOSITION) & (MF_CHECKED | MF_GRAYED), 0u) << i;
    }
}

// ---- layout and focus ----

TEST_F(FrameKeysTest, TheFrameHandsItsFocusToThePreviewAndLeavesTheBackgroundToItsChildren) {
    Start();
    SetFocus(nullptr);
    SetFocus(Frame());
    EXPECT_EQ(GetFocus(), Preview());
    const HDC dc = GetDC(Frame());
    EXPECT_EQ(SendMessageA(Frame(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
    ReleaseDC(Frame(), dc);
}

RECT ClientRectIn(HWND window, HWND parent) {
    RECT box{};
    GetWindowRect(window, &box);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&box), 2);
    return box;
}

TEST_F(FrameKeysTest, TheToggleHidesAndShowsTheStatusBarAndThePreviewFillsWhatIsLeft) {
    Start();
    const HWND bar = frame_->StatusBar();
    RECT client{};
    GetClientRect(Frame(), &client);

    RECT barBox = ClientRectIn(bar, Frame());
    RECT preview = ClientRectIn(Preview(), Frame());
    EXPECT_TRUE(IsWindowVisible(bar));
    EXPECT_EQ(barBox.bottom, client.bottom);
    EXPECT_EQ(preview.top, 0);
    EXPECT_EQ(preview.bottom, barBox.top);
    EXPECT_EQ(preview.right - preview.left, client.right);

    Command(ID_VIEW_STATUS_BAR);
    preview = ClientRectIn(Preview(), Frame());
    EXPECT_FALSE(IsWindowVisible(bar));
    EXPECT_EQ(preview.top, 0);
    EXPECT_EQ(preview.bottom, client.bottom);
    EXPECT_EQ(preview.right - preview.left, client.right);

    Command(ID_VIEW_STATUS_BAR);
    barBox = ClientRectIn(bar, Frame());
    EXPECT_EQ(GetMenuState(GetSubMenu(GetMenu(Frame()), 0), ID_VIEW_STATUS_BAR, MF_BYCOMMAND), UINT(-1));
    preview = ClientRectIn(Preview(), Frame());
    EXPECT_TRUE(IsWindowVisible(bar));
    EXPECT_EQ(barBox.bottom, client.bottom);
    EXPECT_EQ(preview.bottom, barBox.top);
}

}  // namespace

namespace {

// A modal dialog runs its own loop, which does not ask the frame's filter.
TEST_F(FrameKeysTest, AcceleratorsRestWhileAModalDialogIsOpen) {
    StartSpied();
    ASSERT_TRUE(AssignFileName(Doc(), "C:\\kept.kss"));
    DialogDriver driver({[](HWND dialog) {
        BYTE keys[256] = {};
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
        const HWND list = GetDlgItem(dialog, IDC_PORT_LIST);
        PostMessageA(list, WM_KEYDOWN, 'N', 1 | (MapVirtualKeyA('N', 0) << 16));
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }});
    Command(ID_CONFIGURE_PORT);
    BYTE none[256] = {};
    SetKeyboardState(none);
    EXPECT_EQ(driver.Acted(), 1u);
    EXPECT_STREQ(Doc().fileName.data(), "C:\\kept.kss");
    for (const Seen& s : Spy::commands) EXPECT_NE(LOWORD(s.wParam), ID_FILE_NEW);
}

}  // namespace
