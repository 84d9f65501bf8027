#pragma once
#include <cstdint>

enum class ParityMode : int32_t { None = 0, Odd = 1, Even = 2 };

// Result codes of opening a line; single values, never combined.
enum OpenResult : int32_t {
    kOpenOk = 0,
    kOpenMaskFailed = 1,
    kOpenTimeoutsFailed = 2,
    kOpenStateFailed = 4,
    kOpenPortFailed = 8,
    kOpenNoName = 16,
};

// A write-only serial line, opened per transfer.
class SerialLine {
public:
    virtual int32_t Open(const char* name, int32_t baudRate, ParityMode parity) = 0;
    virtual void WriteByte(uint32_t value) = 0;
    virtual void Write(const uint8_t* bytes, uint32_t count) = 0;
    virtual void Close() = 0;

protected:
    ~SerialLine() = default;
};

class Sleeper {
public:
    virtual void Sleep(uint32_t milliseconds) = 0;

protected:
    ~Sleeper() = default;
};
