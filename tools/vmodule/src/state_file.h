#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "tools/vmodule/src/module_interpreter.h"

namespace vmodule {

// The non-volatile store as text: a "vmodule-state 1" line, then
// "geometry:", "stored.rowN.hex:" and "stored.charN:" lines as in the dump.
std::string FormatStateText(const NonVolatileStore& store, DisplayGeometry geometry);
// A store written for another geometry is refused rather than reshaped.
std::optional<NonVolatileStore> ParseStateText(std::string_view text, DisplayGeometry geometry, std::string& error);

struct LoadedState {
    enum class Status { Missing, Loaded, Invalid } status;
    NonVolatileStore store;
    std::string error;
};

LoadedState LoadStateFile(const std::filesystem::path& path, DisplayGeometry geometry);
bool SaveStateFile(const std::filesystem::path& path, const NonVolatileStore& store, DisplayGeometry geometry);

}  // namespace vmodule
