#include "toolkit/window.h"

#include "toolkit/app_module.h"

LRESULT CALLBACK BoundWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* window = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (window == nullptr) {
        window = static_cast<Window*>(gAppModule.TakeCreationRecord());
        if (window == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
        window->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    }
    const LRESULT result = window->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // The object outlives its window.
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        window->hwnd_ = nullptr;
    }
    return result;
}

INT_PTR CALLBACK BoundDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* dialog = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (dialog == nullptr) {
        dialog = static_cast<Dialog*>(gAppModule.TakeCreationRecord());
        if (dialog == nullptr) return FALSE;
        dialog->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(dialog));
    }
    const INT_PTR result = dialog->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) dialog->hwnd_ = nullptr;
    return result;
}

ATOM WindowClass::Register() {
    if (atom_ != 0) return atom_;
    WindowCreationLock lock(gAppModule.CreationSection());
    if (atom_ != 0) return atom_;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = style_;
    wc.lpfnWndProc = BoundWindowProc;
    wc.hInstance = gAppModule.Instance();
    wc.hCursor = LoadCursorA(nullptr, cursor_);
    wc.hbrBackground = background_;
    wc.hIcon = iconLarge_;
    wc.hIconSm = iconSmall_;
    wc.lpszClassName = name_;
    atom_ = RegisterClassExA(&wc);
    if (atom_ != 0) ++registrations_;
    return atom_;
}

HWND Window::CreateBound(WindowClass& windowClass, DWORD exStyle, const char* title, DWORD style, int x, int y,
                         int width, int height, HWND parent, HMENU menu) {
    if (windowClass.Register() == 0) return nullptr;
    CreationRecord record;
    gAppModule.PushCreationRecord(record, this);
    const HWND hwnd = CreateWindowExA(exStyle, windowClass.Name(), title, style, x, y, width, height, parent, menu,
                                      gAppModule.Instance(), nullptr);
    // A window that never received a message leaves its record behind.
    if (hwnd == nullptr && hwnd_ == nullptr) gAppModule.TakeCreationRecord();
    return hwnd;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultProcessing(message, wParam, lParam);
}

LRESULT Window::DefaultProcessing(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

INT_PTR Dialog::RunModal(int templateId, HWND owner) {
    CreationRecord record;
    gAppModule.PushCreationRecord(record, this);
    const INT_PTR result = DialogBoxParamA(gAppModule.Instance(), MAKEINTRESOURCEA(templateId), owner,
                                           BoundDialogProc, 0);
    if (hwnd_ == nullptr && result == -1) gAppModule.TakeCreationRecord();
    return result;
}

INT_PTR Dialog::HandleMessage(UINT, WPARAM, LPARAM) { return FALSE; }
