#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Acts on the dialogs and message boxes that this thread opens while the driver lives, one
// action each time a dialog comes up for input, in the order they appear. Whatever is still open when the time limit
// runs out is ended with Cancel, so that no test can wait forever.
class DialogDriver {
public:
    using Action = std::function<void(HWND dialog)>;

    explicit DialogDriver(std::vector<Action> actions, DWORD limitMs = 20000);
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    size_t Acted() const { return next_; }
    bool TimedOut() const { return timedOut_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void OnTick();

    std::vector<Action> actions_;
    std::vector<HWND> seen_;
    size_t next_ = 0;
    DWORD start_;
    DWORD limitMs_;
    bool timedOut_ = false;
    UINT_PTR timer_ = 0;
    DialogDriver* outer_ = nullptr;
};

// Clicks a button as the user would: after the dialog has handled what is already queued.
DialogDriver::Action Press(int id);
std::string WindowText(HWND window);
// The file dialogs' name field, whichever control the platform uses for it.
HWND FileNameField(HWND dialog);
// Types the name into a file dialog and confirms it.
DialogDriver::Action EnterFileName(std::string name);
// The text of a message box.
std::string MessageBoxText(HWND box);
