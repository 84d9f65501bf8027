#pragma once

#include <span>
#include <string>
#include <string_view>

namespace vmodule {

// "48 65 6C": two upper-case digits per byte, one space between bytes.
std::string HexBytes(std::span<const unsigned char> bytes);
// Fills exactly out.size() bytes; false on any other count or a bad digit.
bool ParseHexBytes(std::string_view text, std::span<unsigned char> out);
// Printable ASCII as is, every other byte as '.'.
std::string PrintableText(std::span<const unsigned char> bytes);

}  // namespace vmodule
