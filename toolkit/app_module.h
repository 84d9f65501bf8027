#pragma once
#include <windows.h>

class LoopRegistry;

// One per window or dialog about to be created: carries its object to the window's first message.
struct CreationRecord {
    void* object = nullptr;
    DWORD threadId = 0;
    CreationRecord* next = nullptr;
};

// Guards the window-creation list and the one-time registration of window classes.
class WindowCreationLock {
public:
    explicit WindowCreationLock(CRITICAL_SECTION& section) : section_(section) { EnterCriticalSection(&section_); }
    ~WindowCreationLock() { LeaveCriticalSection(&section_); }
    WindowCreationLock(const WindowCreationLock&) = delete;
    WindowCreationLock& operator=(const WindowCreationLock&) = delete;

private:
    CRITICAL_SECTION& section_;
};

class AppModule {
public:
    void Init(HINSTANCE instance);
    void Term();

    HINSTANCE Instance() const { return instance_; }
    CRITICAL_SECTION& CreationSection() { return creationSection_; }

    // The record must live until the window's first message has taken it.
    void PushCreationRecord(CreationRecord& record, void* object);
    // The object of the first record pushed by this thread, taken off the list; null if none.
    void* TakeCreationRecord();

    LoopRegistry* loopRegistry = nullptr;

private:
    HINSTANCE instance_ = nullptr;
    CRITICAL_SECTION creationSection_{};
    CreationRecord* creationList_ = nullptr;
};

// Process-wide: a window procedure finds its object through the creation list before anything
// else links the two, and resources are loaded from the one module.
extern AppModule gAppModule;
