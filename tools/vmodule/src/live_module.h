#pragma once

#include "command_line.h"
#include "glyph_dots.h"

namespace vmodule {

// Serves the module on its pseudo-terminal until a terminating signal; the
// exit status for main.
int runLiveModule(const Options& options, ModuleInterpreter& module, FontTable font);

}  // namespace vmodule
