// One MirrorScreen over a real port against one raw open, write of the same 136 bytes and close.
// Run inside a wine session (scripts/bench), where COM3 is one end of a pseudo-terminal pair.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "document/display_size.h"
#include "link/display_protocol.h"
#include "link/serial_channel.h"

namespace {

const uint8_t kShippedGlyphs[kGlyphTableBytes] = {
#include "glyph_table_data.inc"
};

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <typename Work>
double MedianMs(int runs, Work work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        work();
        QueryPerformanceCounter(&end);
        times.push_back(Milliseconds(start, end));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main() {
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

    ScreenDocument doc;
    InitializeDocument(doc, kShippedGlyphs);
    SetDisplaySize(doc, kSize2x20, nullptr);
    const LinkSettings settings{3, 19200};
    DisplayProtocol protocol;
    const int runs = 200;

    const double mirror = MedianMs(runs, [&] {
        SerialChannel line;
        protocol.MirrorScreen(doc, settings, line);
        drain();
    });
    const std::vector<uint8_t> bytes(136, 0x41);
    const double raw = MedianMs(runs, [&] {
        HANDLE port = CreateFileA("COM3", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        DWORD written = 0;
        WriteFile(port, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(port);
        drain();
    });
    std::printf("median of %d runs over a pseudo-terminal under Wine\n", runs);
    std::printf("MirrorScreen (136 bytes):            %8.3f ms\n", mirror);
    std::printf("raw open, write 136 bytes, close:    %8.3f ms\n", raw);
    std::printf("ratio:                               %8.2f\n", mirror / raw);
    CloseHandle(farEnd);
    return protocol.mirrorDisabled ? 1 : 0;
}
