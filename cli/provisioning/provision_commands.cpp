#include <algorithm>
#include <memory>
#include <string>
#include <vector>
#ifndef _WIN32
#include <unistd.h>
#endif

#include "cli/commands/commands.h"
#include "cli/support/help_text.h"
#include "cli/commands/screen_options.h"
#include "cli/commands/start_screen_input.h"
#include "cli/provisioning/interrupt_watch.h"
#include "cli/provisioning/port_runs.h"
#include "cli/provisioning/production_log.h"
#include "cli/provisioning/records.h"
#include "cli/provisioning/serial_options.h"
#include "cli/support/command_failure.h"
#include "cli/support/file_access.h"
#include "cli/support/option_checks.h"
#include "cli/support/sha256.h"
#include "document/built_in_glyphs.h"
#include "document/exact_start_screen.h"
#include "formats/serial_stamp.h"
#include "link/link_settings.h"

namespace {

struct ProvisionOptions {
    std::string file;
    std::vector<std::string> ports;
    int32_t baudRate = kDefaultBaudRate;
    std::vector<std::string> lines;
    std::string serialFrom;
    std::string log;
    std::string records;
    std::string bench;
};

// This run's entries in the production records, one a module, made before any byte goes out.
struct RecordedRun {
    std::unique_ptr<Records> records;
    std::vector<StoreRecord> entries;
};

std::string HostName() {
    char name[256] = {};
#ifndef _WIN32
    if (gethostname(name, sizeof name - 1) != 0) return "unknown";
#endif
    return name[0] != '\0' ? name : "unknown";
}

StoreRecord EntryFor(const ProvisionOptions& options, const std::string& port, const std::string& screenSha256) {
    StoreRecord entry;
    entry.timeUtc = UtcNow();
    entry.bench = options.bench.empty() ? HostName() : options.bench;
    entry.port = port;
    entry.screenFile = options.file;
    entry.screenSha256 = screenSha256;
    entry.result = "allocated";
    return entry;
}

std::vector<PortJob> JobsFor(const ProvisionOptions& options, RecordedRun* recorded) {
    CheckSerialOptions(options.lines, options.serialFrom, recorded != nullptr);
    const std::vector<uint8_t> file = ReadInputFile(options.file);
    const ScreenDocument doc = ReadExactStartScreen(file.data(), file.size(), kBuiltInGlyphs).doc;
    Sha256 fileHash;
    fileHash.Update(file.data(), file.size());
    const std::string screenSha256 = fileHash.FinishHex();
    const bool numbered = std::any_of(options.lines.begin(), options.lines.end(), HoldsSerial);
    const uint64_t seriesStart = options.serialFrom.empty() ? 1 : std::stoull(options.serialFrom);
    // Every module's screen is made before the first byte goes out, so a text that does not
    // fit one of them stops the run with every module untouched.
    std::vector<PortJob> jobs;
    for (size_t i = 0; i < options.ports.size(); ++i) {
        PortJob job{options.ports[i], doc};
        std::vector<std::string> lines = LinesForModule(options.lines, options.serialFrom, i);
        if (recorded != nullptr) {
            StoreRecord entry = EntryFor(options, options.ports[i], screenSha256);
            if (numbered) {
                const uint64_t serial = recorded->records->Allocate(seriesStart, entry);
                lines = LinesWithSerial(options.lines, serial, options.serialFrom.size());
            } else {
                recorded->records->Add(entry);
            }
            recorded->entries.push_back(entry);
        }
        try {
            ApplyLineOptions(job.doc, lines, options.file + " for " + options.ports[i]);
        } catch (const CommandFailure& failure) {
            // The numbers taken stay taken, marked as never sent.
            if (recorded != nullptr) {
                for (StoreRecord& entry : recorded->entries) {
                    entry.result = std::string("not sent: ") + failure.what();
                    recorded->records->Finish(entry);
                }
            }
            throw;
        }
        jobs.push_back(std::move(job));
    }
    return jobs;
}

std::string SerialNote(const StoreRecord& entry, size_t width) {
    if (!entry.serial) return "";
    std::string digits = std::to_string(*entry.serial);
    if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
    return " serial " + digits;
}

void Run(TransferKind kind, const ProvisionOptions& options) {
    // The records and the log are opened before any module is touched: a database that cannot be
    // reached or written stops the run before a byte is sent.
    RecordedRun recorded;
    if (!options.records.empty()) recorded.records = OpenRecords(options.records);
    ProductionLog log(options.log);
    const std::vector<PortJob> jobs = JobsFor(options, recorded.records ? &recorded : nullptr);
    StopFlag stop;
    std::vector<PortReport> reports;
    {
        InterruptWatch watch(stop);
        reports = RunOnPorts(kind, jobs, options.baudRate, stop);
    }
    std::string logLines;
    size_t failed = 0;
    size_t unrecorded = 0;
    std::string recordFailure;
    for (size_t i = 0; i < reports.size(); ++i) {
        const PortReport& report = reports[i];
        std::string note;
        if (recorded.records) {
            StoreRecord& entry = recorded.entries[i];
            entry.timeUtc = report.finishedUtc;
            entry.result = report.result;
            entry.complete = report.complete;
            entry.sentSha256 = report.sentSha256;
            entry.bytesSent = report.bytesSent;
            entry.bytesTotal = report.bytesTotal;
            note = SerialNote(entry, options.serialFrom.size());
            try {
                recorded.records->Finish(entry);
            } catch (const CommandFailure& failure) {
                ++unrecorded;
                recordFailure = failure.what();
            }
        }
        std::printf("%s%s\n", ReportLine(report).c_str(), note.c_str());
        logLines += LogLine(report, options.file) + note + "\n";
        if (!report.complete) ++failed;
    }
    std::fflush(stdout);
    log.Append(logLines);
    if (unrecorded > 0) {
        throw CommandFailure(std::to_string(unrecorded) + " of " + std::to_string(reports.size()) +
                             " records could not be written (" + recordFailure + ")" +
                             (options.log.empty() ? "" : "; the log " + options.log + " holds them"));
    }
    if (failed == 0) return;
    const std::string count = std::to_string(failed) + " of " + std::to_string(reports.size()) + " ports";
    throw CommandFailure((stop.Raised() ? "interrupted: " : "") + count +
                         (kind == TransferKind::Store ? " not stored" : " not mirrored"));
}

}  // namespace

void AddStoreCommand(CLI::App& app) {
    auto options = std::make_shared<ProvisionOptions>();
    CLI::App* command = app.add_subcommand(
        "store", "Store a start screen in modules as their power-on screen, as \"Write to Display\" does; "
                 "every port at once");
    AddHelpFooter(*command, "brevant-cli store fw.kss --port /dev/ttyUSB0 --port /dev/ttyUSB1 --line '4=SN {serial}' --serial-from 0042");
    command->add_option("FILE", options->file, "The start-screen file")->required();
    command->add_option("--port", options->ports, "A module's serial device; repeat for more modules")
        ->required()
        ->type_name("DEVICE");
    command->add_option("--baud", options->baudRate, "Line speed in baud (default 19200)")->check(kWholeNumber)->option_text("N");
    command->add_option("--line", options->lines, "Row N (from 1) becomes TEXT before sending, as for new; "
                                                  "{serial} is the module's serial number")
        ->type_name("N=TEXT");
    command->add_option("--serial-from", options->serialFrom, "Serial number of the first --port's module; "
                                                               "the next get N+1, N+2, ...")
        ->type_name("N");
    command->add_option("--log", options->log, "Append one line per module: time, port, file, SHA-256 of the "
                                                "bytes sent, result")
        ->type_name("FILE");
    command->add_option("--records", options->records,
                        "Keep a record of every module in DB, an SQLite file or a postgresql:// URI shared by "
                        "benches; {serial} then takes the next free number from it")
        ->type_name("DB");
    command->add_option("--bench", options->bench, "This bench's name in the records (default: the host name)")
        ->type_name("NAME");
    command->callback([options] { Run(TransferKind::Store, *options); });
}

void AddMirrorCommand(CLI::App& app) {
    auto options = std::make_shared<ProvisionOptions>();
    options->ports.resize(1);
    CLI::App* command =
        app.add_subcommand("mirror", "Show a start screen on a module now, as the editor mirrors it");
    AddHelpFooter(*command, "brevant-cli mirror fw.kss --port /dev/ttyUSB0");
    command->add_option("FILE", options->file, "The start-screen file")->required();
    command->add_option("--port", options->ports[0], "The module's serial device")->required()->type_name("DEVICE");
    command->add_option("--baud", options->baudRate, "Line speed in baud (default 19200)")->check(kWholeNumber)->option_text("N");
    command->callback([options] { Run(TransferKind::Mirror, *options); });
}
