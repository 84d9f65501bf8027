#pragma once

#include "render/glyph_dots.h"
#include "tools/vmodule/src/command_line.h"

namespace vmodule {

// Serves the module on its pseudo-terminal until a terminating signal; the
// exit status for main.
int RunLiveModule(const Options& options, ModuleInterpreter& module, FontGlyphs font);

}  // namespace vmodule
