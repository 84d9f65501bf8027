#pragma once
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

inline const char* BuildName() { return sizeof(void*) == 8 ? "64-bit" : "32-bit"; }

inline double NowMs() {
    static const double msPerTick = [] {
        LARGE_INTEGER frequency{};
        QueryPerformanceFrequency(&frequency);
        return 1000.0 / static_cast<double>(frequency.QuadPart);
    }();
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * msPerTick;
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? NAN : values[values.size() / 2];
}

template <typename Work>
double MedianMs(int runs, Work work) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const double start = NowMs();
        work();
        times.push_back(NowMs() - start);
    }
    return Median(times);
}

// Prints each figure beside its baseline: a table row, or with --json one JSON object a line.
class Report {
public:
    Report(int argc, char** argv) : json_(argc > 1 && std::strcmp(argv[1], "--json") == 0) {}

    // A baseline of NAN has no value; `note` says what the baseline is, or anything else worth a word.
    void Figure(const char* name, double ms, double baselineMs, const char* note) const {
        if (json_) {
            std::printf("{\"figure\": \"%s\", \"build\": \"%s\", \"ms\": %.4f, \"baseline_ms\": ", name, BuildName(), ms);
            if (std::isnan(baselineMs)) std::printf("null}\n");
            else std::printf("%.4f}\n", baselineMs);
        } else if (std::isnan(baselineMs)) {
            std::printf("%-16s %-7s %10.3f ms %13s %8s  %s\n", name, BuildName(), ms, "-", "-", note);
        } else {
            std::printf("%-16s %-7s %10.3f ms %10.3f ms %7.2fx  %s\n", name, BuildName(), ms, baselineMs,
                        ms / baselineMs, note);
        }
        std::fflush(stdout);
    }

private:
    bool json_;
};
