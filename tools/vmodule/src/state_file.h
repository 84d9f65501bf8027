#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "tools/vmodule/src/module_interpreter.h"

namespace vmodule {

// The non-volatile store as text: a "vmodule-state 1" line, then
// "geometry:", "stored.rowN.hex:" and "stored.charN:" lines as in the dump.
std::string formatStateText(const NonVolatileStore& store, DisplayGeometry geometry);
// A store written for another geometry is refused rather than reshaped.
std::optional<NonVolatileStore> parseStateText(std::string_view text, DisplayGeometry geometry, std::string& error);

struct LoadedState {
    enum class Status { Missing, Loaded, Invalid } status;
    NonVolatileStore store;
    std::string error;
};

LoadedState loadStateFile(const std::filesystem::path& path, DisplayGeometry geometry);
bool saveStateFile(const std::filesystem::path& path, const NonVolatileStore& store, DisplayGeometry geometry);

}  // namespace vmodule
