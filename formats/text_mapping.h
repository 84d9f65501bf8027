#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Text bytes as people read them: the character the module shows where Unicode has one, else
// an escape: \0 to \7 for the user characters, \xHH for any other byte. The font draws 0x5C as
// a yen sign, so a backslash never stands for itself and always begins an escape.
struct ModuleCharacterRange {
    uint8_t firstByte;
    uint8_t lastByte;
    char32_t firstCharacter;
};

inline constexpr ModuleCharacterRange kModuleCharacters[] = {
    {0x20, 0x5B, U' '},      // printable ASCII
    {0x5C, 0x5C, U'\u00A5'}, // yen sign
    {0x5D, 0x7D, U']'},      // printable ASCII
    {0x7E, 0x7E, U'\u2192'}, // right arrow
    {0x7F, 0x7F, U'\u2190'}, // left arrow
    {0xA1, 0xDF, U'\uFF61'}, // half-width katakana and punctuation
};

// UTF-8.
std::string TextToReadable(const uint8_t* bytes, size_t count);

struct ReadableText {
    std::vector<uint8_t> bytes;
    std::string error;  // empty when the whole text was understood
};

ReadableText ReadableToText(std::string_view utf8);
