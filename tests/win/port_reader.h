#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

// The far end of a test serial line: COM4 receives what is written to COM3, COM6 what goes to COM5.
class PortReader {
public:
    explicit PortReader(const char* name);
    ~PortReader();
    PortReader(const PortReader&) = delete;
    PortReader& operator=(const PortReader&) = delete;

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    // Waits until `count` bytes have arrived or the time is up, then keeps reading briefly so
    // that bytes beyond `count` show up too.
    std::vector<uint8_t> Read(size_t count, DWORD timeoutMs = 3000);
    // Everything that arrives within the given quiet time.
    std::vector<uint8_t> Drain(DWORD quietMs = 200);

private:
    size_t ReadAvailable(std::vector<uint8_t>& into);
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};
