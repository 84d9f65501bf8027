#include "toolkit/message_loop.h"

int MessageLoop::Run() {
    bool idleOn = true;
    for (;;) {
        // One idle pass each time the queue runs empty after a message that rearms it.
        if (idleOn && !PeekMessageA(&currentMessage, nullptr, 0, 0, PM_NOREMOVE)) {
            RunIdleHandlers();
            idleOn = false;
        }
        const BOOL got = GetMessageA(&currentMessage, nullptr, 0, 0);
        if (got == -1) continue;
        if (got == 0) return static_cast<int>(currentMessage.wParam);
        if (!RunFilters(currentMessage)) {
            TranslateMessage(&currentMessage);
            DispatchMessageA(&currentMessage);
        }
        if (RearmsIdle(currentMessage.message)) idleOn = true;
    }
}

bool MessageLoop::RunFilters(MSG& message) {
    for (size_t i = filters_.Size(); i-- > 0;) {
        if (filters_[i] != nullptr && filters_[i]->FilterMessage(message)) return true;
    }
    return false;
}

void MessageLoop::RunIdleHandlers() {
    for (size_t i = 0; i < idleHandlers_.Size(); ++i) {
        if (idleHandlers_[i] != nullptr) idleHandlers_[i]->HandleIdle();
    }
}

// Frequent messages that must not cost an idle pass each.
bool MessageLoop::RearmsIdle(UINT message) {
    constexpr UINT kCaretBlink = 0x0118;
    return message != WM_MOUSEMOVE && message != WM_NCMOUSEMOVE && message != WM_PAINT && message != kCaretBlink;
}

bool LoopRegistry::Register(DWORD threadId, MessageLoop& loop) {
    if (!keys_.AppendExact(threadId)) return false;
    if (!loops_.AppendExact(&loop)) {
        keys_.RemoveAt(keys_.Size() - 1);
        return false;
    }
    return true;
}

bool LoopRegistry::Unregister(DWORD threadId) {
    for (size_t i = 0; i < keys_.Size(); ++i) {
        if (keys_[i] == threadId) {
            keys_.RemoveAt(i);
            loops_.RemoveAt(i);
            return true;
        }
    }
    return false;
}

MessageLoop* LoopRegistry::Lookup(DWORD threadId) const {
    for (size_t i = 0; i < keys_.Size(); ++i) {
        if (keys_[i] == threadId) return loops_[i];
    }
    return nullptr;
}
