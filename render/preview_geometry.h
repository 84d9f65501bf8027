#pragma once
#include <cstdint>

#include "document/screen_document.h"

// Pixel geometry of the preview, shared by every drawing of it and by the editor's hit testing.
inline constexpr int kCellPitchX = 17;
inline constexpr int kCellPitchY = 26;
inline constexpr int kBoxWidth = 15;
inline constexpr int kBoxHeight = 24;
inline constexpr int kDotPitch = 3;
inline constexpr int kDotSize = 2;
inline constexpr int kDrawnDotColumns = 6;  // byte 6 of a glyph row is never drawn
inline constexpr int kSlotPitch = 30;
inline constexpr int kPaletteGap = 8;

// Colours as 32-bit pixels 0x00RRGGBB, the layout of a 32-bit top-down DIB section.
inline constexpr uint32_t kWindowGrey = 0xB4B4B4;
inline constexpr uint32_t kPanelBlue = 0x394AD4;
inline constexpr uint32_t kCellBlue = 0x394AB4;
inline constexpr uint32_t kCursorBlue = 0x4D54FF;
inline constexpr uint32_t kPixelWhite = 0xFFFFFF;

inline constexpr int kNoSlot = -1;

inline int PanelWidth(const ScreenDocument& doc) { return kCellPitchX * static_cast<int>(doc.columns); }
inline int PanelHeight(const ScreenDocument& doc) { return kCellPitchY * static_cast<int>(doc.rows); }
inline int PaletteTop(const ScreenDocument& doc) { return PanelHeight(doc) + kPaletteGap; }
inline int SlotLeft(const ScreenDocument& doc, int slot) { return doc.paletteOffset + kSlotPitch * slot; }

// 0x78 ("x") is lit too: hand-edited files mark dots with x, and they must show as drawn.
inline bool IsLit(uint8_t pixel) { return pixel == 1 || pixel == 0x78; }

struct CellPosition {
    int32_t column = 0;
    int32_t row = 0;
};

// The cell a mouse position tracks. Points left of or above the preview arrive while it holds the
// mouse; truncating them toward zero would put them in the first column or row.
inline CellPosition TrackedCell(int x, int y) {
    const auto cellOf = [](int position, int pitch) { return position < 0 ? -1 : position / pitch; };
    return {cellOf(x, kCellPitchX), cellOf(y, kCellPitchY)};
}

// The cell a press lands on. The column truncates toward zero, so the pixels just left of the
// panel still press column 0; a point above it presses none.
inline CellPosition PressedCell(int x, int y) {
    if (y < 0) return {-1, -1};
    return {x / kCellPitchX, y / kCellPitchY};
}

// The palette slot whose hit area holds the point: one pixel inside the drawn box at the top,
// bottom and left, one pixel beyond it at the right.
inline int PaletteSlotAt(const ScreenDocument& doc, int x, int y) {
    const uint32_t top = static_cast<uint32_t>(PaletteTop(doc));
    const uint32_t uy = static_cast<uint32_t>(y);
    if (!(top < uy && uy < top + 23)) return kNoSlot;
    const uint32_t ux = static_cast<uint32_t>(x);
    for (int slot = 0; slot < static_cast<int>(kUserGlyphCount); ++slot) {
        const uint32_t left = static_cast<uint32_t>(SlotLeft(doc, slot));
        if (left < ux && ux < left + kCellPitchX) return slot;
    }
    return kNoSlot;
}
