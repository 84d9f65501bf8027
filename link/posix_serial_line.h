#pragma once
#include <cstdint>
#include <string>

#include "link/serial_line.h"

// Why the last Open or write of a line failed; the system's errno where it gave one.
struct LineFailure {
    enum Kind { None, CannotOpen, Busy, NotATerminal, UnsupportedSpeed, SetupFailed, WriteFailed, Gone };
    Kind kind = None;
    int error = 0;
    int32_t baudRate = 0;
};

// "busy", "cannot open: No such file or directory", "unsupported speed 12345", ...
std::string DescribeFailure(const LineFailure& failure);

// A terminal device held exclusively while open: its lock keeps every other cooperating
// program off the module, and TIOCEXCL keeps out those that do not lock.
class PosixSerialLine final : public DrainableLine {
public:
    PosixSerialLine() = default;
    ~PosixSerialLine() { Close(); }
    PosixSerialLine(const PosixSerialLine&) = delete;
    PosixSerialLine& operator=(const PosixSerialLine&) = delete;

    int32_t Open(const char* name, int32_t baudRate, ParityMode parity) override;
    bool WriteByte(uint32_t value) override;
    uint32_t Write(const uint8_t* bytes, uint32_t count) override;
    // Drains first, so the last bytes are on the wire before the device is let go.
    void Close() override;
    const char* FailureReason() const override { return reason_.c_str(); }

    // Returns once every byte written so far has left the device.
    bool Drain() override;

    bool IsOpen() const override { return fd_ >= 0; }
    bool Failed() const { return failure_.kind != LineFailure::None; }
    const LineFailure& Failure() const { return failure_; }
    // Bytes the device took since Open.
    uint64_t BytesWritten() const { return written_; }

private:
    int32_t Refuse(LineFailure::Kind kind, int error, int32_t result);
    // How many of the bytes the device took.
    size_t WriteAll(const uint8_t* bytes, size_t count);
    void Fail(int error);

    int fd_ = -1;
    bool exclusive_ = false;
    LineFailure failure_;
    std::string reason_;
    uint64_t written_ = 0;
};
