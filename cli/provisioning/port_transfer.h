#pragma once
#include <cstdint>
#include <string>

#include "cli/provisioning/stop_flag.h"
#include "cli/support/sha256.h"
#include "link/serial_line.h"

// One module's transfer as the protocol sees its line: every byte goes to the device and into
// the record of what was sent; each pause starts once the bytes before it are on the wire; a
// raised stop flag ends the pause at once and refuses every write after it.
class PortTransfer final : public SerialLine, public Sleeper {
public:
    PortTransfer(DrainableLine& device, const StopFlag& stop) : device_(device), stop_(stop) {}

    int32_t Open(const char* name, int32_t baudRate, ParityMode parity) override;
    bool WriteByte(uint32_t value) override;
    uint32_t Write(const uint8_t* bytes, uint32_t count) override;
    // The last bytes are drained here, where a failure can still be seen.
    void Close() override;
    const char* FailureReason() const override;
    void Sleep(uint32_t milliseconds) override;

    bool Interrupted() const { return interrupted_; }
    // A pause or the close found the device gone after its bytes were taken.
    bool DrainFailed() const { return drainFailed_; }
    std::string SentSha256() { return sent_.FinishHex(); }

private:
    DrainableLine& device_;
    const StopFlag& stop_;
    Sha256 sent_;
    bool interrupted_ = false;
    bool drainFailed_ = false;
};
