#pragma once

#include <string>
#include <vector>

#include "glyph_dots.h"

namespace vmodule {

enum class RenderStyle {
    // Two characters per dot, "██" lit and "░░" dark; needs no colour but a wide terminal.
    Blocks,
    // One half-block per two dots, coloured like the editor's preview; fits 121 columns.
    HalfBlocks,
    // One quadrant block per two by two dots, lit dots only; fits 80 columns.
    Quadrants,
};

// The module's glass as terminal lines, without line ends.
std::vector<std::string> renderDots(const ModuleInterpreter& module, FontTable font, RenderStyle style);
int renderedWidth(DisplayGeometry geometry, RenderStyle style);

}  // namespace vmodule
