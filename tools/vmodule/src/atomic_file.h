#pragma once

#include <filesystem>
#include <string_view>

namespace vmodule {

// Readers see either the old or the new content, never a partial file.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view content);

}  // namespace vmodule
