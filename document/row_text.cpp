#include "document/row_text.h"

#include <algorithm>

RowTextResult StampRowText(ScreenDocument& doc, uint32_t row, const uint8_t* text, size_t length) {
    if (row < 1 || row > doc.rows || static_cast<size_t>(row) * doc.columns > UsedCellCount(doc)) {
        return RowTextResult::NoSuchRow;
    }
    if (length > doc.columns) return RowTextResult::TooLong;
    uint8_t* first = doc.cells.data() + (row - 1u) * doc.columns;
    std::copy_n(text, length, first);
    std::fill(first + length, first + doc.columns, kSpace);
    return RowTextResult::Stamped;
}
