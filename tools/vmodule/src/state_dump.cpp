#include "tools/vmodule/src/state_dump.h"

#include <span>

#include "tools/vmodule/src/hex_text.h"

namespace vmodule {

namespace {

void appendTextRows(std::string& out, const std::string& prefix, const TextGrid& grid, DisplayGeometry geometry)
{
    for (int row = 0; row < geometry.rows; ++row) {
        const std::span<const unsigned char> cells(grid[row].data(), geometry.columns);
        const std::string name = prefix + "row" + std::to_string(row + 1);
        out += name + ": |" + printableText(cells) + "|\n";
        out += name + ".hex: " + hexBytes(cells) + "\n";
    }
}

void appendCharacters(std::string& out, const std::string& prefix, const UserCharacters& characters)
{
    for (int code = 0; code < kUserCharacterCount; ++code)
        out += prefix + "char" + std::to_string(code) + ": " + hexBytes(characters[code]) + "\n";
}

}  // namespace

std::string formatDump(const ModuleInterpreter& module)
{
    const DisplayGeometry geometry = module.geometry();
    std::string out = "geometry: " + geometryName(geometry) + "\n";
    appendTextRows(out, "", module.display(), geometry);
    out += "cursor: column " + std::to_string(module.cursor().column + 1) + " row " +
           std::to_string(module.cursor().row + 1) + "\n";
    appendCharacters(out, "", module.userCharacters());
    appendTextRows(out, "stored.", module.store().text, geometry);
    appendCharacters(out, "stored.", module.store().characters);
    out += "received: " + std::to_string(module.bytesReceived()) + "\n";
    out += std::string("incomplete-command: ") + (module.commandIncomplete() ? "yes" : "no") + "\n";
    return out;
}

}  // namespace vmodule
