#include "view/char_editor_dialog.h"
#include "view/preview_layout.h"
#include "view/screen_view.h"

namespace {

constexpr WPARAM kBackspace = 8;
constexpr WPARAM kFirstTyped = 0x20;
constexpr WPARAM kLastTyped = 0xFD;

}  // namespace

uint8_t* ScreenView::CellAt(int32_t column, int32_t row) {
    const int64_t index = static_cast<int64_t>(row) * doc_.columns + column;
    if (index < 0 || index >= static_cast<int64_t>(kCellCount)) return nullptr;
    return &doc_.cells[static_cast<size_t>(index)];
}

LRESULT ScreenView::OnChar(WPARAM code) {
    // A size change or a load may have left the cursor outside the grid.
    ClampCursor();
    uint8_t* cell = CellAt(state_.cursorColumn, state_.cursorRow);
    if (code >= kFirstTyped && code <= kLastTyped) {
        if (cell != nullptr) *cell = static_cast<uint8_t>(code);
        if (state_.cursorColumn < static_cast<int32_t>(doc_.columns) - 1) ++state_.cursorColumn;
    } else if (code == kBackspace && state_.cursorColumn >= 0) {
        if (cell != nullptr) *cell = kSpace;
        if (--state_.cursorColumn < 0) {
            if (state_.cursorRow != 0) {
                state_.cursorColumn = static_cast<int32_t>(doc_.columns) - 1;
                --state_.cursorRow;
            } else {
                state_.cursorColumn = 0;
            }
        }
    }
    state_.changePending = 1;
    InvalidateRect(Handle(), nullptr, FALSE);
    return 0;
}

namespace {

// Points left of or above the view arrive while it holds the capture; truncating them toward
// zero would put them in the first column or row.
int32_t CellOf(int position, int pitch) { return position < 0 ? -1 : position / pitch; }

}  // namespace

LRESULT ScreenView::OnMouseMove(int x, int y) {
    state_.mouseColumn = CellOf(x, kCellPitchX);
    state_.mouseRow = CellOf(y, kCellPitchY);
    if (state_.dragging != 0 && InsideGrid(doc_, state_.mouseColumn, state_.mouseRow)) {
        state_.cursorColumn = state_.mouseColumn;
        state_.cursorRow = state_.mouseRow;
    }
    InvalidateRect(Handle(), nullptr, FALSE);
    return 0;
}

LRESULT ScreenView::OnButtonDown(int x, int y) {
    const int32_t column = x / kCellPitchX;
    const int32_t row = y / kCellPitchY;
    const bool onGrid = static_cast<uint32_t>(y) < kCellPitchY * doc_.rows && static_cast<uint32_t>(column) < doc_.columns;
    if (uint8_t* cell = onGrid ? CellAt(column, row) : nullptr) {
        state_.dragging = 1;
        state_.mouseColumn = state_.cursorColumn = column;
        state_.mouseRow = state_.cursorRow = row;
        state_.draggedCode = *cell;
        *cell = kSpace;  // the drag holds the character until it is dropped
    }
    const int slot = PaletteSlotAt(doc_, x, y);
    if (slot != kNoSlot) {
        state_.dragging = 1;
        state_.draggedCode = static_cast<uint32_t>(slot);
    }
    // The release must come here wherever it happens, or the character stays lifted.
    if (state_.dragging != 0) SetCapture(Handle());
    return 0;
}

LRESULT ScreenView::OnButtonUp() {
    if (state_.dragging != 0 && InsideGrid(doc_, state_.mouseColumn, state_.mouseRow)) {
        if (uint8_t* cell = CellAt(state_.mouseColumn, state_.mouseRow)) *cell = static_cast<uint8_t>(state_.draggedCode);
        state_.cursorColumn = state_.mouseColumn;
        state_.cursorRow = state_.mouseRow;
    }
    state_.changePending = 1;
    InvalidateRect(Handle(), nullptr, TRUE);
    state_.dragging = 0;
    if (GetCapture() == Handle()) ReleaseCapture();
    return 0;
}

// Another window took the mouse: the drag ends as a release outside the panel would end it.
LRESULT ScreenView::OnCaptureLost(HWND newOwner) {
    if (newOwner == Handle() || state_.dragging == 0) return 0;
    state_.mouseColumn = -1;
    state_.mouseRow = -1;
    return OnButtonUp();
}

LRESULT ScreenView::OnDoubleClick(int x, int y) {
    const int slot = PaletteSlotAt(doc_, x, y);
    if (slot != kNoSlot) EditUserCharacter(doc_.glyphs, slot);
    InvalidateRect(Handle(), nullptr, TRUE);
    NotifyFrame();
    return 0;
}
