#include <memory>

#include "cli/commands/commands.h"
#include "cli/commands/start_screen_input.h"
#include "cli/support/file_access.h"
#include "document/built_in_glyphs.h"
#include "link/display_protocol.h"
#include "render/terminal_glass.h"

namespace {

struct ShowOptions {
    std::string input;
    GlassStyle style = GlassStyle::HalfBlocks;
};

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
    for (const std::string& line : DrawGlass(GlassOf(file.doc), kBuiltInGlyphs, options.style)) text += line + "\n";
    WriteOutput("", text);
}

}  // namespace

void AddShowCommand(CLI::App& app) {
    auto options = std::make_shared<ShowOptions>();
    CLI::App* command = app.add_subcommand("show", "Draw a start screen in the terminal as the module shows it");
    command->add_option("FILE", options->input, "The start-screen file")->required();
    const std::map<std::string, GlassStyle> styles{
        {"half", GlassStyle::HalfBlocks}, {"blocks", GlassStyle::Blocks}, {"quadrants", GlassStyle::Quadrants}};
    command->add_option("--style", options->style,
                        "half: coloured half blocks, 121 columns (the default); blocks: two characters a dot, no "
                        "colour; quadrants: fits 80 columns")
        ->transform(CLI::CheckedTransformer(styles));
    command->callback([options] { RunShow(*options); });
}
