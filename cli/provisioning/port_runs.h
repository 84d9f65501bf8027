#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "cli/provisioning/stop_flag.h"
#include "document/screen_document.h"

enum class TransferKind { Mirror, Store };

// One module: the port it hangs on and the screen it gets.
struct PortJob {
    std::string port;
    ScreenDocument doc;
};

struct PortReport {
    std::string port;
    bool complete = false;  // every byte was taken and is on the wire
    std::string result;     // "stored", "busy", "write failed after 12 of 130 bytes: ..."
    double seconds = 0;
    std::string sentSha256;  // of exactly the bytes that went out
    std::string finishedUtc;  // 2026-12-08T23:59:01Z
    uint32_t bytesSent = 0;
    uint32_t bytesTotal = 0;
};

// Now, as the reports and records write it: 2026-12-08T23:59:01Z.
std::string UtcNow();

// Every port on a thread of its own, all at once; a port that fails leaves the others alone.
// The reports come back in the order of the jobs.
std::vector<PortReport> RunOnPorts(TransferKind kind, const std::vector<PortJob>& jobs, int32_t baudRate,
                                   const StopFlag& stop);

// "/dev/ttyUSB0: stored (0.412 s)"
std::string ReportLine(const PortReport& report);

// Time, port, file, SHA-256 of the bytes sent and result, separated by tabs.
std::string LogLine(const PortReport& report, const std::string& fileName);
