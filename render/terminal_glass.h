#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "render/glyph_dots.h"

inline constexpr int kGlassMaxRows = 4;
inline constexpr int kGlassMaxColumns = 20;

using GlassText = std::array<std::array<uint8_t, kGlassMaxColumns>, kGlassMaxRows>;

// What a module's glass shows: the character codes in its cells and the user characters it holds.
struct ModuleGlass {
    int rows = 0;
    int columns = 0;
    GlassText text{};
    PackedUserCharacters userCharacters{};
};

enum class GlassStyle {
    // Two characters per dot, "██" lit and "░░" dark; needs no colour but a wide terminal.
    Blocks,
    // One half-block per two dots, coloured like the editor's preview; fits 121 columns.
    HalfBlocks,
    // One quadrant block per two by two dots, lit dots only; fits 80 columns.
    Quadrants,
};

// Without colour the half blocks and quadrants show the lit dots by their shapes alone.
enum class GlassColour { On, Off };

// The glass as terminal lines, without line ends.
std::vector<std::string> DrawGlass(const ModuleGlass& glass, FontGlyphs font, GlassStyle style,
                                   GlassColour colour = GlassColour::On);
int GlassWidth(int columns, GlassStyle style);
