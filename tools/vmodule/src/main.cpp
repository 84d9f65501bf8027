#include <iostream>
#include <string_view>
#include <vector>

#include "brevant_version.h"
#include "document/built_in_glyphs.h"
#include "render/glyph_dots.h"
#include "tools/vmodule/src/command_line.h"
#include "tools/vmodule/src/live_module.h"
#include "tools/vmodule/src/module_interpreter.h"
#include "tools/vmodule/src/state_dump.h"
#include "tools/vmodule/src/state_file.h"

int main(int argc, char** argv) {
    using namespace vmodule;
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const ParsedCommandLine parsed = ParseCommandLine(arguments);
    if (!parsed.options) {
        std::cerr << "vmodule: " << parsed.error << "\n" << UsageText();
        return 2;
    }
    const Options& options = *parsed.options;
    if (options.help) {
        std::cout << UsageText();
        return 0;
    }
    if (options.version) {
        std::cout << "vmodule " BREVANT_VERSION "\n";
        return 0;
    }

    ModuleInterpreter module(options.geometry);
    if (options.state) {
        const LoadedState loaded = LoadStateFile(*options.state, options.geometry);
        if (loaded.status == LoadedState::Status::Invalid) {
            std::cerr << "vmodule: " << loaded.error << "\n";
            return 1;
        }
        if (loaded.status == LoadedState::Status::Loaded) module.LoadStore(loaded.store);
    }
    if (options.powerCycle) module.PowerCycle();
    if (options.dump) {
        std::cout << FormatDump(module);
        return std::cout.flush() ? 0 : 1;
    }
    return RunLiveModule(options, module, FontGlyphs(kBuiltInGlyphs));
}
