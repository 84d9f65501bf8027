#pragma once

#include "glyph_dots.h"

namespace vmodule {

// The built-in font, generated at build time from the editor's font source.
extern const unsigned char kGlyphTableData[kFontTableBytes];

inline FontTable builtInFont()
{
    return FontTable(kGlyphTableData);
}

}  // namespace vmodule
