// Stores over pseudo-terminals: one store against the pauses it must make, measured in the same
// run as the store, and eight modules at once against one.
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "cli/provisioning/port_runs.h"
#include "document/built_in_glyphs.h"
#include "document/display_size.h"
#include "document/exact_start_screen.h"
#include "link/display_protocol.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 5;

// A pseudo-terminal whose far end is read all along, as a module would.
class Module {
public:
    Module() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        grantpt(master_);
        unlockpt(master_);
        device_ = ptsname(master_);
        reader_ = std::thread([this] {
            uint8_t buffer[512];
            while (!stop_) {
                pollfd ready{master_, POLLIN, 0};
                if (poll(&ready, 1, 20) > 0 && read(master_, buffer, sizeof buffer) <= 0) return;
            }
        });
    }
    ~Module() {
        stop_ = true;
        reader_.join();
        close(master_);
    }
    const std::string& Device() const { return device_; }

private:
    int master_ = -1;
    std::string device_;
    std::atomic<bool> stop_{false};
    std::thread reader_;
};

double MedianMs(const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        const auto start = Clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

ScreenDocument Screen(uint32_t sizeCode) {
    ScreenDocument doc = FreshEditorDocument(kBuiltInGlyphs);
    SetDisplaySize(doc, sizeCode);
    return doc;
}

// The pauses of one store, waited the way a store waits them, with nothing sent.
double PausesOnlyMs(size_t cells) {
    StopFlag never;
    return MedianMs([&] {
        for (size_t i = 0; i < kUserGlyphCount; ++i) never.Wait(kCharacterPauseMs);
        for (size_t k = 0; k < cells; k += kTextPauseEvery) never.Wait(kTextPauseMs);
        never.Wait(kFinalPauseMs);
    });
}

double StoreMs(const std::vector<std::unique_ptr<Module>>& modules, uint32_t sizeCode) {
    std::vector<PortJob> jobs;
    for (const auto& module : modules) jobs.push_back({module->Device(), Screen(sizeCode)});
    StopFlag never;
    return MedianMs([&] {
        for (const PortReport& report : RunOnPorts(TransferKind::Store, jobs, kDefaultBaudRate, never)) {
            if (!report.complete) std::fprintf(stderr, "%s\n", ReportLine(report).c_str());
        }
    });
}

}  // namespace

int main() {
    std::vector<std::unique_ptr<Module>> eight;
    for (int i = 0; i < 8; ++i) eight.push_back(std::make_unique<Module>());
    std::vector<std::unique_ptr<Module>> one;
    one.push_back(std::make_unique<Module>());

    std::printf("median of %d runs, one store over a pseudo-terminal at 19200 baud\n", kRuns);
    struct Case {
        const char* name;
        uint32_t sizeCode;
        size_t cells;
        double floorMs;
    };
    for (const Case& c : {Case{"2x20", kSize2x20, 40, 410}, Case{"4x20", kSize4x20, 80, 510}}) {
        const double pauses = PausesOnlyMs(c.cells);
        const double store = StoreMs(one, c.sizeCode);
        std::printf("store %s: %7.1f ms   its pauses alone: %7.1f ms (nominal %.0f ms)   %.3f x nominal, aim <= 1.02\n",
                    c.name, store, pauses, c.floorMs, store / c.floorMs);
    }
    const double single = StoreMs(one, kSize4x20);
    const double all = StoreMs(eight, kSize4x20);
    std::printf("store 4x20 on 8 modules at once: %7.1f ms   on 1 module: %7.1f ms   %.3f x, aim <= 1.1\n", all, single,
                all / single);
    return 0;
}
