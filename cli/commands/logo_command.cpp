#include <memory>

#include "cli/commands/commands.h"
#include "cli/support/help_text.h"
#include "cli/commands/screen_options.h"
#include "cli/commands/start_screen_input.h"
#include "cli/support/command_failure.h"
#include "cli/support/file_access.h"
#include "formats/logo_cells.h"
#include "formats/png_image.h"

namespace {

struct LogoOptions {
    std::string picture;
    std::string from;
    std::string geometry = "2x20";
    uint32_t rows = 0;
    std::vector<uint32_t> at;
    std::string output;
};

void RunLogo(const LogoOptions& options) {
    CheckOutputTarget(options.output);
    if (options.at[0] == 0 || options.at[1] == 0) throw UsageFailure("--at: rows and columns count from 1");
    PixelImage picture;
    std::string error;
    if (!DecodePng(ReadInputFile(options.picture), picture, error)) {
        throw CommandFailure(options.picture + ": " + error);
    }
    ScreenDocument doc = StartingScreen(options.from, options.geometry, options.rows);
    PlaceLogo(doc, picture, options.at[0], options.at[1], options.picture);
    SaveStartScreenFile(options.output, doc);
}

}  // namespace

void AddLogoCommand(CLI::App& app) {
    auto options = std::make_shared<LogoOptions>();
    CLI::App* command = app.add_subcommand("logo", "Place a black-and-white PNG picture on a start screen as user "
                                                   "characters, 5 x 8 pixels a cell");
    AddHelpFooter(*command, "brevant-cli logo examples/brevant-logo.png --from fw.kss --at 2,17 -o logo.kss");
    command->add_option("PNG", options->picture, "The picture: dark pixels are lit dots; - for standard input")->required();
    auto* from = command->add_option("--from", options->from, "Start from this start-screen file (- for standard input)");
    auto* geometry = command->add_option("--geometry", options->geometry, "Size of a new screen (default 2x20)")
                         ->check(CLI::IsMember(GeometryChoices()))
                         ->option_text("2x20|2x16|4x20");
    auto* rows = command->add_option("--rows", options->rows, "Rows of a new 2x16 screen (default 2)")
                     ->check(CLI::IsMember({2, 4}))->option_text("2|4");
    command->add_option("--at", options->at, "Row and column (from 1) of the picture's top left cell")
        ->required()
        ->delimiter(',')
        ->expected(2)
        ->type_name("ROW,COLUMN");
    command->add_option("-o,--output", options->output, "The start-screen file to write; - or none for standard output when it is not a terminal");
    from->excludes(geometry);
    from->excludes(rows);
    command->callback([options] { RunLogo(*options); });
}
