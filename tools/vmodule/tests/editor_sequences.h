#pragma once

#include <array>
#include <initializer_list>
#include <ostream>
#include <vector>

#include "tools/vmodule/src/module_interpreter.h"

namespace vmodule {

void PrintTo(const DisplayGeometry& geometry, std::ostream* out);

}  // namespace vmodule

namespace vmodule::testing {

using Bytes = std::vector<unsigned char>;

// What the editor holds: its eight user characters and 400 row-major cells
// (the cell in row y and column x at y * columns + x).
struct EditorScreen {
    UserCharacters characters{};
    std::array<unsigned char, 400> cells{};
};

// Distinct dot rows, and cells that use every code the editor can send
// (user characters 0-7, control codes, 0xFF) except the prefix 0xFE.
EditorScreen SampleScreen(int seed);

// Byte for byte what the editor sends to mirror the screen live.
Bytes MirrorSequence(const EditorScreen& screen);
// Byte for byte what the editor sends for "Write to Display".
Bytes StoreSequence(const EditorScreen& screen, DisplayGeometry geometry);

// The state a module is expected to be in; compared field by field.
struct ModuleState {
    TextGrid display{};
    Cursor cursor{0, 0};
    UserCharacters characters{};
    NonVolatileStore store{};
};

ModuleState FreshState();
ModuleState StateOf(const ModuleInterpreter& module);
// A display row made of the given editor cells, in order.
std::array<unsigned char, kMaxColumns> RowOfCells(const EditorScreen& screen, std::initializer_list<int> cellIndices);
std::vector<int> CellRange(int first, int last);
std::array<unsigned char, kMaxColumns> RowOfCells(const EditorScreen& screen, const std::vector<int>& cellIndices);

bool operator==(const ModuleState& left, const ModuleState& right);
void PrintTo(const ModuleState& state, std::ostream* out);

}  // namespace vmodule::testing
