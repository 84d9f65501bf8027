#pragma once
#include <cstddef>
#include <cstdint>

#include "document/screen_document.h"

enum class RowTextResult { Stamped, NoSuchRow, TooLong };

// Row `row` (counted from 1, as the module counts them) becomes the text followed by blanks.
// A text longer than the row is refused whole: a cut serial number is a wrong serial number.
RowTextResult StampRowText(ScreenDocument& doc, uint32_t row, const uint8_t* text, size_t length);
