#include "tools/vmodule/src/hex_text.h"

#include <algorithm>
#include <vector>

#include "formats/hex_text.h"

namespace vmodule {

std::string HexBytes(std::span<const unsigned char> bytes) { return HexText(bytes, HexLetters::Upper, ' '); }

bool ParseHexBytes(std::string_view text, std::span<unsigned char> out) {
    std::vector<uint8_t> bytes;
    if (!ParseHex(text, bytes, ' ') || bytes.size() != out.size()) return false;
    std::copy(bytes.begin(), bytes.end(), out.begin());
    return true;
}

std::string PrintableText(std::span<const unsigned char> bytes) {
    std::string text;
    for (unsigned char byte : bytes) text += (byte >= 0x20 && byte <= 0x7E) ? static_cast<char>(byte) : '.';
    return text;
}

}  // namespace vmodule
