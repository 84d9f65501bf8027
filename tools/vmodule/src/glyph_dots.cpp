#include "glyph_dots.h"

namespace vmodule {

bool dotLit(FontTable font, const UserCharacters& userCharacters, unsigned char code, int dotRow, int dotColumn)
{
    if (dotRow < 0 || dotRow >= kCharacterRowCount || dotColumn < 0 || dotColumn >= kDotColumns) return false;
    if (code < kUserCharacterCount) return (userCharacters[code][dotRow] >> (kDotColumns - 1 - dotColumn)) & 1;
    if (code >= kFontGlyphCount) return false;
    return font[static_cast<std::size_t>(code * kFontGlyphBytes + dotRow * kFontPixelsPerRow + dotColumn)] != 0;
}

}  // namespace vmodule
