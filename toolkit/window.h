#pragma once
#include <windows.h>

// A window class registered once, when its first window is about to be created.
class WindowClass {
public:
    WindowClass(const char* name, UINT style, LPCSTR cursor, HBRUSH background)
        : name_(name), style_(style), cursor_(cursor), background_(background) {}

    void SetIcons(HICON large, HICON small) {
        iconLarge_ = large;
        iconSmall_ = small;
    }
    ATOM Register();
    const char* Name() const { return name_; }
    int Registrations() const { return registrations_; }

private:
    const char* name_;
    UINT style_;
    LPCSTR cursor_;
    HBRUSH background_;
    HICON iconLarge_ = nullptr;
    HICON iconSmall_ = nullptr;
    ATOM atom_ = 0;
    int registrations_ = 0;
};

// A window bound to its object at its first message; the object's HandleMessage sees every
// message from then on, and passes what it does not handle to DefaultProcessing.
class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return hwnd_; }

protected:
    virtual ~Window() = default;

    HWND CreateBound(WindowClass& windowClass, DWORD exStyle, const char* title, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu);
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultProcessing(UINT message, WPARAM wParam, LPARAM lParam);

private:
    friend LRESULT CALLBACK BoundWindowProc(HWND, UINT, WPARAM, LPARAM);
    HWND hwnd_ = nullptr;
};

// A modal dialog bound to its object at its first message.
class Dialog {
public:
    Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // The dialog's result, or -1 when it could not be shown.
    INT_PTR RunModal(int templateId, HWND owner);
    HWND Handle() const { return hwnd_; }

protected:
    virtual ~Dialog() = default;

    // FALSE hands the message to the default dialog processing.
    virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    friend INT_PTR CALLBACK BoundDialogProc(HWND, UINT, WPARAM, LPARAM);
    HWND hwnd_ = nullptr;
};
