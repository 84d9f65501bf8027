#include "render/preview_input.h"

#include "render/preview_geometry.h"

bool PressAt(ScreenEditor& editor, int x, int y) {
    const CellPosition cell = PressedCell(x, y);
    editor.PressCell(cell.column, cell.row);
    editor.PressSlot(PaletteSlotAt(editor.Document(), x, y));
    return editor.State().dragging != 0;
}

void MoveTo(ScreenEditor& editor, int x, int y) {
    const CellPosition cell = TrackedCell(x, y);
    editor.MoveOver(cell.column, cell.row);
}
