#pragma once
#include <array>
#include <cstdint>
#include <span>

#include "document/screen_document.h"

// The glyph table a module's own characters are drawn from: glyph k at k * 56, row r at + r * 7.
using FontGlyphs = std::span<const uint8_t, kGlyphTableBytes>;

// A user character as the module holds it: one byte a dot row, top first, bit 4 the leftmost dot.
using PackedCharacter = std::array<uint8_t, kGlyphRows>;
using PackedUserCharacters = std::array<PackedCharacter, kUserGlyphCount>;

// What the module shows: codes 0-7 from the user characters it holds, 255 blank, the others from
// the font. Dots outside the 5 x 8 cell are dark.
bool ModuleDotLit(FontGlyphs font, const PackedUserCharacters& userCharacters, uint8_t code, int dotRow, int dotColumn);

// The document's user characters as the module receives them.
PackedUserCharacters PackUserCharacters(const ScreenDocument& doc);
