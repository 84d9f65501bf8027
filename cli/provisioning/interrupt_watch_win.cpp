#include <windows.h>

#include <atomic>

#include "cli/provisioning/interrupt_watch.h"

namespace {

std::atomic<StopFlag*> watched{nullptr};

// The system calls this on a thread of its own.
BOOL WINAPI OnConsoleControl(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) return FALSE;
    StopFlag* flag = watched.load();
    if (flag == nullptr) return FALSE;
    flag->Raise();
    return TRUE;
}

}  // namespace

struct InterruptWatch::State {};

InterruptWatch::InterruptWatch(StopFlag& flag)  {
    watched = &flag;
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

InterruptWatch::~InterruptWatch() {
    SetConsoleCtrlHandler(OnConsoleControl, FALSE);
    watched = nullptr;
}
