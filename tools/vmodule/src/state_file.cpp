#include "tools/vmodule/src/state_file.h"

#include <array>
#include <fstream>
#include <map>
#include <sstream>
#include <system_error>

#include "document/file_replacement.h"
#include "tools/vmodule/src/hex_text.h"

namespace vmodule {

namespace {

constexpr std::string_view kHeader = "vmodule-state 1";

std::string RowKey(int row) {
    return "stored.row" + std::to_string(row + 1) + ".hex";
}

std::string CharacterKey(int code) {
    return "stored.char" + std::to_string(code);
}

bool SplitLines(std::string_view text, std::map<std::string, std::string, std::less<>>& values, std::string& error) {
    std::istringstream lines{std::string(text)};
    std::string line;
    if (!std::getline(lines, line) || line != kHeader) {
        error = "first line is not \"" + std::string(kHeader) + "\"";
        return false;
    }
    while (std::getline(lines, line)) {
        if (line.empty()) continue;
        const auto colon = line.find(": ");
        if (colon == std::string::npos) {
            error = "line without \": \": " + line;
            return false;
        }
        if (!values.emplace(line.substr(0, colon), line.substr(colon + 2)).second) {
            error = "repeated key " + line.substr(0, colon);
            return false;
        }
    }
    return true;
}

}  // namespace

std::string FormatStateText(const NonVolatileStore& store, DisplayGeometry geometry) {
    std::string out = std::string(kHeader) + "\ngeometry: " + GeometryName(geometry) + "\n";
    for (int row = 0; row < geometry.rows; ++row)
        out += RowKey(row) + ": " + HexBytes(std::span(store.text[row].data(), geometry.columns)) + "\n";
    for (int code = 0; code < kUserCharacterCount; ++code)
        out += CharacterKey(code) + ": " + HexBytes(store.characters[code]) + "\n";
    return out;
}

std::optional<NonVolatileStore> ParseStateText(std::string_view text, DisplayGeometry geometry, std::string& error) {
    std::map<std::string, std::string, std::less<>> values;
    if (!SplitLines(text, values, error)) return std::nullopt;

    const auto take = [&values, &error](const std::string& key) -> std::optional<std::string> {
        const auto found = values.find(key);
        if (found == values.end()) {
            error = "missing " + key;
            return std::nullopt;
        }
        std::string value = found->second;
        values.erase(found);
        return value;
    };

    const auto geometryText = take("geometry");
    if (!geometryText) return std::nullopt;
    if (*geometryText != GeometryName(geometry)) {
        error = "the state was saved for a " + *geometryText + " module, not " + GeometryName(geometry);
        return std::nullopt;
    }

    NonVolatileStore store{};
    for (int row = 0; row < geometry.rows; ++row) {
        const auto value = take(RowKey(row));
        if (!value) return std::nullopt;
        if (!ParseHexBytes(*value, std::span(store.text[row].data(), geometry.columns))) {
            error = "bad " + RowKey(row) + " (want " + std::to_string(geometry.columns) + " hex bytes)";
            return std::nullopt;
        }
    }
    for (int code = 0; code < kUserCharacterCount; ++code) {
        const auto value = take(CharacterKey(code));
        if (!value) return std::nullopt;
        if (!ParseHexBytes(*value, store.characters[code])) {
            error = "bad " + CharacterKey(code) + " (want 8 hex bytes)";
            return std::nullopt;
        }
    }
    if (!values.empty()) {
        error = "unknown key " + values.begin()->first;
        return std::nullopt;
    }
    return store;
}

LoadedState LoadStateFile(const std::filesystem::path& path, DisplayGeometry geometry) {
    std::error_code ignored;
    if (!std::filesystem::exists(path, ignored)) return {LoadedState::Status::Missing, {}, {}};
    std::ifstream file(path, std::ios::binary);
    if (!file) return {LoadedState::Status::Invalid, {}, "cannot read " + path.string()};
    std::ostringstream content;
    content << file.rdbuf();
    std::string error;
    const auto store = ParseStateText(content.str(), geometry, error);
    if (!store) return {LoadedState::Status::Invalid, {}, path.string() + ": " + error};
    return {LoadedState::Status::Loaded, *store, {}};
}

bool SaveStateFile(const std::filesystem::path& path, const NonVolatileStore& store, DisplayGeometry geometry) {
    std::string reason;
    return WriteFileReplacing(path.string(), FormatStateText(store, geometry), reason);
}

}  // namespace vmodule
