#include "font_table.h"

namespace vmodule {

const unsigned char kGlyphTableData[14280] = {
#include "glyph_table_data.inc"
};

}  // namespace vmodule
