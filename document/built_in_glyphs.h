#pragma once
#include <cstdint>

#include "document/screen_document.h"

// The font the editor ships as its glyph resource, for programs that have no resources.
extern const uint8_t kBuiltInGlyphs[kGlyphTableBytes];
