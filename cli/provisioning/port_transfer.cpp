#include "cli/provisioning/port_transfer.h"

int32_t PortTransfer::Open(const char* name, int32_t baudRate, ParityMode parity) {
    if (stop_.Raised()) {
        interrupted_ = true;
        return kOpenPortFailed;
    }
    return device_.Open(name, baudRate, parity);
}

bool PortTransfer::WriteByte(uint32_t value) {
    const uint8_t byte = static_cast<uint8_t>(value);
    return Write(&byte, 1) == 1;
}

uint32_t PortTransfer::Write(const uint8_t* bytes, uint32_t count) {
    if (interrupted_ || stop_.Raised()) {
        interrupted_ = true;
        return 0;
    }
    const uint32_t taken = device_.Write(bytes, count);
    sent_.Update(bytes, taken);
    return taken;
}

void PortTransfer::Close() {
    if (device_.IsOpen() && !interrupted_ && !device_.Drain()) drainFailed_ = true;
    device_.Close();
}

const char* PortTransfer::FailureReason() const { return interrupted_ ? "interrupted" : device_.FailureReason(); }

void PortTransfer::Sleep(uint32_t milliseconds) {
    if (!device_.Drain()) {
        drainFailed_ = true;
        return;
    }
    if (!stop_.Wait(milliseconds)) interrupted_ = true;
}
