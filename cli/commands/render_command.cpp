#include <memory>

#include "cli/commands/commands.h"
#include "cli/support/help_text.h"
#include "cli/commands/start_screen_input.h"
#include "cli/support/command_failure.h"
#include "cli/support/file_access.h"
#include "formats/png_image.h"
#include "render/preview_raster.h"

namespace {

struct RenderOptions {
    std::string input;
    std::string output;
    int scale = 1;
};

PixelImage Scaled(const PixelImage& image, int scale) {
    PixelImage scaled{image.width * scale, image.height * scale, {}};
    scaled.pixels.resize(static_cast<size_t>(scaled.width) * static_cast<size_t>(scaled.height));
    for (int y = 0; y < scaled.height; ++y) {
        for (int x = 0; x < scaled.width; ++x) {
            scaled.pixels[static_cast<size_t>(y) * scaled.width + x] =
                image.pixels[static_cast<size_t>(y / scale) * image.width + x / scale];
        }
    }
    return scaled;
}

void RunRender(const RenderOptions& options) {
    CheckOutputTarget(options.output);
    const ExactStartScreen file = LoadStartScreenFile(options.input);
    PixelImage panel{PanelWidth(file.doc), PanelHeight(file.doc), {}};
    panel.pixels.resize(static_cast<size_t>(panel.width) * static_cast<size_t>(panel.height));
    if (!RenderPanel(file.doc, panel.pixels)) throw CommandFailure(options.input + ": the screen cannot be drawn");
    const std::vector<uint8_t> png = EncodePng(Scaled(panel, options.scale));
    if (png.empty()) throw CommandFailure("the PNG could not be encoded");
    WriteOutputFile(options.output, png);
}

}  // namespace

void AddRenderCommand(CLI::App& app) {
    auto options = std::make_shared<RenderOptions>();
    CLI::App* command = app.add_subcommand("render", "Draw the text panel of a start screen as a PNG picture, as "
                                                     "the editor's preview draws it");
    AddHelpFooter(*command, "brevant-cli render examples/weather-2x20.kss --scale 2 -o weather.png");
    command->add_option("FILE", options->input, "The start-screen file, - for standard input")->required();
    command->add_option("-o,--output", options->output,
                        "The PNG file to write; - or none for standard output when it is not a terminal");
    command->add_option("--scale", options->scale, "Whole-number enlargement, 1 to 8 (default 1: the editor's pixels)")
        ->check(CLI::Range(1, 8))
        ->option_text("1-8");
    command->callback([options] { RunRender(*options); });
}
