#pragma once
#include <cstdint>

#include "document/screen_document.h"

using GlyphTableBytes = uint8_t[kGlyphTableBytes];

// The built-in glyph table in the program's resources ("Binary" 203); null when the module
// lacks it or it is shorter than a table.
const GlyphTableBytes* FindGlyphTableResource();
