#include "render/glyph_dots.h"


bool ModuleDotLit(FontGlyphs font, const PackedUserCharacters& userCharacters, uint8_t code, int dotRow, int dotColumn) {
    if (dotRow < 0 || dotRow >= static_cast<int>(kGlyphRows) || dotColumn < 0 || dotColumn >= kDotColumns) return false;
    if (code < kUserGlyphCount) return (userCharacters[code][dotRow] >> (kDotColumns - 1 - dotColumn)) & 1;
    if (code >= kGlyphCount) return false;
    return font[code * kGlyphBytes + static_cast<size_t>(dotRow) * kGlyphRowBytes + static_cast<size_t>(dotColumn)] != 0;
}

PackedUserCharacters PackUserCharacters(const ScreenDocument& doc) {
    PackedUserCharacters packed{};
    for (size_t code = 0; code < kUserGlyphCount; ++code) {
        for (size_t row = 0; row < kGlyphRows; ++row) {
            packed[code][row] = PackedGlyphRow(doc, code, row);
        }
    }
    return packed;
}
