// Drives a running Brevant from outside, the way a user would: it finds the main window and
// posts it commands, characters and mouse clicks, and answers message boxes.
// Usage: e2e_driver <verb> [arguments]; prints what it found, exit code 0 on success.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr char kFrameCaption[] = "Boot loader,";
constexpr int kCellWidth = 17;
constexpr int kCellHeight = 26;

HWND FindFrame() { return FindWindowA(nullptr, kFrameCaption); }

HWND WaitForFrame(DWORD timeoutMs, bool visible) {
    const DWORD start = GetTickCount();
    for (;;) {
        const HWND frame = FindFrame();
        if (frame != nullptr && (!visible || IsWindowVisible(frame))) return frame;
        if (GetTickCount() - start > timeoutMs) return nullptr;
        Sleep(20);
    }
}

// The preview is the frame's child that is not the status bar.
HWND FindPreview(HWND frame) {
    for (HWND child = GetWindow(frame, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[64] = {};
        GetClassNameA(child, className, sizeof className);
        if (lstrcmpiA(className, "msctls_statusbar32") != 0) return child;
    }
    return nullptr;
}

struct FrameCount {
    int count = 0;
};

BOOL CALLBACK CountFrame(HWND hwnd, LPARAM param) {
    char title[64] = {};
    GetWindowTextA(hwnd, title, sizeof title);
    if (std::strcmp(title, kFrameCaption) == 0) ++reinterpret_cast<FrameCount*>(param)->count;
    return TRUE;
}

struct MessageBoxSearch {
    DWORD process = 0;
    HWND found = nullptr;
};

BOOL CALLBACK FindMessageBox(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<MessageBoxSearch*>(param);
    char className[16] = {};
    GetClassNameA(hwnd, className, sizeof className);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (std::strcmp(className, "#32770") == 0 && process == search->process && IsWindowVisible(hwnd)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

int Fail(const char* what) {
    std::printf("error: %s\n", what);
    return 1;
}

int Find(DWORD timeoutMs) {
    const HWND frame = WaitForFrame(timeoutMs, true);
    if (frame == nullptr) return Fail("no main window");
    RECT outer{};
    GetWindowRect(frame, &outer);
    POINT origin{0, 0};
    ClientToScreen(FindPreview(frame), &origin);
    std::printf("window %ld %ld %ld %ld\npreview %ld %ld\nforeground %d\n", outer.left, outer.top,
                outer.right - outer.left, outer.bottom - outer.top, origin.x, origin.y,
                GetForegroundWindow() == frame ? 1 : 0);
    return 0;
}

int Count() {
    FrameCount frames;
    EnumWindows(CountFrame, reinterpret_cast<LPARAM>(&frames));
    std::printf("%d\n", frames.count);
    return 0;
}

int PostCommand(HWND frame, unsigned id) {
    return PostMessageA(frame, WM_COMMAND, id, 0) ? 0 : Fail("post failed");
}

int Type(HWND frame, const char* text) {
    const HWND preview = FindPreview(frame);
    for (const char* c = text; *c != '\0'; ++c) {
        PostMessageA(preview, WM_CHAR, static_cast<unsigned char>(*c), 1);
    }
    return 0;
}

int Click(HWND frame, int column, int row) {
    const HWND preview = FindPreview(frame);
    const LPARAM at = MAKELPARAM(column * kCellWidth + kCellWidth / 2, row * kCellHeight + kCellHeight / 2);
    PostMessageA(preview, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(preview, WM_LBUTTONUP, 0, at);
    return 0;
}

// Prints the caption and the text of the program's message box, then presses OK.
int AnswerMessageBox(HWND frame, DWORD timeoutMs) {
    MessageBoxSearch search;
    GetWindowThreadProcessId(frame, &search.process);
    const DWORD start = GetTickCount();
    while (search.found == nullptr) {
        EnumWindows(FindMessageBox, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) break;
        if (GetTickCount() - start > timeoutMs) return Fail("no message box");
        Sleep(20);
    }
    char caption[256] = {};
    char text[512] = {};
    GetWindowTextA(search.found, caption, sizeof caption);
    GetDlgItemTextA(search.found, 0xFFFF, text, sizeof text);
    std::printf("caption: %s\ntext: %s\n", caption, text);
    PostMessageA(search.found, WM_COMMAND, IDOK, 0);
    return 0;
}

std::string FromHex(const char* hex) {
    std::string text;
    for (size_t i = 0; hex[i] != '\0' && hex[i + 1] != '\0'; i += 2) {
        const char pair[3] = {hex[i], hex[i + 1], '\0'};
        text += static_cast<char>(std::strtoul(pair, nullptr, 16));
    }
    return text;
}

bool IsFrameOf(DWORD processId) {
    const HWND frame = FindFrame();
    DWORD owner = 0;
    if (frame != nullptr) GetWindowThreadProcessId(frame, &owner);
    return owner == processId && IsWindowVisible(frame);
}

// Starts the program with exactly this command line (hex, so that no quoting stands between),
// reports when its window appears and ends with its exit code. A show command is handed over
// the way the shell hands it.
int Run(DWORD timeoutMs, const char* hexCommandLine, const char* showCommand) {
    std::string commandLine = FromHex(hexCommandLine);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (showCommand != nullptr) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(std::atoi(showCommand));
    }
    PROCESS_INFORMATION process{};
    const DWORD start = GetTickCount();
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return Fail("cannot start");
    }
    std::printf("started\n");
    std::fflush(stdout);
    bool windowSeen = false;
    while (WaitForSingleObject(process.hProcess, 5) == WAIT_TIMEOUT) {
        if (!windowSeen && IsFrameOf(process.dwProcessId)) {
            windowSeen = true;
            std::printf("window %lu\n", GetTickCount() - start);
            std::fflush(stdout);
        }
        if (GetTickCount() - start > timeoutMs) {
            TerminateProcess(process.hProcess, 99);
            std::printf("timeout\n");
            return 99;
        }
    }
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::printf("exit %lu\n", code);
    return static_cast<int>(code);
}

// Starts one program per command line (hex) at the same moment: all are created suspended and
// then let go together. Waits until at most one is left running, then prints the exit code of
// each that ended, in order, and how many still run.
int Race(DWORD timeoutMs, int count, char** hexCommandLines) {
    std::vector<PROCESS_INFORMATION> started;
    for (int i = 0; i < count; ++i) {
        std::string commandLine = FromHex(hexCommandLines[i]);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        // Wine under load now and then refuses a process creation; that is the harness's trouble,
        // not the program's, so it tries again before it gives up.
        bool created = false;
        for (int attempt = 0; attempt < 10 && !created; ++attempt) {
            created = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                                     nullptr, &startup, &process) != 0;
            if (!created) Sleep(100);
        }
        if (!created) {
            for (const PROCESS_INFORMATION& other : started) TerminateProcess(other.hProcess, 99);
            return Fail("cannot start");
        }
        started.push_back(process);
    }
    for (const PROCESS_INFORMATION& process : started) ResumeThread(process.hThread);
    const DWORD start = GetTickCount();
    int running = count;
    while (running > 1 && GetTickCount() - start < timeoutMs) {
        Sleep(20);
        running = 0;
        for (const PROCESS_INFORMATION& process : started) {
            running += WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT ? 1 : 0;
        }
    }
    // Give a second copy that still runs the time to show its window, should there be one.
    Sleep(500);
    running = 0;
    for (const PROCESS_INFORMATION& process : started) {
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        if (code == STILL_ACTIVE) {
            ++running;
        } else {
            std::printf("exit %lu\n", code);
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    std::printf("running %d\n", running);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Fail("no verb");
    const std::string verb = argv[1];
    const auto arg = [&](int i, const char* fallback) { return i < argc ? argv[i] : fallback; };
    if (verb == "find") return Find(std::strtoul(arg(2, "10000"), nullptr, 10));
    if (verb == "count") return Count();
    if (verb == "race") return Race(std::strtoul(arg(2, "60000"), nullptr, 10), argc - 3, argv + 3);
    if (verb == "run") return Run(std::strtoul(arg(2, "60000"), nullptr, 10), arg(3, ""), arg(4, nullptr));

    // Commands reach a hidden window too.
    const HWND frame = WaitForFrame(10000, false);
    if (frame == nullptr) return Fail("no main window");
    if (verb == "command") return PostCommand(frame, std::strtoul(arg(2, "0"), nullptr, 0));
    if (verb == "type") return Type(frame, arg(2, ""));
    if (verb == "click") return Click(frame, std::atoi(arg(2, "0")), std::atoi(arg(3, "0")));
    if (verb == "message") return AnswerMessageBox(frame, std::strtoul(arg(2, "10000"), nullptr, 10));
    if (verb == "close") return PostMessageA(frame, WM_CLOSE, 0, 0) ? 0 : Fail("post failed");
    return Fail("unknown verb");
}
