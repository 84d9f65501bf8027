// From process start to a visible main window: Brevant against the bare program beside it,
// started alternately in one Wine session, each closed before the next starts.
//   startup_bench PROGRAM BARE [--json]
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_report.h"

namespace {

constexpr int kStarts = 7;

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindVisibleTopLevel(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window) || GetWindow(window, GW_OWNER) != nullptr) return TRUE;
    search->found = window;
    return FALSE;
}

// Milliseconds until the program's window shows, or NAN; the program is closed again either way.
double TimeToWindow(const char* program) {
    std::string commandLine = std::string("\"") + program + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const double start = NowMs();
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return NAN;
    Search search{process.dwProcessId, nullptr};
    double shown = NAN;
    while (NowMs() - start < 20000) {
        EnumWindows(FindVisibleTopLevel, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            shown = NowMs() - start;
            break;
        }
        if (WaitForSingleObject(process.hProcess, 1) != WAIT_TIMEOUT) break;
    }
    if (search.found != nullptr) PostMessageA(search.found, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) == WAIT_TIMEOUT) TerminateProcess(process.hProcess, 99);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return shown;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_bench PROGRAM BARE [--json]\n");
        return 2;
    }
    const Report report(argc - 2, argv + 2);
    // The first start of each loads its libraries from disk; the others find them in the cache.
    TimeToWindow(argv[2]);
    TimeToWindow(argv[1]);
    std::vector<double> program, bare;
    for (int i = 0; i < kStarts; ++i) {
        bare.push_back(TimeToWindow(argv[2]));
        program.push_back(TimeToWindow(argv[1]));
    }
    for (const double t : program)
        if (std::isnan(t)) {
            std::fprintf(stderr, "%s showed no window\n", argv[1]);
            return 1;
        }
    report.Figure("startup", Median(program), Median(bare), "baseline: a bare window program; medians of 7, alternating");
    return 0;
}
