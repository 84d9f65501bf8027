#include "formats/hex_text.h"

std::string HexText(std::span<const uint8_t> bytes, HexLetters letters, char separator) {
    const char* digits = letters == HexLetters::Upper ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string text;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0 && separator != '\0') text += separator;
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 0x0F];
    }
    return text;
}

int HexDigitValue(char digit) {
    if (digit >= '0' && digit <= '9') return digit - '0';
    if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
    if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
    return -1;
}

bool ParseHex(std::string_view text, std::vector<uint8_t>& out, char separator) {
    out.clear();
    for (size_t position = 0; position < text.size(); position += 2) {
        if (!out.empty() && separator != '\0' && text[position++] != separator) break;
        if (position + 2 > text.size()) break;
        const int high = HexDigitValue(text[position]);
        const int low = HexDigitValue(text[position + 1]);
        if (high < 0 || low < 0) break;
        out.push_back(static_cast<uint8_t>(high * 16 + low));
        if (position + 2 == text.size()) return true;
    }
    out.clear();
    return text.empty();
}
