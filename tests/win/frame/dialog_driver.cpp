#include "dialog_driver.h"

#include <algorithm>
#include <utility>

namespace {

thread_local DialogDriver* activeDriver = nullptr;

constexpr int kFileNameEdit = 0x480;   // edt1
constexpr int kFileNameCombo = 0x47C;  // cmb13
constexpr int kMessageBoxText = 0xFFFF;

bool IsDialog(HWND window) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    return std::string(name) == "#32770" && IsWindowVisible(window);
}

BOOL CALLBACK CollectDialog(HWND window, LPARAM list) {
    if (IsDialog(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::vector<HWND> ThreadDialogs() {
    std::vector<HWND> found;
    EnumThreadWindows(GetCurrentThreadId(), CollectDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

DialogDriver::DialogDriver(std::vector<Action> actions, DWORD limitMs)
    : actions_(std::move(actions)), start_(GetTickCount()), limitMs_(limitMs), outer_(activeDriver) {
    activeDriver = this;
    timer_ = SetTimer(nullptr, 0, 50, Tick);
}

DialogDriver::~DialogDriver() {
    KillTimer(nullptr, timer_);
    activeDriver = outer_;
}

void CALLBACK DialogDriver::Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (activeDriver != nullptr) activeDriver->OnTick();
}

void DialogDriver::OnTick() {
    const std::vector<HWND> dialogs = ThreadDialogs();
    if (GetTickCount() - start_ > limitMs_) {
        timedOut_ = true;
        for (HWND dialog : dialogs) EndDialog(dialog, IDCANCEL);
        return;
    }
    // Only the dialog on top takes input; one that waits disabled under another comes up anew
    // when that one has gone.
    seen_.erase(std::remove_if(seen_.begin(), seen_.end(), [](HWND d) { return !IsWindowEnabled(d); }), seen_.end());
    for (HWND dialog : dialogs) {
        if (!IsWindowEnabled(dialog) || std::find(seen_.begin(), seen_.end(), dialog) != seen_.end()) continue;
        seen_.push_back(dialog);
        if (next_ < actions_.size()) actions_[next_++](dialog);
        return;
    }
}

DialogDriver::Action Press(int id) {
    return [id](HWND dialog) {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    };
}

std::string WindowText(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

HWND FileNameField(HWND dialog) {
    const HWND combo = GetDlgItem(dialog, kFileNameCombo);
    if (combo != nullptr && IsWindowVisible(combo)) return combo;
    return GetDlgItem(dialog, kFileNameEdit);
}

DialogDriver::Action EnterFileName(std::string name) {
    return [name](HWND dialog) {
        SetWindowTextA(FileNameField(dialog), name.c_str());
        Press(IDOK)(dialog);
    };
}

std::string MessageBoxText(HWND box) {
    char text[1024] = {};
    GetDlgItemTextA(box, kMessageBoxText, text, sizeof text);
    return text;
}
