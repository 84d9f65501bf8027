#include "formats/logo_cells.h"

#include <algorithm>
#include <vector>

#include "formats/format_error.h"

namespace {

constexpr int kCellWidth = 5;
constexpr int kCellHeight = 8;

// Dark ink is a lit dot, as people draw logos: black on white.
bool Inked(uint32_t pixel) {
    const uint32_t red = pixel >> 16 & 0xFF, green = pixel >> 8 & 0xFF, blue = pixel & 0xFF;
    return red * 299 + green * 587 + blue * 114 < 128 * 1000;
}

// The cell's dots as a glyph pattern, top left first.
std::string CellDots(const PixelImage& picture, int cellX, int cellY) {
    std::string dots;
    for (int y = 0; y < kCellHeight; ++y) {
        for (int x = 0; x < kCellWidth; ++x) {
            const size_t at = static_cast<size_t>(cellY * kCellHeight + y) * picture.width + cellX * kCellWidth + x;
            dots += Inked(picture.pixels[at]) ? kLitDot : kDarkDot;
        }
    }
    return dots;
}

}  // namespace

void PlaceLogo(ScreenDocument& doc, const PixelImage& picture, uint32_t row, uint32_t column, const std::string& source) {
    const std::string size = std::to_string(picture.width) + " x " + std::to_string(picture.height);
    if (picture.width == 0 || picture.height == 0 || picture.width % kCellWidth != 0 || picture.height % kCellHeight != 0) {
        throw FormatError(source + ": " + size + " pixels is not a whole number of 5 x 8 cells");
    }
    const uint32_t wide = static_cast<uint32_t>(picture.width / kCellWidth);
    const uint32_t high = static_cast<uint32_t>(picture.height / kCellHeight);
    if (row < 1 || column < 1 || row - 1 + high > doc.rows || column - 1 + wide > doc.columns) {
        throw FormatError(source + ": " + std::to_string(wide) + " x " + std::to_string(high) + " cells at row " +
                             std::to_string(row) + ", column " + std::to_string(column) + " do not fit a screen of " +
                             std::to_string(doc.columns) + " x " + std::to_string(doc.rows));
    }
    const auto inLogo = [&](size_t cell) {
        const size_t y = cell / doc.columns, x = cell % doc.columns;
        return y + 1 >= row && y + 1 < row + high && x + 1 >= column && x + 1 < column + wide;
    };
    std::vector<uint8_t> free;
    for (uint8_t code = 0; code < kUserGlyphCount; ++code) {
        bool shown = false;
        for (size_t cell = 0; cell < UsedCellCount(doc); ++cell) shown = shown || (doc.cells[cell] == code && !inLogo(cell));
        if (!shown) free.push_back(code);
    }

    const std::string blank(kPatternDots, kDarkDot);
    std::vector<std::string> distinct;
    std::vector<std::string> cells;
    for (uint32_t y = 0; y < high; ++y) {
        for (uint32_t x = 0; x < wide; ++x) {
            const std::string dots = CellDots(picture, static_cast<int>(x), static_cast<int>(y));
            cells.push_back(dots);
            if (dots != blank && std::find(distinct.begin(), distinct.end(), dots) == distinct.end()) distinct.push_back(dots);
        }
    }
    if (distinct.size() > free.size()) {
        throw FormatError(source + ": the picture needs " + std::to_string(distinct.size()) +
                             " user characters; " + std::to_string(free.size()) + " of 8 are free");
    }
    for (size_t i = 0; i < distinct.size(); ++i) DrawGlyph(doc.GlyphOf(free[i]), distinct[i]);
    for (uint32_t y = 0; y < high; ++y) {
        for (uint32_t x = 0; x < wide; ++x) {
            const std::string& dots = cells[y * wide + x];
            const size_t index = std::find(distinct.begin(), distinct.end(), dots) - distinct.begin();
            doc.cells[(row - 1 + y) * doc.columns + column - 1 + x] = dots == blank ? kSpace : free[index];
        }
    }
}
