#include "port_reader.h"

PortReader::PortReader(const char* name) {
    handle_ = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) return;
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;  // return at once with what is there
    SetCommTimeouts(handle_, &timeouts);
    Drain(50);
}

PortReader::~PortReader() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

size_t PortReader::ReadAvailable(std::vector<uint8_t>& into) {
    uint8_t buffer[512];
    DWORD got = 0;
    if (!ReadFile(handle_, buffer, sizeof buffer, &got, nullptr)) return 0;
    into.insert(into.end(), buffer, buffer + got);
    return got;
}

std::vector<uint8_t> PortReader::Read(size_t count, DWORD timeoutMs) {
    std::vector<uint8_t> bytes;
    const DWORD start = GetTickCount();
    while (bytes.size() < count && GetTickCount() - start < timeoutMs) {
        if (ReadAvailable(bytes) == 0) Sleep(5);
    }
    const std::vector<uint8_t> more = Drain(100);
    bytes.insert(bytes.end(), more.begin(), more.end());
    return bytes;
}

std::vector<uint8_t> PortReader::Drain(DWORD quietMs) {
    std::vector<uint8_t> bytes;
    if (handle_ == INVALID_HANDLE_VALUE) return bytes;
    DWORD lastArrival = GetTickCount();
    while (GetTickCount() - lastArrival < quietMs) {
        if (ReadAvailable(bytes) != 0) {
            lastArrival = GetTickCount();
        } else {
            Sleep(5);
        }
    }
    return bytes;
}
