#include "link/serial_channel.h"

#include <cstdio>
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

void SystemErrorText(DWORD error, char* text, size_t capacity) {
    if (capacity == 0) return;
    if (FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                       static_cast<DWORD>(capacity), nullptr) == 0) {
        std::snprintf(text, capacity, "system error %lu", static_cast<unsigned long>(error));
    }
    size_t length = std::strlen(text);
    while (length > 0 && std::strchr(" .\r\n", text[length - 1]) != nullptr) text[--length] = '\0';
}

void SerialChannel::NoteFailure(DWORD error) {
    error_ = error;
    SystemErrorText(error, reason_, sizeof reason_);
}

int32_t SerialChannel::Open(const char* name, int32_t baudRate, ParityMode parity) {
    Close();
    reason_[0] = '\0';
    error_ = ERROR_SUCCESS;
    if (name == nullptr) {
        std::snprintf(reason_, sizeof reason_, "no port name");
        return kOpenNoName;
    }

    std::strncpy(name_, name, 10);
    name_[10] = '\0';
    DCB dcb = MakeLineDcb(baudRate, parity);
    COMMTIMEOUTS timeouts{};

    handle_ = api_.createFile(name_, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) {
        NoteFailure(GetLastError());
        return kOpenPortFailed;
    }

    // A later failure replaces the code of an earlier one.
    int32_t result = kOpenOk;
    DWORD error = ERROR_SUCCESS;
    const auto fail = [&](int32_t code) {
        result = code;
        error = GetLastError();
    };
    if (!api_.setCommMask(handle_, 0)) fail(kOpenMaskFailed);
    if (!api_.setCommTimeouts(handle_, &timeouts)) fail(kOpenTimeoutsFailed);
    if (!api_.setCommState(handle_, &dcb)) fail(kOpenStateFailed);
    if (result != kOpenOk) {
        NoteFailure(error);
        Close();
    }
    return result;
}

bool SerialChannel::WriteByte(uint32_t value) {
    const uint8_t byte = static_cast<uint8_t>(value);
    return Write(&byte, 1) == 1;
}

uint32_t SerialChannel::Write(const uint8_t* bytes, uint32_t count) {
    if (handle_ == INVALID_HANDLE_VALUE) {
        NoteFailure(ERROR_INVALID_HANDLE);
        return 0;
    }
    DWORD written = 0;
    if (!api_.writeFile(handle_, bytes, count, &written, nullptr)) {
        NoteFailure(GetLastError());
        return 0;
    }
    if (written < count) NoteFailure(ERROR_WRITE_FAULT);
    return written < count ? written : count;
}

void SerialChannel::Close() {
    if (handle_ == INVALID_HANDLE_VALUE) return;
    api_.closeHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
}
