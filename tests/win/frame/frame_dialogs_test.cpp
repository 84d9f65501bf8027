#include <windows.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>

#include "toolkit/app_module.h"
#include "dialog_driver.h"
#include "frame/about_dialog.h"
#include "toolkit/center_on_owner.h"
#include "frame/port_dialog.h"
#include "frame/screen_file_dialog.h"
#include "resources/resource_ids.h"

namespace {

RECT WorkArea() {
    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

RECT Bounds(HWND window) {
    RECT box{};
    GetWindowRect(window, &box);
    return box;
}

class WindowHandle {
public:
    explicit WindowHandle(HWND window) : window_(window) {}
    ~WindowHandle() { DestroyWindow(window_); }
    WindowHandle(const WindowHandle&) = delete;
    WindowHandle& operator=(const WindowHandle&) = delete;
    HWND get() const { return window_; }

private:
    HWND window_;
};

HWND MakeOwner(int x, int y, int width, int height) {
    const HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPED | WS_CAPTION, x, y, width, height,
                                       nullptr, nullptr, nullptr, nullptr);
    ShowWindow(owner, SW_SHOWNOACTIVATE);
    return owner;
}

HWND MakePopup(HWND owner, int width, int height) {
    return CreateWindowExA(0, "STATIC", "dialog", WS_POPUP, 3, 5, width, height, owner, nullptr, nullptr, nullptr);
}

// ---- CenterOnOwner ----

TEST(CenterOnOwnerTest, ADialogOpensOnTheCentreOfItsOwner) {
    WindowHandle owner(MakeOwner(300, 200, 400, 301));
    WindowHandle dialog(MakePopup(owner.get(), 101, 51));
    CenterOnOwner(dialog.get());  // the owner comes from the dialog itself
    const RECT box = Bounds(dialog.get());
    EXPECT_EQ(box.left, (300 + 700) / 2 - 101 / 2);
    EXPECT_EQ(box.top, (200 + 501) / 2 - 51 / 2);
    EXPECT_EQ(box.right - box.left, 101);
    EXPECT_EQ(box.bottom - box.top, 51);
}

TEST(CenterOnOwnerTest, NearEachScreenEdgeTheDialogStaysInsideTheWorkArea) {
    const RECT area = WorkArea();
    const int w = 240;
    const int h = 120;
    struct Case {
        int x, y;
    };
    const int midX = (area.left + area.right) / 2 - 100;
    const int midY = (area.top + area.bottom) / 2 - 50;
    const Case cases[] = {
        {static_cast<int>(area.left) - 150, midY},  // left edge
        {static_cast<int>(area.right) - 50, midY},  // right edge
        {midX, static_cast<int>(area.top) - 90},    // top edge
        {midX, static_cast<int>(area.bottom) - 20}, // bottom edge
        {static_cast<int>(area.right) - 60, static_cast<int>(area.bottom) - 30},
    };
    for (const Case& c : cases) {
        WindowHandle owner(MakeOwner(c.x, c.y, 200, 100));
        WindowHandle dialog(MakePopup(owner.get(), w, h));
        CenterOnOwner(dialog.get(), owner.get());
        const RECT ownerBox = Bounds(owner.get());
        const LONG wantX = (ownerBox.left + ownerBox.right) / 2 - w / 2;
        const LONG wantY = (ownerBox.top + ownerBox.bottom) / 2 - h / 2;
        const RECT box = Bounds(dialog.get());
        SCOPED_TRACE(testing::Message() << "owner at " << c.x << "," << c.y);
        EXPECT_GE(box.left, area.left);
        EXPECT_GE(box.top, area.top);
        EXPECT_LE(box.right, area.right);
        EXPECT_LE(box.bottom, area.bottom);
        if (wantX < area.left) {
            EXPECT_EQ(box.left, area.left);
        } else if (wantX + w > area.right) {
            EXPECT_EQ(box.left, area.right - w);
        } else {
            EXPECT_EQ(box.left, wantX);
        }
        if (wantY < area.top) {
            EXPECT_EQ(box.top, area.top);
        } else if (wantY + h > area.bottom) {
            EXPECT_EQ(box.top, area.bottom - h);
        } else {
            EXPECT_EQ(box.top, wantY);
        }
    }
}

TEST(CenterOnOwnerTest, AHiddenOrMinimisedOwnerGivesTheMiddleOfTheWorkArea) {
    const RECT area = WorkArea();
    const LONG midX = (area.left + area.right) / 2 - 120 / 2;
    const LONG midY = (area.top + area.bottom) / 2 - 60 / 2;
    for (const int show : {SW_HIDE, SW_MINIMIZE}) {
        WindowHandle owner(MakeOwner(10, 10, 200, 100));
        ShowWindow(owner.get(), show);
        WindowHandle dialog(MakePopup(owner.get(), 120, 60));
        CenterOnOwner(dialog.get(), owner.get());
        const RECT box = Bounds(dialog.get());
        EXPECT_EQ(box.left, midX) << "show " << show;
        EXPECT_EQ(box.top, midY) << "show " << show;
    }
}

// ---- port dialog ----

struct PortView {
    std::string caption;
    LONG style = 0;
    LONG_PTR selected = -2;
    std::string entries;
    RECT ok{}, cancel{};
};

DialogDriver::Action Inspect(PortView& view) {
    return [&view](HWND dialog) {
        view.caption = WindowText(dialog);
        view.style = GetWindowLongA(dialog, GWL_STYLE);
        const HWND list = GetDlgItem(dialog, IDC_PORT_LIST);
        view.selected = SendMessageA(list, CB_GETCURSEL, 0, 0);
        const LRESULT count = SendMessageA(list, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            char entry[32] = {};
            SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry));
            view.entries += entry;
            view.entries += ' ';
        }
        GetWindowRect(GetDlgItem(dialog, IDOK), &view.ok);
        GetWindowRect(GetDlgItem(dialog, IDCANCEL), &view.cancel);
    };
}

DialogDriver::Action Then(DialogDriver::Action first, DialogDriver::Action second) {
    return [first, second](HWND dialog) {
        first(dialog);
        second(dialog);
    };
}

DialogDriver::Action Select(int index) {
    return [index](HWND dialog) { SendDlgItemMessageA(dialog, IDC_PORT_LIST, CB_SETCURSEL, index, 0); };
}

TEST(PortDialogTest, OffersCom1ToCom9WithTheCurrentPortSelectedAndCancelLeftOfOk) {
    PortView view;
    PortDialog dialog;
    dialog.portNumber = 3;
    DialogDriver driver({Then(Inspect(view), Press(IDCANCEL))});
    EXPECT_EQ(dialog.Run(nullptr), IDCANCEL);
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_EQ(dialog.portNumber, 3);
    EXPECT_EQ(view.caption, "Choose serial port.");
    EXPECT_EQ(view.style & WS_SYSMENU, 0);
    EXPECT_NE(view.style & WS_CAPTION, 0);
    EXPECT_EQ(view.entries, "Com1 Com2 Com3 Com4 Com5 Com6 Com7 Com8 Com9 ");
    EXPECT_EQ(view.selected, 2);
    EXPECT_LT(view.cancel.right, view.ok.left);
    EXPECT_EQ(view.cancel.top, view.ok.top);
}

TEST(PortDialogTest, OkTakesTheChosenPort) {
    PortDialog dialog;
    dialog.portNumber = 3;
    DialogDriver driver({Then(Select(6), Press(IDOK))});
    EXPECT_EQ(dialog.Run(nullptr), IDOK);
    EXPECT_EQ(dialog.portNumber, 7);
}

TEST(PortDialogTest, APortOutsideOneToNineSelectsNothingAndOkKeepsIt) {
    for (const int port : {12, 0, -1, 10}) {
        PortView view;
        PortDialog dialog;
        dialog.portNumber = port;
        DialogDriver driver({Then(Inspect(view), Press(IDOK))});
        EXPECT_EQ(dialog.Run(nullptr), IDOK);
        EXPECT_EQ(view.selected, CB_ERR) << port;
        EXPECT_EQ(dialog.portNumber, port);
    }
}

TEST(PortDialogTest, EscapeCancels) {
    PortDialog dialog;
    dialog.portNumber = 4;
    DialogDriver driver({Then(Select(0), [](HWND dialog) {
        PostMessageA(GetDlgItem(dialog, IDOK), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    })});
    EXPECT_EQ(dialog.Run(nullptr), IDCANCEL);
    EXPECT_EQ(dialog.portNumber, 4);
}

// ---- About box ----

TEST(AboutDialogTest, OpensWithItsCaptionAndTextAndClosesWithOk) {
    std::string caption;
    std::string text;
    LONG style = 0;
    HWND owner = nullptr;
    LRESULT icon = 0;
    WindowHandle frame(MakeOwner(100, 100, 351, 180));
    AboutDialog about;
    DialogDriver driver({Then(
        [&](HWND dialog) {
            caption = WindowText(dialog);
            style = GetWindowLongA(dialog, GWL_STYLE);
            owner = GetWindow(dialog, GW_OWNER);
            for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
                char kind[16] = {};
                GetClassNameA(child, kind, sizeof kind);
                if (lstrcmpiA(kind, "Static") != 0) continue;
                const LONG type = GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK;
                if (type == SS_CENTER) text = WindowText(child);
                if (type == SS_ICON) icon = SendMessageA(child, STM_GETICON, 0, 0);
            }
        },
        Press(IDOK))});
    EXPECT_EQ(about.Run(frame.get()), IDOK);
    EXPECT_EQ(caption, "About");
    EXPECT_NE(style & WS_SYSMENU, 0);
    EXPECT_EQ(owner, frame.get());
    EXPECT_NE(icon, 0);
    EXPECT_EQ(text.rfind("Brevant v1.0\n\n", 0), 0u) << text;
    EXPECT_GT(text.size(), std::strlen("Brevant v1.0\n\n"));
}

TEST(AboutDialogTest, TheCloseBoxCancels) {
    AboutDialog about;
    DialogDriver driver({[](HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }});
    EXPECT_EQ(about.Run(nullptr), IDCANCEL);
}

// ---- file dialog request ----

struct Captured {
    static inline OPENFILENAMEA request;
    static inline std::string filter, defaultExtension, fileAtStart;
    static inline int opens, saves;
    static inline const char* answer;

    static BOOL Take(LPOPENFILENAMEA r) {
        request = *r;
        filter.assign(r->lpstrFilter, r->lpstrFilter + sizeof kScreenFileFilter);
        defaultExtension = r->lpstrDefExt != nullptr ? r->lpstrDefExt : "(null)";
        fileAtStart = r->lpstrFile;
        if (answer == nullptr) return FALSE;
        lstrcpynA(r->lpstrFile, answer, static_cast<int>(r->nMaxFile));
        return TRUE;
    }
    static BOOL WINAPI Open(LPOPENFILENAMEA r) {
        ++opens;
        return Take(r);
    }
    static BOOL WINAPI Save(LPOPENFILENAMEA r) {
        ++saves;
        return Take(r);
    }
};

TEST(ScreenFileDialogTest, TheRequestCarriesOneFilterTheExtensionTheFlagsAndEmptyBuffers) {
    static const FileDialogApi api{Captured::Open, Captured::Save};
    const HWND owner = reinterpret_cast<HWND>(0x1234);
    for (const auto mode : {ScreenFileDialog::Mode::Open, ScreenFileDialog::Mode::Save}) {
        Captured::opens = Captured::saves = 0;
        Captured::answer = nullptr;
        ScreenFileDialog dialog(mode, api);
        EXPECT_EQ(dialog.Run(owner), nullptr);
        EXPECT_EQ(Captured::opens, mode == ScreenFileDialog::Mode::Open ? 1 : 0);
        EXPECT_EQ(Captured::saves, mode == ScreenFileDialog::Mode::Save ? 1 : 0);

        const OPENFILENAMEA& r = Captured::request;
        EXPECT_EQ(r.lStructSize, offsetof(OPENFILENAMEA, lpTemplateName) + sizeof r.lpTemplateName);
        if constexpr (sizeof(void*) == 4) {
            EXPECT_EQ(r.lStructSize, 76u);
        }
        EXPECT_EQ(r.hwndOwner, owner);
        EXPECT_EQ(Captured::filter, std::string("Korvane Start Screens (*.kss)\0*.kss\0", 37));
        EXPECT_EQ(r.nFilterIndex, 1u);
        EXPECT_EQ(r.lpstrCustomFilter, nullptr);
        EXPECT_EQ(Captured::defaultExtension, "kss");
        EXPECT_EQ(Captured::fileAtStart, "");
        EXPECT_EQ(r.nMaxFile, 260u);
        EXPECT_NE(r.lpstrFileTitle, nullptr);
        EXPECT_EQ(r.nMaxFileTitle, 256u);
        EXPECT_EQ(r.lpstrInitialDir, nullptr);
        EXPECT_EQ(r.lpstrTitle, nullptr);
        EXPECT_EQ(r.Flags, DWORD{OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_ENABLESIZING});
        EXPECT_EQ(r.Flags & (OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST), 0u);
    }
}

TEST(ScreenFileDialogTest, AConfirmedPathComesBackAndEachUseStartsEmpty) {
    static const FileDialogApi api{Captured::Open, Captured::Save};
    ScreenFileDialog dialog(ScreenFileDialog::Mode::Save, api);
    Captured::answer = "C:\\screens\\first.kss";
    ASSERT_NE(dialog.Run(nullptr), nullptr);
    EXPECT_STREQ(dialog.Run(nullptr), "C:\\screens\\first.kss");
    EXPECT_EQ(Captured::fileAtStart, "");
}

// The platform's own dialog: a name typed without an extension gets the default one.
TEST(ScreenFileDialogTest, LogoTypedInTheRealSaveDialogComesBackAsLogoKss) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "brevant-save-dialog";
    CreateDirectoryA(folder.c_str(), nullptr);
    SetCurrentDirectoryA(folder.c_str());
    DeleteFileA("logo.kss");

    ScreenFileDialog dialog(ScreenFileDialog::Mode::Save);
    std::string fieldAtStart = "(not seen)";
    DialogDriver driver({Then([&](HWND d) { fieldAtStart = WindowText(FileNameField(d)); }, EnterFileName("logo"))});
    const char* path = dialog.Run(nullptr);
    EXPECT_FALSE(driver.TimedOut());
    ASSERT_NE(path, nullptr);
    const std::string chosen = path;
    EXPECT_EQ(fieldAtStart, "");
    ASSERT_GE(chosen.size(), 9u);
    EXPECT_EQ(chosen.substr(chosen.size() - 9), "\\logo.kss") << chosen;
}

TEST(ScreenFileDialogTest, TheRealOpenDialogCancelledGivesNoPath) {
    ScreenFileDialog dialog(ScreenFileDialog::Mode::Open);
    DialogDriver driver({Press(IDCANCEL)});
    EXPECT_EQ(dialog.Run(nullptr), nullptr);
    EXPECT_EQ(driver.Acted(), 1u);
    EXPECT_FALSE(driver.TimedOut());
}

}  // namespace
