// Transfers over a real port: one MirrorScreen against a raw open, write of the same 136 bytes
// and close, and "Write to Display" of a 2x20 and a 4x20 screen against the pauses it asks for.
// Run inside a wine session (scripts/bench), where COM3 is one end of a pseudo-terminal pair.
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "bench/bench_report.h"
#include "document/built_in_glyphs.h"
#include "document/display_size.h"
#include "document/exact_start_screen.h"
#include "link/display_protocol.h"
#include "link/serial_channel.h"

namespace {

// Sleeps as the program does and adds up what it was asked for: the floor of a store.
class PauseCounter final : public Sleeper {
public:
    void Sleep(uint32_t milliseconds) override {
        asked += milliseconds;
        ::Sleep(milliseconds);
    }
    uint32_t asked = 0;
};

}  // namespace

int main(int argc, char** argv) {
    const Report report(argc, argv);
    // The far end must stay open, or the line hangs up between transfers.
    HANDLE farEnd = CreateFileA("COM4", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (farEnd == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "COM4 does not open: run inside a wine session with the test ports\n");
        return 1;
    }
    COMMTIMEOUTS immediate{MAXDWORD, 0, 0, 0, 0};
    SetCommTimeouts(farEnd, &immediate);
    auto drain = [&] {
        uint8_t buffer[4096];
        DWORD got = 0;
        while (ReadFile(farEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) {}
    };

    ScreenDocument doc = FreshEditorDocument(kBuiltInGlyphs);
    const LinkSettings settings{3, 19200};
    DisplayProtocol protocol;
    bool allSent = true;

    const int mirrorRuns = 200;
    const double mirror = MedianMs(mirrorRuns, [&] {
        SerialChannel line;
        allSent = protocol.MirrorScreen(doc, settings, line).Reached() && allSent;
        drain();
    });
    const std::vector<uint8_t> bytes(kMirrorBytes, 0x41);
    const double raw = MedianMs(mirrorRuns, [&] {
        HANDLE port = CreateFileA("COM3", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        DWORD written = 0;
        WriteFile(port, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(port);
        drain();
    });
    report.Figure("mirror", mirror, raw, "baseline: raw open, write of 136 bytes, close; medians of 200");

    const struct {
        const char* name;
        uint16_t size;
    } stores[] = {{"store-2x20", kSize2x20}, {"store-4x20", kSize4x20}};
    for (const auto& store : stores) {
        SetDisplaySize(doc, store.size);
        const int runs = 7;
        uint32_t floor = 0;
        const double ms = MedianMs(runs, [&] {
            SerialChannel line;
            PauseCounter pauses;
            allSent = protocol.StoreScreen(doc, settings, line, pauses).Reached() && allSent;
            floor = pauses.asked;
            drain();
        });
        report.Figure(store.name, ms, floor, "baseline: the pauses the store makes; medians of 7");
    }
    CloseHandle(farEnd);
    return allSent ? 0 : 1;
}
