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
    // True when the system took the low 8 bits of value.
    virtual bool WriteByte(uint32_t value) = 0;
    // How many of the bytes the system took; fewer than count means the line failed.
    virtual uint32_t Write(const uint8_t* bytes, uint32_t count) = 0;
    virtual void Close() = 0;
    // The system's own words for why the last Open or write failed, without a final full stop,
    // for example "Access denied"; empty while nothing failed. Kept until the next Open.
    virtual const char* FailureReason() const = 0;

protected:
    ~SerialLine() = default;
};

// A line that can wait until the bytes written to it have left the port, so that a pause is
// the module's time and not the system's buffer emptying.
class DrainableLine : public SerialLine {
public:
    // False when the line failed before its bytes left.
    virtual bool Drain() = 0;
    virtual bool IsOpen() const = 0;

protected:
    ~DrainableLine() = default;
};

class Sleeper {
public:
    virtual void Sleep(uint32_t milliseconds) = 0;

protected:
    ~Sleeper() = default;
};
