#pragma once

#include <string>

#include "tools/vmodule/src/module_interpreter.h"

namespace vmodule {

// Line-oriented "key: value" text of everything the module holds; the
// format is described in the README because scripts grep it.
std::string FormatDump(const ModuleInterpreter& module);

}  // namespace vmodule
