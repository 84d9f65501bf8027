#pragma once
// The serial line of this system and the words for a port that did not open.
#include <string>

#include "link/serial_line.h"

#ifdef _WIN32
#include "link/serial_channel.h"
using DeviceLine = SerialChannel;

inline std::string OpenFailureText(const DeviceLine& line, int32_t openResult, int32_t baudRate) {
    const DWORD error = line.SystemError();
    if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION) return "busy";
    if (openResult == kOpenPortFailed) return std::string("cannot open: ") + line.FailureReason();
    return "cannot set up the line at " + std::to_string(baudRate) + " baud: " + line.FailureReason();
}
#else
#include "link/posix_serial_line.h"
using DeviceLine = PosixSerialLine;

inline std::string OpenFailureText(const DeviceLine& line, int32_t, int32_t) { return line.FailureReason(); }
#endif
