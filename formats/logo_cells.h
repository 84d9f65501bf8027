#pragma once
#include <cstdint>
#include <string>

#include "document/screen_document.h"
#include "formats/png_image.h"

// Cuts a black-and-white picture into 5 x 8 cells placed with their top left at row, column
// (from 1): blank cells become spaces, identical cells share one user character. Only user
// characters that the rest of the text does not show are taken; a picture that needs more is
// refused, naming `source` and the count it needs, and the document is left as it was.
void PlaceLogo(ScreenDocument& doc, const PixelImage& picture, uint32_t row, uint32_t column, const std::string& source);
