#include "tools/vmodule/src/hex_text.h"

#include <cstddef>

namespace vmodule {

namespace {

int HexDigitValue(char digit) {
    if (digit >= '0' && digit <= '9') return digit - '0';
    if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
    if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
    return -1;
}

}  // namespace

std::string HexBytes(std::span<const unsigned char> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0) text += ' ';
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    return text;
}

bool ParseHexBytes(std::string_view text, std::span<unsigned char> out) {
    std::size_t position = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (i > 0) {
            if (position >= text.size() || text[position] != ' ') return false;
            ++position;
        }
        if (position + 2 > text.size()) return false;
        const int high = HexDigitValue(text[position]);
        const int low = HexDigitValue(text[position + 1]);
        if (high < 0 || low < 0) return false;
        out[i] = static_cast<unsigned char>(high * 16 + low);
        position += 2;
    }
    return position == text.size();
}

std::string PrintableText(std::span<const unsigned char> bytes) {
    std::string text;
    for (unsigned char byte : bytes) text += (byte >= 0x20 && byte <= 0x7E) ? static_cast<char>(byte) : '.';
    return text;
}

}  // namespace vmodule
