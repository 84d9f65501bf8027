#include "app/command_line.h"

namespace {

unsigned char At(const char* text) { return static_cast<unsigned char>(*text); }

const char* SkipProgramName(const char* line, UINT codePage) {
    if (At(line) != '"') {
        while (At(line) > ' ') ++line;
        return line;
    }
    ++line;
    while (At(line) != 0 && At(line) != '"') {
        // A lead byte takes its trail byte with it, but never the terminating zero.
        if (IsDBCSLeadByteEx(codePage, At(line)) && At(line + 1) != 0) ++line;
        ++line;
    }
    if (At(line) == '"') ++line;
    return line;
}

}  // namespace

const char* CommandLineTail(const char* commandLine, UINT codePage) {
    if (commandLine == nullptr) return "";
    const char* tail = SkipProgramName(commandLine, codePage);
    while (At(tail) != 0 && At(tail) <= ' ') ++tail;
    return tail;
}

int StartupShowCommand() {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    return (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : SW_SHOWDEFAULT;
}
