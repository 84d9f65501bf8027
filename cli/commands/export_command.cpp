#include <memory>

#include "cli/commands/commands.h"
#include "cli/support/help_text.h"
#include "cli/commands/start_screen_input.h"
#include "cli/support/file_access.h"
#include "formats/code_export.h"
#include "formats/screen_json.h"
#include "link/transfer_plan.h"

namespace {

struct ExportOptions {
    std::string input;
    std::string format = "json";
    std::string output;
};

void RunExport(const ExportOptions& options) {
    const ExactStartScreen file = LoadStartScreenFile(options.input);
    if (options.format == "json") return WriteOutput(options.output, StartScreenToJson(file));
    if (options.format == "c") return WriteOutput(options.output, StartScreenToC(file.doc));
    if (options.format == "arduino") return WriteOutput(options.output, StartScreenToArduino(file.doc));
    WriteOutput(options.output, StorePlan(file.doc).Bytes());
}

}  // namespace

void AddExportCommand(CLI::App& app) {
    auto options = std::make_shared<ExportOptions>();
    CLI::App* command = app.add_subcommand("export", "Write a start screen as JSON, a C header, an Arduino "
                                                     "fragment or the bytes \"Write to Display\" sends");
    AddHelpFooter(*command, "brevant-cli export examples/logo-2x20.kss --format c -o screen.h");
    command->add_option("FILE", options->input, "The start-screen file, - for standard input")->required();
    command->add_option("-f,--format", options->format, "json (the default), c, arduino or bytes")
        ->check(CLI::IsMember({"json", "c", "arduino", "bytes"}))
        ->option_text("json|c|arduino|bytes");
    command->add_option("-o,--output", options->output, "The file to write (default: standard output)");
    command->callback([options] { RunExport(*options); });
}
