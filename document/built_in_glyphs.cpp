#include "document/built_in_glyphs.h"

const uint8_t kBuiltInGlyphs[kGlyphTableBytes] = {
#include "glyph_table_data.inc"
};
