#include <gtest/gtest.h>

#include "view_harness.h"

Picture::Picture(HWND window, UINT message) {
    RECT client{};
    GetClientRect(window, &client);
    width_ = client.right;
    height_ = client.bottom;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width_, -height_, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    previous_ = SelectObject(dc_, bitmap_);
    HBRUSH marker = CreateSolidBrush(kMarker);
    FillRect(dc_, &client, marker);
    DeleteObject(marker);
    result_ = SendMessageA(window, message, reinterpret_cast<WPARAM>(dc_), PRF_CLIENT);
}

Picture::~Picture() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

::testing::AssertionResult ShowsDesign(const Picture& picture, int x, int y, const Design& design, COLORREF box) {
    for (int dy = 0; dy < 24; ++dy) {
        for (int dx = 0; dx < 15; ++dx) {
            const bool onDot = dx % 3 < 2 && dy % 3 < 2 && DotLit(design, dx / 3, dy / 3);
            const COLORREF expected = onDot ? kWhite : box;
            const COLORREF actual = picture.At(x + dx, y + dy);
            if (actual != expected)
                return ::testing::AssertionFailure() << "pixel (" << x + dx << ", " << y + dy << ") is 0x" << std::hex
                                                     << actual << ", expected 0x" << expected;
        }
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult AllOf(const Picture& picture, RECT area, COLORREF colour) {
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (picture.At(x, y) != colour)
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is 0x" << std::hex
                                                     << picture.At(x, y) << ", expected 0x" << colour;
    return ::testing::AssertionSuccess();
}

LRESULT CALLBACK ViewHarness::ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER) {
        if (auto* harness = reinterpret_cast<ViewHarness*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)))
            ++harness->notifications_;
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

namespace {

// One parent for every harness: hiding a top-level window costs seconds under Wine without a
// window manager, so it is made once, shown and activated, and left to the process's end.
HWND SharedParent(WNDPROC procedure) {
    static const HWND parent = [procedure] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = procedure;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ViewTestParent";
        RegisterClassA(&wc);
        const HWND window = CreateWindowExA(0, wc.lpszClassName, "Parent", WS_POPUP | WS_VISIBLE, 100, 80, 420, 260,
                                            nullptr, nullptr, wc.hInstance, nullptr);
        SetForegroundWindow(window);
        return window;
    }();
    return parent;
}

}  // namespace

ViewHarness::ViewHarness(uint16_t sizeCode) : parent_(SharedParent(ParentProc)) {
    SetWindowLongPtrA(parent_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    view.Create(parent_);
    MoveWindow(View(), 0, 0, 400, 180, FALSE);
    ApplySize(sizeCode);
    SetActiveWindow(parent_);
    SetFocus(View());
}

ViewHarness::~ViewHarness() {
    DestroyWindow(View());
    SetWindowLongPtrA(parent_, GWLP_USERDATA, 0);
}

void ViewHarness::Type(const char* text) {
    for (; *text != '\0'; ++text) Char(static_cast<uint8_t>(*text));
}

void ViewHarness::ClickCell(int column, int row) {
    Down(17 * column + 7, 26 * row + 12);
    Up(17 * column + 7, 26 * row + 12);
}

int ViewHarness::Flush() {
    const int before = notifications_;
    Picture discard(View());
    return notifications_ - before;
}

namespace {

std::function<void(HWND)> gEditorAction;
HWND gEditorSeen = nullptr;

BOOL CALLBACK FindEditor(HWND window, LPARAM found) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

void CALLBACK DriveEditor(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindEditor, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr) return;  // not up yet
    KillTimer(nullptr, timer);
    gEditorSeen = dialog;
    gEditorAction(dialog);
}

}  // namespace

HWND WithEditor(const std::function<void()>& open, const std::function<void(HWND)>& action) {
    gEditorAction = action;
    gEditorSeen = nullptr;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, DriveEditor);
    open();
    KillTimer(nullptr, timer);
    return gEditorSeen;
}

COLORREF SquareColour(HWND dialog, int controlId) {
    const HWND square = GetDlgItem(dialog, controlId);
    const Picture picture(square);
    return picture.At(picture.Width() / 2, picture.Height() / 2);
}
