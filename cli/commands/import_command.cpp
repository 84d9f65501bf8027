#include <memory>

#include "cli/commands/commands.h"
#include "cli/support/help_text.h"
#include "cli/support/file_access.h"
#include "formats/screen_json.h"

namespace {

struct ImportOptions {
    std::string input;
    std::string output;
};

void RunImport(const ImportOptions& options) {
    CheckOutputTarget(options.output);
    const std::vector<uint8_t> json = ReadInputFile(options.input);
    const ExactStartScreen file = StartScreenFromJson(std::string(json.begin(), json.end()), options.input);
    WriteOutputFile(options.output, WriteExactStartScreen(file));
}

}  // namespace

void AddImportCommand(CLI::App& app) {
    auto options = std::make_shared<ImportOptions>();
    CLI::App* command = app.add_subcommand("import", "Make a start-screen file from its JSON form (the reverse of "
                                                     "export --format json)");
    AddHelpFooter(*command, "brevant-cli import examples/logo-2x20.json -o logo.kss");
    command->add_option("JSON", options->input, "The JSON file, - for standard input")->required();
    command->add_option("-o,--output", options->output, "The start-screen file to write; - or none for standard output when it is not a terminal");
    command->callback([options] { RunImport(*options); });
}
