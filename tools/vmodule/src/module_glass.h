#pragma once

#include "render/terminal_glass.h"
#include "tools/vmodule/src/module_interpreter.h"

namespace vmodule {

// What the module's glass shows right now, for the shared terminal drawing.
inline ModuleGlass GlassOf(const ModuleInterpreter& module)
{
    ModuleGlass glass;
    glass.rows = module.geometry().rows;
    glass.columns = module.geometry().columns;
    glass.text = module.display();
    glass.userCharacters = module.userCharacters();
    return glass;
}

}  // namespace vmodule
