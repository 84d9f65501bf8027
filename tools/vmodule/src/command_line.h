#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "render/terminal_glass.h"
#include "tools/vmodule/src/display_geometry.h"
#include "tools/vmodule/src/module_glass.h"

namespace vmodule {

struct Options {
    DisplayGeometry geometry = kGeometry2x20;
    std::optional<std::filesystem::path> link;
    std::optional<std::filesystem::path> state;
    std::optional<std::filesystem::path> dumpTo;
    std::optional<GlassStyle> style;
    std::string note;
    bool powerCycle = false;
    bool dump = false;
    bool quiet = false;
    bool help = false;
    bool version = false;
};

struct ParsedCommandLine {
    std::optional<Options> options;
    std::string error;
};

// The arguments after the program name.
ParsedCommandLine ParseCommandLine(std::span<const std::string_view> arguments);
std::string UsageText();

}  // namespace vmodule
