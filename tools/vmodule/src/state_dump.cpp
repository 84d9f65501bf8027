#include "tools/vmodule/src/state_dump.h"

#include <span>

#include "tools/vmodule/src/hex_text.h"

namespace vmodule {

namespace {

void AppendTextRows(std::string& out, const std::string& prefix, const TextGrid& grid, DisplayGeometry geometry) {
    for (int row = 0; row < geometry.rows; ++row) {
        const std::span<const unsigned char> cells(grid[row].data(), geometry.columns);
        const std::string name = prefix + "row" + std::to_string(row + 1);
        out += name + ": |" + PrintableText(cells) + "|\n";
        out += name + ".hex: " + HexBytes(cells) + "\n";
    }
}

void AppendCharacters(std::string& out, const std::string& prefix, const UserCharacters& characters) {
    for (int code = 0; code < kUserCharacterCount; ++code)
        out += prefix + "char" + std::to_string(code) + ": " + HexBytes(characters[code]) + "\n";
}

}  // namespace

std::string FormatDump(const ModuleInterpreter& module) {
    const DisplayGeometry geometry = module.Geometry();
    std::string out = "geometry: " + GeometryName(geometry) + "\n";
    AppendTextRows(out, "", module.Display(), geometry);
    out += "cursor: column " + std::to_string(module.CursorAt().column + 1) + " row " +
           std::to_string(module.CursorAt().row + 1) + "\n";
    AppendCharacters(out, "", module.UserGlyphs());
    AppendTextRows(out, "stored.", module.Store().text, geometry);
    AppendCharacters(out, "stored.", module.Store().characters);
    out += "received: " + std::to_string(module.BytesReceived()) + "\n";
    out += std::string("incomplete-command: ") + (module.CommandIncomplete() ? "yes" : "no") + "\n";
    return out;
}

}  // namespace vmodule
