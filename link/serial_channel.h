#pragma once
#include <windows.h>

#include <cstdint>

#include "link/serial_line.h"

// The kernel calls a channel makes; a seam so that failures no real port gives on demand can be tested.
struct CommApi {
    HANDLE(WINAPI* createFile)(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
    BOOL(WINAPI* setCommMask)(HANDLE, DWORD);
    BOOL(WINAPI* setCommTimeouts)(HANDLE, LPCOMMTIMEOUTS);
    BOOL(WINAPI* setCommState)(HANDLE, LPDCB);
    BOOL(WINAPI* writeFile)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
    BOOL(WINAPI* closeHandle)(HANDLE);
};

const CommApi& SystemCommApi();

// The system's words for an error without the full stop and line break they end with, so that
// they read inside a sentence of ours; "system error N" when the system has none.
void SystemErrorText(DWORD error, char* text, size_t capacity);

// 8 data bits, one stop bit, no handshake.
DCB MakeLineDcb(int32_t baudRate, ParityMode parity);

class SerialChannel final : public DrainableLine {
public:
    explicit SerialChannel(const CommApi& api = SystemCommApi()) : api_(api) {}
    ~SerialChannel() { Close(); }
    SerialChannel(const SerialChannel&) = delete;
    SerialChannel& operator=(const SerialChannel&) = delete;

    int32_t Open(const char* name, int32_t baudRate, ParityMode parity) override;
    bool WriteByte(uint32_t value) override;
    uint32_t Write(const uint8_t* bytes, uint32_t count) override;
    void Close() override;
    const char* FailureReason() const override { return reason_; }
    // The system's code behind FailureReason, 0 while nothing failed.
    DWORD SystemError() const { return error_; }

    bool IsOpen() const override { return handle_ != INVALID_HANDLE_VALUE; }
    // A write to a Windows serial port returns once its bytes are sent.
    bool Drain() override { return true; }
    const char* Name() const { return name_; }

private:
    void NoteFailure(DWORD error);

    const CommApi& api_;
    char name_[11] = {};
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    char reason_[128] = {};
    DWORD error_ = ERROR_SUCCESS;
};

class SystemSleeper final : public Sleeper {
public:
    void Sleep(uint32_t milliseconds) override { ::Sleep(milliseconds); }
};
