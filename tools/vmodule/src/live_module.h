#pragma once

#include "tools/vmodule/src/command_line.h"
#include "render/glyph_dots.h"

namespace vmodule {

// Serves the module on its pseudo-terminal until a terminating signal; the
// exit status for main.
int runLiveModule(const Options& options, ModuleInterpreter& module, FontGlyphs font);

}  // namespace vmodule
