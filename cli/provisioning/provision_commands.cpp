#include <memory>
#include <string>
#include <vector>

#include "cli/commands/commands.h"
#include "cli/support/help_text.h"
#include "cli/commands/screen_options.h"
#include "cli/commands/start_screen_input.h"
#include "cli/provisioning/interrupt_watch.h"
#include "cli/provisioning/port_runs.h"
#include "cli/provisioning/production_log.h"
#include "cli/provisioning/serial_options.h"
#include "cli/support/command_failure.h"
#include "cli/support/option_checks.h"
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
};

std::vector<PortJob> JobsFor(const ProvisionOptions& options) {
    CheckSerialOptions(options.lines, options.serialFrom);
    const ScreenDocument doc = LoadStartScreenFile(options.file).doc;
    // Every module's screen is made before the first byte goes out, so a text that does not
    // fit one of them stops the run with every module untouched.
    std::vector<PortJob> jobs;
    for (size_t i = 0; i < options.ports.size(); ++i) {
        PortJob job{options.ports[i], doc};
        ApplyLineOptions(job.doc, LinesForModule(options.lines, options.serialFrom, i),
                         options.file + " for " + options.ports[i]);
        jobs.push_back(std::move(job));
    }
    return jobs;
}

void Run(TransferKind kind, const ProvisionOptions& options) {
    const std::vector<PortJob> jobs = JobsFor(options);
    ProductionLog log(options.log);
    StopFlag stop;
    std::vector<PortReport> reports;
    {
        InterruptWatch watch(stop);
        reports = RunOnPorts(kind, jobs, options.baudRate, stop);
    }
    std::string logLines;
    size_t failed = 0;
    for (const PortReport& report : reports) {
        std::printf("%s\n", ReportLine(report).c_str());
        logLines += LogLine(report, options.file) + "\n";
        if (!report.complete) ++failed;
    }
    std::fflush(stdout);
    log.Append(logLines);
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
