#pragma once
#include <cstdint>

#include "document/screen_document.h"

// Cursor, mouse cell and drag of the editor; only the editor writes it.
struct EditState {
    uint8_t dragging = 0;
    uint32_t draggedCode = 0;  // low byte significant
    int32_t cursorColumn = 0;
    int32_t cursorRow = 0;
    int32_t mouseColumn = 0;
    int32_t mouseRow = 0;
    uint32_t changePending = 0;  // the screen changed and the module has not been sent it yet
};

inline constexpr uint32_t kBackspaceCode = 8;
inline constexpr uint32_t kFirstTypedCode = 0x20;
inline constexpr uint32_t kLastTypedCode = 0xFD;

// The editing rules of the start screen, for every front end: keys and mouse arrive here as codes,
// cells and palette slots; pixels are turned into those by the preview geometry.
class ScreenEditor {
public:
    explicit ScreenEditor(ScreenDocument& doc) : doc_(doc) {}

    ScreenDocument& Document() { return doc_; }
    const ScreenDocument& Document() const { return doc_; }
    const EditState& State() const { return state_; }

    // Cursor at 0,0, nothing dragged, nothing pending: the state of a fresh editor.
    void Reset() { state_ = EditState{}; }

    // A typed code: 0x20-0xFD is stored at the cursor, 8 erases there and steps back; every code,
    // also the ignored ones, leaves a change pending.
    void TypeCode(uint32_t code);

    // A press on a cell inside the grid lifts its character into the drag; elsewhere it does nothing.
    void PressCell(int32_t column, int32_t row);
    // A press on palette slot 0-7 drags that user character; the cursor stays.
    void PressSlot(int slot);
    // The mouse is over this cell, which may lie off the grid (-1 for left of or above it).
    void MoveOver(int32_t column, int32_t row);
    // The button went up: the drag, if any, drops on the last cell the mouse was over.
    void Release();
    // Another window took the mouse: a drag ends as a release off the panel. False when no drag was on.
    bool LoseCapture();

    // A size change or a load may have left the cursor outside the grid.
    void ClampCursor();
    // The arrow keys of front ends that have them: the cursor moves within the grid, no text
    // changes and nothing needs mirroring; during a drag nothing moves.
    void MoveCursor(int32_t columns, int32_t rows);

    bool ChangePending() const { return state_.changePending != 0; }
    void ChangeMirrored() { state_.changePending = 0; }

private:
    uint8_t* CellAt(int32_t column, int32_t row);

    ScreenDocument& doc_;
    EditState state_;
};
