#include "render/preview_raster.h"

#include <algorithm>

namespace {

class Painter {
public:
    Painter(const ScreenDocument& doc, const PreviewMarks* marks, const PixelTarget& target)
        : doc_(doc), marks_(marks), target_(target) {}

    // Fills (x0, y0)-(x1, y1), right and bottom edge excluded, clipped to the target.
    void Fill(int x0, int y0, int x1, int y1, uint32_t colour) const {
        const int left = std::max(x0 - target_.left, 0);
        const int top = std::max(y0 - target_.top, 0);
        const int right = std::min(x1 - target_.left, target_.width);
        const int bottom = std::min(y1 - target_.top, target_.height);
        if (left >= right || top >= bottom) return;
        for (int y = top; y < bottom; ++y) {
            uint32_t* row = target_.pixels + static_cast<ptrdiff_t>(y) * target_.stride;
            std::fill(row + left, row + right, colour);
        }
    }

    void Box(int x, int y, uint32_t code) const {
        Fill(x, y, x + kBoxWidth, y + kBoxHeight, UnderCursor(x, y) ? kCursorBlue : kCellBlue);
        if (code >= kGlyphCount) return;  // 255 has no glyph and shows as a blank cell
        const uint8_t* glyph = doc_.GlyphOf(code).data();
        for (int row = 0; row < static_cast<int>(kGlyphRows); ++row) {
            for (int column = 0; column < kDrawnDotColumns; ++column) {
                if (!IsLit(glyph[row * kGlyphRowBytes + column])) continue;
                const int left = x + kDotPitch * column;
                const int top = y + kDotPitch * row;
                Fill(left, top, left + kDotSize, top + kDotSize, kPixelWhite);
            }
        }
    }

private:
    bool UnderCursor(int x, int y) const {
        return marks_ != nullptr && x / kCellPitchX == marks_->cursorColumn && y / kCellPitchY == marks_->cursorRow;
    }

    const ScreenDocument& doc_;
    const PreviewMarks* marks_;
    const PixelTarget& target_;
};

}  // namespace

void RenderPreview(const ScreenDocument& doc, const PreviewMarks* marks, int backgroundWidth, int backgroundHeight,
                   const PixelTarget& target) {
    if (target.pixels == nullptr || target.width <= 0 || target.height <= 0 || target.stride < target.width) return;
    const Painter painter(doc, marks, target);
    painter.Fill(0, 0, backgroundWidth, backgroundHeight, kWindowGrey);
    painter.Fill(0, 0, PanelWidth(doc), PanelHeight(doc), kPanelBlue);

    const size_t used = UsedCellCount(doc);
    for (size_t index = 0; index < used; ++index) {
        const int column = static_cast<int>(index % doc.columns);
        const int row = static_cast<int>(index / doc.columns);
        painter.Box(kCellPitchX * column, kCellPitchY * row, doc.cells[index]);
    }
    for (int slot = 0; slot < static_cast<int>(kUserGlyphCount); ++slot)
        painter.Box(SlotLeft(doc, slot), PaletteTop(doc), static_cast<uint32_t>(slot));

    if (marks != nullptr && marks->dragging && InsideGrid(doc, marks->mouseColumn, marks->mouseRow))
        painter.Box(kCellPitchX * marks->mouseColumn, kCellPitchY * marks->mouseRow, marks->draggedCode & 0xFF);
}

bool RenderPanel(const ScreenDocument& doc, std::span<uint32_t> pixels) {
    const int width = PanelWidth(doc);
    const int height = PanelHeight(doc);
    if (UsedCellCount(doc) != static_cast<size_t>(doc.columns) * doc.rows) return false;
    if (pixels.size() < static_cast<size_t>(width) * static_cast<size_t>(height)) return false;
    RenderPreview(doc, nullptr, width, height, PixelTarget{pixels.data(), width, height, width, 0, 0});
    return true;
}
