#include "toolkit/app_module.h"

AppModule gAppModule;

void AppModule::Init(HINSTANCE instance) {
    instance_ = instance;
    InitializeCriticalSection(&creationSection_);
    creationList_ = nullptr;
}

void AppModule::Term() { DeleteCriticalSection(&creationSection_); }

void AppModule::PushCreationRecord(CreationRecord& record, void* object) {
    WindowCreationLock lock(creationSection_);
    record.object = object;
    record.threadId = GetCurrentThreadId();
    record.next = creationList_;
    creationList_ = &record;
}

void* AppModule::TakeCreationRecord() {
    WindowCreationLock lock(creationSection_);
    const DWORD thread = GetCurrentThreadId();
    for (CreationRecord** link = &creationList_; *link != nullptr; link = &(*link)->next) {
        if ((*link)->threadId == thread) {
            CreationRecord* record = *link;
            *link = record->next;
            return record->object;
        }
    }
    return nullptr;
}
