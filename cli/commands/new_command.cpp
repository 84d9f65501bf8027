#include <memory>

#include "cli/commands/commands.h"
#include "cli/support/help_text.h"
#include "cli/commands/screen_options.h"
#include "cli/commands/start_screen_input.h"
#include "cli/support/file_access.h"
#include "cli/support/command_failure.h"

namespace {

struct NewOptions {
    std::string geometry;
    uint32_t rows = 0;
    std::string from;
    std::vector<std::string> lines;
    std::vector<std::string> characters;
    std::string output;
};

void RunNew(const NewOptions& options) {
    CheckOutputTarget(options.output);
    ScreenDocument doc = StartingScreen(options.from, options.geometry, options.rows);
    ApplyCharOptions(doc, options.characters);
    ApplyLineOptions(doc, options.lines, options.output.empty() || options.output == "-" ? "standard output" : options.output);
    SaveStartScreenFile(options.output, doc);
}

}  // namespace

void AddNewCommand(CLI::App& app) {
    auto options = std::make_shared<NewOptions>();
    CLI::App* command = app.add_subcommand("new", "Make a start screen: blank, or a copy of another with rows and "
                                                  "user characters replaced");
    AddHelpFooter(*command, "brevant-cli new --geometry 4x20 --line '1=Firmware 2.4.1' -o fw.kss");
    auto* geometry = command->add_option("--geometry", options->geometry, "Size of a new screen")
                         ->check(CLI::IsMember(GeometryChoices()))
                         ->option_text("2x20|2x16|4x20");
    command->add_option("--rows", options->rows, "Rows of a 2x16 screen (default 2)")->check(CLI::IsMember({2, 4}))->option_text("2|4");
    auto* from = command->add_option("--from", options->from, "Start from this start-screen file instead (- for standard input)");
    command->add_option("--line", options->lines, "Row N (from 1) becomes TEXT, padded with blanks; "
                                                  "\\0-\\7 are the user characters, \\xHH any byte")
        ->type_name("N=TEXT");
    command->add_option("--char", options->characters, "User character N (0-7) becomes 40 dots, '#' lit, '.' dark, "
                                                        "top row first")
        ->type_name("N=PATTERN");
    command->add_option("-o,--output", options->output, "The start-screen file to write; - or none for standard output when it is not a terminal");
    geometry->excludes(from);
    from->excludes("--rows");
    command->callback([options] {
        if (options->geometry.empty() && options->from.empty()) throw UsageFailure("new: give --geometry or --from");
        RunNew(*options);
    });
}
