#include "document/screen_editor.h"

#include <algorithm>

namespace {

int32_t LastIndex(uint32_t count) { return count == 0 ? 0 : static_cast<int32_t>(count) - 1; }

}  // namespace

uint8_t* ScreenEditor::CellAt(int32_t column, int32_t row) {
    const int64_t index = static_cast<int64_t>(row) * doc_.columns + column;
    if (index < 0 || index >= static_cast<int64_t>(kCellCount)) return nullptr;
    return &doc_.cells[static_cast<size_t>(index)];
}

void ScreenEditor::TypeCode(uint32_t code) {
    ClampCursor();
    uint8_t* cell = CellAt(state_.cursorColumn, state_.cursorRow);
    if (code >= kFirstTypedCode && code <= kLastTypedCode) {
        if (cell != nullptr) *cell = static_cast<uint8_t>(code);
        if (state_.cursorColumn < static_cast<int32_t>(doc_.columns) - 1) ++state_.cursorColumn;
    } else if (code == kBackspaceCode && state_.cursorColumn >= 0) {
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
}

void ScreenEditor::PressCell(int32_t column, int32_t row) {
    if (!InsideGrid(doc_, column, row)) return;
    uint8_t* cell = CellAt(column, row);
    if (cell == nullptr) return;
    state_.dragging = 1;
    state_.mouseColumn = state_.cursorColumn = column;
    state_.mouseRow = state_.cursorRow = row;
    state_.draggedCode = *cell;
    *cell = kSpace;  // the drag holds the character until it is dropped
}

void ScreenEditor::PressSlot(int slot) {
    if (slot < 0 || slot >= static_cast<int>(kUserGlyphCount)) return;
    state_.dragging = 1;
    state_.draggedCode = static_cast<uint32_t>(slot);
}

void ScreenEditor::MoveOver(int32_t column, int32_t row) {
    state_.mouseColumn = column;
    state_.mouseRow = row;
    if (state_.dragging != 0 && InsideGrid(doc_, column, row)) {
        state_.cursorColumn = column;
        state_.cursorRow = row;
    }
}

void ScreenEditor::Release() {
    if (state_.dragging != 0 && InsideGrid(doc_, state_.mouseColumn, state_.mouseRow)) {
        if (uint8_t* cell = CellAt(state_.mouseColumn, state_.mouseRow)) *cell = static_cast<uint8_t>(state_.draggedCode);
        state_.cursorColumn = state_.mouseColumn;
        state_.cursorRow = state_.mouseRow;
    }
    state_.changePending = 1;
    state_.dragging = 0;
}

bool ScreenEditor::LoseCapture() {
    if (state_.dragging == 0) return false;
    state_.mouseColumn = -1;
    state_.mouseRow = -1;
    Release();
    return true;
}

void ScreenEditor::MoveCursor(int32_t columns, int32_t rows) {
    if (state_.dragging != 0) return;
    state_.cursorColumn += columns;
    state_.cursorRow += rows;
    ClampCursor();
}

void ScreenEditor::ClampCursor() {
    state_.cursorColumn = std::clamp(state_.cursorColumn, 0, LastIndex(doc_.columns));
    state_.cursorRow = std::clamp(state_.cursorRow, 0, LastIndex(doc_.rows));
}
