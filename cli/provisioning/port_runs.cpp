#include "cli/provisioning/port_runs.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>

#include "cli/provisioning/device_line.h"
#include "cli/provisioning/port_transfer.h"
#include "link/display_protocol.h"

std::string UtcNow() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
#ifdef _WIN32
    gmtime_s(&utc, &now);
#else
    gmtime_r(&now, &utc);
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

namespace {

std::string Describe(const TransferResult& result, const PortTransfer& transfer, const DeviceLine& device,
                     TransferKind kind, int32_t baudRate) {
    const std::string progress =
        " after " + std::to_string(result.bytesSent) + " of " + std::to_string(result.bytesTotal) + " bytes";
    const char* notDone = kind == TransferKind::Store ? ": not stored" : ": not mirrored";
    if (transfer.Interrupted() && !result.Reached()) return "interrupted" + progress + notDone;
    switch (result.outcome) {
        case TransferResult::Outcome::Sent:
            if (transfer.DrainFailed()) return std::string("write failed at the end: ") + device.FailureReason();
            return kind == TransferKind::Store ? "stored" : "mirrored";
        case TransferResult::Outcome::OpenFailed:
            return OpenFailureText(device, result.openResult, baudRate);
        case TransferResult::Outcome::WriteFailed:
            return "write failed" + progress + ": " + device.FailureReason();
        default:
            return "not sent";
    }
}

PortReport RunOne(TransferKind kind, const PortJob& job, int32_t baudRate, const StopFlag& stop) {
    const auto started = std::chrono::steady_clock::now();
    DeviceLine device;
    PortTransfer transfer(device, stop);
    DisplayProtocol protocol;
    const TransferResult result = kind == TransferKind::Store
                                      ? protocol.StoreScreen(job.doc, job.port.c_str(), baudRate, transfer, transfer)
                                      : protocol.MirrorScreen(job.doc, job.port.c_str(), baudRate, transfer);
    PortReport report;
    report.port = job.port;
    report.complete = result.Reached() && !transfer.DrainFailed();
    report.bytesSent = result.bytesSent;
    report.bytesTotal = result.bytesTotal;
    report.result = Describe(result, transfer, device, kind, baudRate);
    report.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    report.sentSha256 = transfer.SentSha256();
    report.finishedUtc = UtcNow();
    return report;
}

}  // namespace

std::vector<PortReport> RunOnPorts(TransferKind kind, const std::vector<PortJob>& jobs, int32_t baudRate,
                                   const StopFlag& stop) {
    std::vector<PortReport> reports(jobs.size());
    std::vector<std::thread> threads;
    threads.reserve(jobs.size());
    for (size_t i = 0; i < jobs.size(); ++i) {
        threads.emplace_back([&, i] { reports[i] = RunOne(kind, jobs[i], baudRate, stop); });
    }
    for (std::thread& thread : threads) thread.join();
    return reports;
}

std::string ReportLine(const PortReport& report) {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.3f", report.seconds);
    return report.port + ": " + report.result + " (" + seconds + " s)";
}

namespace {

// A tab or line break in a name would break the log's columns.
std::string LogField(std::string text) {
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20) c = '?';
    }
    return text;
}

}  // namespace

std::string LogLine(const PortReport& report, const std::string& fileName) {
    return report.finishedUtc + "\t" + LogField(report.port) + "\t" + LogField(fileName) + "\t" + report.sentSha256 +
           "\t" + LogField(report.result);
}
