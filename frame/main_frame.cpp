#include "frame/main_frame.h"

#include <commctrl.h>

#include <cstring>

#include "toolkit/app_module.h"
#include "document/display_size.h"
#include "frame/frame_size.h"
#include "frame/start_screen_io.h"
#include "frame/about_dialog.h"
#include "frame/link_status.h"
#include "frame/link_settings_registry.h"
#include "frame/port_dialog.h"
#include "frame/screen_file_dialog.h"
#include "frame/status_parts.h"
#include "link/serial_channel.h"
#include "resources/resource_ids.h"

namespace {

// Replaces the title loaded from the resources once the window exists: the module's own users know
// the editor by this name, the resources keep the product's.
constexpr char kFrameCaption[] = "Boot loader,";
constexpr UINT kFirstSystemCommand = 0xF000;
constexpr UINT kLastSystemCommand = 0xF1EF;
constexpr UINT kFirstSystemPrompt = 0xEF00;
constexpr WPARAM kStatusSimplePart = 255;

HICON LoadFrameIcon(int size) {
    return static_cast<HICON>(LoadImageA(gAppModule.Instance(), MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, size,
                                         size, LR_DEFAULTCOLOR));
}

bool HasVisibleStyle(HWND window) {
    return window != nullptr && (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

// System commands share their prompts in blocks of sixteen.
UINT PromptId(UINT command) {
    if (command >= kFirstSystemCommand && command <= kLastSystemCommand) {
        return kFirstSystemPrompt + (command - kFirstSystemCommand) / 16;
    }
    return command;
}

}  // namespace

HWND MainFrame::Create() {
    static WindowClass frameClass("Brevant:MainFrame", 0, IDC_ARROW, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    static const HICON largeIcon = LoadFrameIcon(32);
    static const HICON smallIcon = LoadFrameIcon(16);
    frameClass.SetIcons(largeIcon, smallIcon);

    const HINSTANCE instance = gAppModule.Instance();
    char caption[256] = {};
    LoadStringA(instance, IDR_MAINFRAME, caption, sizeof caption);
    const HMENU menu = LoadMenuA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME));
    const HWND hwnd = CreateBound(frameClass, 0, caption, WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, nullptr, menu);
    if (hwnd == nullptr) {
        DestroyMenu(menu);
        return nullptr;
    }
    accelerators_ = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME));
    return hwnd;
}

void MainFrame::OpenNamedFile(const char* path) {
    if (AssignFileName(doc_, path, *this)) LoadStartScreen(doc_, *this);
    ShowStatus();
}

// Accelerators without a handler still claim their keys, so those keys never type into the screen.
bool MainFrame::FilterMessage(MSG& message) {
    return accelerators_ != nullptr && Handle() != nullptr &&
           TranslateAcceleratorA(Handle(), accelerators_, &message) != 0;
}

bool MainFrame::HandleIdle() { return false; }

void MainFrame::ResizeForGeometry() {
    SetWindowPos(Handle(), nullptr, 0, 0, FrameWidthFor(doc_.columns), FrameHeightFor(doc_.rows),
                 SWP_NOMOVE | SWP_NOOWNERZORDER);
    view_.ClampCursor();
    if (view_.Handle() != nullptr) InvalidateRect(view_.Handle(), nullptr, TRUE);
}

void MainFrame::RedrawFrame() {
    if (Handle() != nullptr) InvalidateRect(Handle(), nullptr, TRUE);
}

void MainFrame::MirrorScreen() {
    SerialChannel channel(comm_);
    DescribeMirror(protocol_.MirrorScreen(doc_, settings_, channel), settings_, linkText_);
    ShowStatus();
}

void MainFrame::ShowMessage(const char* text, const char* caption) { MessageBoxA(Handle(), text, caption, MB_OK); }

LRESULT MainFrame::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate();
        case WM_DESTROY:
            OnDestroy();
            break;
        case WM_CHAR:
            return OnChar(wParam, lParam);
        case kMirrorRequest:
            MirrorScreen();
            return 0;
        case WM_COMMAND:
            if (!OnCommand(LOWORD(wParam))) break;
            ShowStatus();
            return 0;
        case WM_INITMENUPOPUP:
            OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
            break;
        case WM_SIZE:
            OnSize(wParam);
            break;
        case WM_SETFOCUS:
            OnSetFocus();
            break;
        case WM_ERASEBKGND:
            return OnEraseBackground(wParam, lParam);
        case WM_MENUSELECT:
            OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
            break;
        default:
            break;
    }
    return DefaultProcessing(message, wParam, lParam);
}

LRESULT MainFrame::OnCreate() {
    protocol_.mirrorDisabled = false;
    settings_ = LoadLinkSettings();
    doc_.fileName[0] = '\0';
    SetWindowPos(Handle(), nullptr, 0, 0, FrameWidthFor(20), FrameHeightFor(2), SWP_NOMOVE | SWP_NOOWNERZORDER);

    char ready[128] = {};
    LoadStringA(gAppModule.Instance(), IDS_READY, ready, sizeof ready);
    statusBar_ = CreateStatusWindowA(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | SBARS_SIZEGRIP,
                                     ready, Handle(), IDW_STATUS_BAR);
    view_.Create(Handle());
    RegisterWithLoop();
    MirrorScreen();
    SetWindowTextA(Handle(), kFrameCaption);
    SetDisplaySize(doc_, kSize2x20);
    ResizeForGeometry();
    return 0;
}

void MainFrame::RegisterWithLoop() {
    LoopRegistry* registry = gAppModule.loopRegistry;
    MessageLoop* loop = registry != nullptr ? registry->Lookup(GetCurrentThreadId()) : nullptr;
    if (loop == nullptr) return;
    loop->AddFilter(*this);
    loop->AddIdleHandler(*this);
}

// A top-level window: its end is the end of the program's message loop.
void MainFrame::OnDestroy() {
    SaveLinkSettings(settings_);
    statusBar_ = nullptr;
    // 1, not 0: scripts that start the editor read 1 as "the user closed it" and 0 as "another
    // instance took the file".
    PostQuitMessage(1);
}

// Keystrokes that reach the frame while it has the focus belong to the preview.
LRESULT MainFrame::OnChar(WPARAM code, LPARAM keyData) {
    if (view_.Handle() != nullptr) SendMessageA(view_.Handle(), WM_CHAR, code, keyData);
    return 0;
}

bool MainFrame::OnCommand(WORD id) {
    switch (id) {
        case ID_FILE_NEW:
            ClearDocument(doc_);
            RedrawFrame();
            return true;
        case ID_FILE_OPEN:
            Open();
            return true;
        case ID_FILE_SAVE:
            Save();
            return true;
        case ID_FILE_SAVE_AS:
            SaveAs();
            return true;
        case ID_SIZE_2X20:
        case ID_SIZE_2X16:
        case ID_SIZE_4X20:
            SetDisplaySize(doc_, id);
            ResizeForGeometry();
            return true;
        case ID_CONFIGURE_PORT:
            ConfigurePort();
            return true;
        case ID_WRITE_TO_DISPLAY:
            WriteToDisplay();
            return true;
        case ID_APP_EXIT:
            PostMessageA(Handle(), WM_CLOSE, 0, 0);
            return true;
        case ID_APP_ABOUT:
            AboutDialog().Run(GetActiveWindow());
            return true;
        case ID_VIEW_STATUS_BAR:
            ToggleStatusBar();
            return true;
        default:
            return false;
    }
}

void MainFrame::Open() {
    ScreenFileDialog dialog(ScreenFileDialog::Mode::Open);
    if (const char* path = dialog.Run(GetActiveWindow())) OpenNamedFile(path);
}

void MainFrame::Save() {
    if (HasFileName(doc_)) {
        SaveStartScreen(doc_, *this);
    } else {
        SaveAs();
    }
}

void MainFrame::SaveAs() {
    ScreenFileDialog dialog(ScreenFileDialog::Mode::Save);
    const char* path = dialog.Run(GetActiveWindow());
    if (path != nullptr && AssignFileName(doc_, path, *this)) SaveStartScreen(doc_, *this);
}

// Nothing is sent now; the next mirror tries the chosen port.
void MainFrame::ConfigurePort() {
    PortDialog dialog;
    dialog.portNumber = settings_.portNumber;
    if (dialog.Run(GetActiveWindow()) != IDOK) return;
    settings_.portNumber = dialog.portNumber;
    protocol_.EnableMirror();
    DescribeMirrorEnabled(settings_, linkText_);
}

// The user cannot see the module from here: say whether it now holds the start screen.
void MainFrame::WriteToDisplay() {
    SerialChannel channel(comm_);
    SystemSleeper sleeper;
    const TransferResult result = protocol_.StoreScreen(doc_, settings_, channel, sleeper);
    DescribeStore(result, settings_, linkText_);
    ShowStatus();
    char report[kStoreReportCapacity];
    if (StoreFailureReport(result, settings_, channel.FailureReason(), report)) {
        ShowMessage(report, kStoreReportCaption);
    }
}

void MainFrame::ToggleStatusBar() {
    if (statusBar_ == nullptr) return;
    const bool visible = HasVisibleStyle(statusBar_);
    ShowWindow(statusBar_, visible ? SW_HIDE : SW_SHOWNOACTIVATE);
    LayOut();
}

void MainFrame::LayOut() {
    RECT area{};
    GetClientRect(Handle(), &area);
    if (HasVisibleStyle(statusBar_)) {
        SendMessageA(statusBar_, WM_SIZE, 0, 0);
        RECT bar{};
        GetWindowRect(statusBar_, &bar);
        area.bottom -= bar.bottom - bar.top;
    }
    if (view_.Handle() != nullptr) {
        SetWindowPos(view_.Handle(), nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowStatus();
}

void MainFrame::ShowStatus() { ShowStatusParts(statusBar_, NameWithoutFolder(doc_.fileName.data()), linkText_); }

void MainFrame::OnInitMenuPopup(HMENU menu) {
    SetMenuDefaultItem(menu, static_cast<UINT>(-1), FALSE);
    if (statusBar_ == nullptr) return;
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STATE;
    item.fState = HasVisibleStyle(statusBar_) ? MFS_CHECKED : MFS_UNCHECKED;
    SetMenuItemInfoA(menu, ID_VIEW_STATUS_BAR, FALSE, &item);
}

void MainFrame::OnSize(WPARAM kind) {
    if (kind != SIZE_MINIMIZED) LayOut();
}

void MainFrame::OnSetFocus() {
    if (HasVisibleStyle(view_.Handle())) SetFocus(view_.Handle());
}

// The two children cover the client area.
LRESULT MainFrame::OnEraseBackground(WPARAM wParam, LPARAM lParam) {
    if (view_.Handle() != nullptr) return 1;
    return DefaultProcessing(WM_ERASEBKGND, wParam, lParam);
}

void MainFrame::OnMenuSelect(WORD item, WORD flags, HMENU menu) {
    if (statusBar_ == nullptr) return;
    if (flags == 0xFFFF && menu == nullptr) {
        SendMessageA(statusBar_, SB_SIMPLE, FALSE, 0);
        return;
    }
    char prompt[256] = {};
    if ((flags & MF_POPUP) == 0 && LoadStringA(gAppModule.Instance(), PromptId(item), prompt, sizeof prompt) > 0) {
        if (char* newline = std::strchr(prompt, '\n')) *newline = '\0';
    }
    SendMessageA(statusBar_, SB_SIMPLE, TRUE, 0);
    SendMessageA(statusBar_, SB_SETTEXTA, kStatusSimplePart | SBT_NOBORDERS, reinterpret_cast<LPARAM>(prompt));
}
