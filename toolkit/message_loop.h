#pragma once
#include <windows.h>

#include "toolkit/growable_array.h"

class MessageFilter {
public:
    // True: the message was consumed and is neither translated nor dispatched.
    virtual bool FilterMessage(MSG& message) = 0;

protected:
    ~MessageFilter() = default;
};

class IdleHandler {
public:
    virtual bool HandleIdle() = 0;

protected:
    ~IdleHandler() = default;
};

class MessageLoop {
public:
    bool AddFilter(MessageFilter& filter) { return filters_.Append(&filter); }
    bool AddIdleHandler(IdleHandler& handler) { return idleHandlers_.Append(&handler); }

    // Returns the quit message's wParam.
    int Run();

    MSG currentMessage{};

private:
    bool RunFilters(MSG& message);
    void RunIdleHandlers();
    static bool RearmsIdle(UINT message);

    GrowableArray<MessageFilter*> filters_;
    GrowableArray<IdleHandler*> idleHandlers_;
};

// The loop of each thread, so that a window finds the loop of the thread that creates it.
class LoopRegistry {
public:
    bool Register(DWORD threadId, MessageLoop& loop);
    bool Unregister(DWORD threadId);
    MessageLoop* Lookup(DWORD threadId) const;
    size_t Count() const { return keys_.Size(); }

private:
    GrowableArray<DWORD> keys_;
    GrowableArray<MessageLoop*> loops_;
};
