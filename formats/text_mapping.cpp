#include "formats/text_mapping.h"

#include <cstdio>

#include "formats/hex_text.h"

namespace {

char32_t ModuleCharacter(uint8_t byte) {
    for (const ModuleCharacterRange& range : kModuleCharacters) {
        if (byte >= range.firstByte && byte <= range.lastByte) return range.firstCharacter + (byte - range.firstByte);
    }
    return 0;
}

bool ByteForCharacter(char32_t character, uint8_t& byte) {
    for (const ModuleCharacterRange& range : kModuleCharacters) {
        const char32_t last = range.firstCharacter + (range.lastByte - range.firstByte);
        if (character >= range.firstCharacter && character <= last) {
            byte = static_cast<uint8_t>(range.firstByte + (character - range.firstCharacter));
            return true;
        }
    }
    return false;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// One code point; false for anything that is not well-formed UTF-8.
bool NextCharacter(std::string_view text, size_t& at, char32_t& c) {
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
    const uint8_t lead = byte(at);
    const size_t extra = lead < 0x80 ? 0 : lead >= 0xC2 && lead < 0xE0 ? 1 : lead >= 0xE0 && lead < 0xF0 ? 2
                         : lead >= 0xF0 && lead < 0xF5 ? 3 : 4;
    if (extra == 4 || at + extra >= text.size()) return false;
    c = extra == 0 ? lead : lead & (0x3F >> extra);
    for (size_t i = 1; i <= extra; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return false;
        c = c << 6 | (byte(at + i) & 0x3F);
    }
    static const char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (c < kSmallest[extra] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) return false;
    at += extra + 1;
    return true;
}

std::string Describe(char32_t c) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
    return text;
}

}  // namespace

std::string TextToReadable(const uint8_t* bytes, size_t count) {
    std::string out;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t byte = bytes[i];
        if (const char32_t c = ModuleCharacter(byte); c != 0) {
            AppendUtf8(out, c);
        } else if (byte < 8) {
            out += '\\';
            out += static_cast<char>('0' + byte);
        } else {
            out += "\\x" + HexText({&byte, 1}, HexLetters::Upper);
        }
    }
    return out;
}

ReadableText ReadableToText(std::string_view utf8) {
    ReadableText result;
    size_t at = 0;
    while (at < utf8.size()) {
        const auto fail = [&](const std::string& why) {
            result.error = why + " at character " + std::to_string(result.bytes.size() + 1);
            return result;
        };
        if (utf8[at] == '\\') {
            const char kind = at + 1 < utf8.size() ? utf8[at + 1] : '\0';
            if (kind >= '0' && kind <= '7') {
                result.bytes.push_back(static_cast<uint8_t>(kind - '0'));
                at += 2;
            } else if (kind == 'x' && at + 3 < utf8.size() && HexDigitValue(utf8[at + 2]) >= 0 &&
                       HexDigitValue(utf8[at + 3]) >= 0) {
                result.bytes.push_back(static_cast<uint8_t>(HexDigitValue(utf8[at + 2]) << 4 | HexDigitValue(utf8[at + 3])));
                at += 4;
            } else {
                return fail("a backslash begins no escape (\\0 to \\7, \\xHH)");
            }
            continue;
        }
        char32_t c = 0;
        if (!NextCharacter(utf8, at, c)) return fail("not UTF-8");
        uint8_t byte = 0;
        if (!ByteForCharacter(c, byte)) return fail(Describe(c) + " is not in the module's character set");
        result.bytes.push_back(byte);
    }
    return result;
}
