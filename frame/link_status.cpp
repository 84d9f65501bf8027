#include "frame/link_status.h"

#include <cstdio>

namespace {

using Outcome = TransferResult::Outcome;

// The port's name, or false with "no port" in the text for a number outside 1-9.
bool PortNameOrSay(const LinkSettings& settings, char (&port)[5], LinkText& text) {
    if (BuildPortName(settings.portNumber, port)) return true;
    std::snprintf(text, sizeof text, "no port");
    return false;
}

}  // namespace

void DescribeMirror(const TransferResult& result, const LinkSettings& settings, LinkText& text) {
    char port[5];
    if (!PortNameOrSay(settings, port, text)) return;
    switch (result.outcome) {
        case Outcome::Sent:
            std::snprintf(text, sizeof text, "%s %ld", port, static_cast<long>(settings.baudRate));
            break;
        case Outcome::OpenFailed:
            std::snprintf(text, sizeof text, "%s: cannot be opened, mirroring is off", port);
            break;
        case Outcome::WriteFailed:
            std::snprintf(text, sizeof text, "%s: write failed, mirroring is off", port);
            break;
        case Outcome::NoPort:
        case Outcome::Skipped:
            break;
    }
}

void DescribeMirrorEnabled(const LinkSettings& settings, LinkText& text) {
    char port[5];
    if (!PortNameOrSay(settings, port, text)) return;
    std::snprintf(text, sizeof text, "%s %ld, mirroring is on", port, static_cast<long>(settings.baudRate));
}

void DescribeStore(const TransferResult& result, const LinkSettings& settings, LinkText& text) {
    char port[5];
    if (!PortNameOrSay(settings, port, text)) return;
    std::snprintf(text, sizeof text, result.Reached() ? "%s: start screen stored"
                                                      : "%s: start screen not stored",
                  port);
}

bool StoreFailureReport(const TransferResult& result, const LinkSettings& settings, const char* reason,
                        char (&report)[kStoreReportCapacity]) {
    constexpr char kNotHeld[] = "The module does not hold the start screen.";
    if (reason == nullptr || reason[0] == '\0') reason = "the system gave no reason";
    char port[5];
    switch (result.outcome) {
        case Outcome::Sent:
        case Outcome::Skipped:
            return false;
        case Outcome::NoPort:
            std::snprintf(report, sizeof report,
                          "There is no serial port %ld. Choose one with Configure Serial port.\n\n%s",
                          static_cast<long>(settings.portNumber), kNotHeld);
            return true;
        case Outcome::OpenFailed:
            BuildPortName(settings.portNumber, port);
            std::snprintf(report, sizeof report, "%s cannot be opened: %s.\n\n%s", port, reason, kNotHeld);
            return true;
        case Outcome::WriteFailed:
            BuildPortName(settings.portNumber, port);
            std::snprintf(report, sizeof report, "Writing to %s failed after %lu of %lu bytes: %s.\n\n%s", port,
                          static_cast<unsigned long>(result.bytesSent), static_cast<unsigned long>(result.bytesTotal),
                          reason, kNotHeld);
            return true;
    }
    return false;
}
