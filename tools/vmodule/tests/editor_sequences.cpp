#include "tools/vmodule/tests/editor_sequences.h"

#include <ostream>

#include "tools/vmodule/src/hex_text.h"

namespace vmodule {

void PrintTo(const DisplayGeometry& geometry, std::ostream* out) {
    *out << GeometryName(geometry);
}

}  // namespace vmodule

namespace vmodule::testing {

namespace {

void AppendCharacterCommand(Bytes& bytes, unsigned char command, int code, const CharacterRows& rows) {
    bytes.push_back(kCommandPrefix);
    bytes.push_back(command);
    bytes.push_back(static_cast<unsigned char>(code));
    bytes.insert(bytes.end(), rows.begin(), rows.end());
}

void AppendCells(Bytes& bytes, const EditorScreen& screen, int first, int count) {
    bytes.insert(bytes.end(), screen.cells.begin() + first, screen.cells.begin() + first + count);
}

}  // namespace

EditorScreen SampleScreen(int seed) {
    EditorScreen screen;
    for (int code = 0; code < kUserCharacterCount; ++code)
        for (int row = 0; row < kCharacterRowCount; ++row)
            screen.characters[code][row] = static_cast<unsigned char>((seed + code * 8 + row) * 11 % 32);
    for (int k = 0; k < 400; ++k) {
        const int value = (seed * 53 + k * 37 + 5) % 256;
        screen.cells[k] = static_cast<unsigned char>(value == kCommandPrefix ? 0xFF : value);
    }
    return screen;
}

Bytes MirrorSequence(const EditorScreen& screen) {
    Bytes bytes;
    for (int code = 0; code < kUserCharacterCount; ++code)
        AppendCharacterCommand(bytes, kDefineCharacter, code, screen.characters[code]);
    bytes.insert(bytes.end(), {kCommandPrefix, kPlaceCursor, 0x01, 0x01});
    AppendCells(bytes, screen, 0, 20);
    bytes.insert(bytes.end(), {kCommandPrefix, kPlaceCursor, 0x01, 0x02});
    AppendCells(bytes, screen, 20, 20);
    return bytes;
}

Bytes StoreSequence(const EditorScreen& screen, DisplayGeometry geometry) {
    Bytes bytes;
    for (int code = 0; code < kUserCharacterCount; ++code)
        AppendCharacterCommand(bytes, kStoreCharacter, code, screen.characters[code]);
    bytes.insert(bytes.end(), {kCommandPrefix, kStoreText});
    AppendCells(bytes, screen, 0, geometry.rows * geometry.columns);
    return bytes;
}

ModuleState FreshState() {
    ModuleState state;
    for (auto& row : state.display) row.fill(' ');
    return state;
}

ModuleState StateOf(const ModuleInterpreter& module) {
    return {module.Display(), module.CursorAt(), module.UserGlyphs(), module.Store()};
}

std::vector<int> CellRange(int first, int last) {
    std::vector<int> indices;
    for (int k = first; k <= last; ++k) indices.push_back(k);
    return indices;
}

std::array<unsigned char, kMaxColumns> RowOfCells(const EditorScreen& screen, const std::vector<int>& cellIndices) {
    std::array<unsigned char, kMaxColumns> row{};
    row.fill(' ');
    int column = 0;
    for (int index : cellIndices)
        row.at(static_cast<std::size_t>(column++)) = screen.cells.at(static_cast<std::size_t>(index));
    return row;
}

std::array<unsigned char, kMaxColumns> RowOfCells(const EditorScreen& screen, std::initializer_list<int> cellIndices) {
    return RowOfCells(screen, std::vector<int>(cellIndices));
}

bool operator==(const ModuleState& left, const ModuleState& right) {
    return left.display == right.display && left.cursor == right.cursor && left.characters == right.characters &&
           left.store == right.store;
}

void PrintTo(const ModuleState& state, std::ostream* out) {
    *out << "\n";
    for (const auto& row : state.display) *out << "  display " << HexBytes(row) << "\n";
    *out << "  cursor column " << state.cursor.column << " row " << state.cursor.row << "\n";
    for (const auto& rows : state.characters) *out << "  char " << HexBytes(rows) << "\n";
    for (const auto& row : state.store.text) *out << "  stored " << HexBytes(row) << "\n";
    for (const auto& rows : state.store.characters) *out << "  stored char " << HexBytes(rows) << "\n";
}

}  // namespace vmodule::testing
