#pragma once

#include "render/terminal_glass.h"
#include "tools/vmodule/src/module_interpreter.h"

namespace vmodule {

// What the module's glass shows right now, for the shared terminal drawing.
inline ModuleGlass GlassOf(const ModuleInterpreter& module) {
    ModuleGlass glass;
    glass.rows = module.Geometry().rows;
    glass.columns = module.Geometry().columns;
    glass.text = module.Display();
    glass.userCharacters = module.UserGlyphs();
    return glass;
}

}  // namespace vmodule
