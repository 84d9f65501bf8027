#include <memory>
#include <optional>

#include "cli/commands/commands.h"
#include "cli/support/help_text.h"
#include "cli/commands/start_screen_input.h"
#include "cli/support/file_access.h"
#include "cli/support/terminal.h"
#include "document/built_in_glyphs.h"
#include "link/display_protocol.h"
#include "render/terminal_glass.h"

namespace {

struct ShowOptions {
    std::string input;
    std::optional<GlassStyle> style;
    ColourChoice colour = ColourChoice::Auto;
};

// The widest drawing that fits the terminal; blocks, which need no colour, where the width is unknown.
GlassStyle FittingStyle(int columns) {
    const int width = TerminalColumns();
    if (width == 0) return GlassStyle::Blocks;
    for (GlassStyle style : {GlassStyle::Blocks, GlassStyle::HalfBlocks}) {
        if (width >= GlassWidth(columns, style)) return style;
    }
    return GlassStyle::Quadrants;
}

// The glass of a module that was sent this screen: 0xFE goes out as a blank.
ModuleGlass GlassOf(const ScreenDocument& doc) {
    ModuleGlass glass;
    glass.rows = static_cast<int>(doc.rows);
    glass.columns = static_cast<int>(doc.columns);
    for (int row = 0; row < glass.rows; ++row) {
        for (int column = 0; column < glass.columns; ++column) {
            glass.text[row][column] = SafeTextByte(doc.cells[static_cast<size_t>(row * glass.columns + column)]);
        }
    }
    glass.userCharacters = PackUserCharacters(doc);
    return glass;
}

void RunShow(const ShowOptions& options) {
    const ExactStartScreen file = LoadStartScreenFile(options.input);
    std::string text;
    const ModuleGlass glass = GlassOf(file.doc);
    const GlassStyle style = options.style ? *options.style : FittingStyle(glass.columns);
    const GlassColour colour = ColourWanted(options.colour) ? GlassColour::On : GlassColour::Off;
    for (const std::string& line : DrawGlass(glass, kBuiltInGlyphs, style, colour)) text += line + "\n";
    WriteOutput("", text);
}

}  // namespace

void AddShowCommand(CLI::App& app) {
    auto options = std::make_shared<ShowOptions>();
    CLI::App* command = app.add_subcommand("show", "Draw a start screen in the terminal as the module shows it");
    AddHelpFooter(*command, "brevant-cli show examples/battery-4x20.kss --style quadrants");
    command->add_option("FILE", options->input, "The start-screen file, - for standard input")->required();
    const std::map<std::string, GlassStyle> styles{
        {"half", GlassStyle::HalfBlocks}, {"blocks", GlassStyle::Blocks}, {"quadrants", GlassStyle::Quadrants}};
    command->add_option("--style", options->style,
                        "blocks: two characters a dot, 238 columns; half: half blocks, 121 columns; quadrants: "
                        "80 columns. Without it, the widest that fits the terminal (blocks when not a terminal)")
        ->transform(CLI::CheckedTransformer(styles))
        ->option_text("blocks|half|quadrants");
    const std::map<std::string, ColourChoice> colours{
        {"auto", ColourChoice::Auto}, {"always", ColourChoice::Always}, {"never", ColourChoice::Never}};
    command->add_option("--color", options->colour,
                        "auto (the default): colour on a terminal unless NO_COLOR is set; always; never")
        ->transform(CLI::CheckedTransformer(colours))
        ->option_text("auto|always|never");
    command->callback([options] { RunShow(*options); });
}
