#pragma once

#include <span>

#include "module_interpreter.h"

namespace vmodule {

inline constexpr int kFontGlyphCount = 255;
inline constexpr int kFontPixelsPerRow = 7;
inline constexpr int kFontGlyphBytes = kCharacterRowCount * kFontPixelsPerRow;
inline constexpr int kFontTableBytes = kFontGlyphCount * kFontGlyphBytes;
inline constexpr int kDotColumns = 5;

// The editor's glyph table: glyph k at k * 56, row r at + r * 7, pixel p at + p.
using FontTable = std::span<const unsigned char, kFontTableBytes>;

// Codes 0-7 are the module's current user characters, code 255 is blank,
// all others come from the font.
bool dotLit(FontTable font, const UserCharacters& userCharacters, unsigned char code, int dotRow, int dotColumn);

}  // namespace vmodule
