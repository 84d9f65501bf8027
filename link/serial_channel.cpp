#include "link/serial_channel.h"

#include <cstring>

const CommApi& SystemCommApi() {
    static const CommApi api{CreateFileA, SetCommMask, SetCommTimeouts, SetCommState, WriteFile, CloseHandle};
    return api;
}

DCB MakeLineDcb(int32_t baudRate, ParityMode parity) {
    DCB dcb;
    std::memset(&dcb, 0, sizeof dcb);
    dcb.DCBlength = sizeof dcb;
    dcb.BaudRate = static_cast<DWORD>(baudRate);
    dcb.fBinary = 1;
    if (parity == ParityMode::Odd || parity == ParityMode::Even) {
        dcb.fParity = 1;
        dcb.Parity = parity == ParityMode::Odd ? ODDPARITY : EVENPARITY;
    }
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    // Flow control is off; these only keep the values the line has always been given.
    dcb.XonLim = 2;
    dcb.XoffLim = 4;
    dcb.XonChar = 0x13;
    dcb.XoffChar = 0x19;
    dcb.ByteSize = 8;
    dcb.StopBits = ONESTOPBIT;
    return dcb;
}

int32_t SerialChannel::Open(const char* name, int32_t baudRate, ParityMode parity) {
    Close();
    if (name == nullptr) return kOpenNoName;

    std::strncpy(name_, name, 10);
    name_[10] = '\0';
    baudRate_ = baudRate;
    parity_ = parity;
    DCB dcb = MakeLineDcb(baudRate, parity);
    COMMTIMEOUTS timeouts{};

    handle_ = api_.createFile(name_, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) return kOpenPortFailed;

    int32_t result = kOpenOk;
    if (!api_.setCommMask(handle_, 0)) result = kOpenMaskFailed;
    if (!api_.setCommTimeouts(handle_, &timeouts)) result = kOpenTimeoutsFailed;
    if (!api_.setCommState(handle_, &dcb)) result = kOpenStateFailed;
    if (result != kOpenOk) Close();
    return result;
}

void SerialChannel::WriteByte(uint32_t value) {
    const uint8_t byte = static_cast<uint8_t>(value);
    Write(&byte, 1);
}

void SerialChannel::Write(const uint8_t* bytes, uint32_t count) {
    if (handle_ == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    api_.writeFile(handle_, bytes, count, &written, nullptr);
}

void SerialChannel::Close() {
    if (handle_ == INVALID_HANDLE_VALUE) return;
    api_.closeHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
}
