#include "formats/code_export.h"

#include <cstdio>

#include "document/display_size.h"
#include "link/display_protocol.h"

namespace {

std::string Format(const char* format, unsigned value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string ShapeComment(const ScreenDocument& doc) {
    const char* name = GeometryName(doc.sizeCode);
    return std::string(name != nullptr ? name : "unknown size") + ", " + std::to_string(doc.rows) + " rows of " +
           std::to_string(doc.columns);
}

// Octal escapes always take three digits, so no following character can join them.
std::string CLiteral(const uint8_t* bytes, size_t count) {
    std::string literal = "\"";
    for (size_t i = 0; i < count; ++i) {
        const uint8_t byte = bytes[i];
        if (byte == '"' || byte == '\\' || byte == '?') {
            literal += '\\';
            literal += static_cast<char>(byte);
        } else if (byte >= 0x20 && byte < 0x7F) {
            literal += static_cast<char>(byte);
        } else {
            literal += Format("\\%03o", byte);
        }
    }
    return literal + "\"";
}


}  // namespace

std::string StartScreenToC(const ScreenDocument& doc) {
    std::string text = "/* Start screen (" + ShapeComment(doc) + "), written by brevant-cli. */\n"
                       "#include <stdint.h>\n\n"
                       "#define START_SCREEN_COLUMNS " + std::to_string(doc.columns) + "\n"
                       "#define START_SCREEN_ROWS " + std::to_string(doc.rows) + "\n\n"
                       "/* User characters 0-7: one byte a row, top row first, dots in the low five bits. */\n"
                       "static const uint8_t start_screen_characters[8][8] = {\n";
    for (size_t code = 0; code < kUserGlyphCount; ++code) {
        text += "    {";
        for (size_t row = 0; row < kGlyphRows; ++row) text += Format(row == 0 ? "0x%02X" : ", 0x%02X", PackedGlyphRow(doc, code, row));
        text += "},\n";
    }
    text += "};\n\n"
            "/* Exactly START_SCREEN_COLUMNS bytes a row; \\000 is user character 0, not the end. */\n"
            "static const char start_screen_rows[START_SCREEN_ROWS][START_SCREEN_COLUMNS + 1] = {\n";
    for (size_t row = 0; row < doc.rows; ++row) text += "    " + CLiteral(doc.cells.data() + row * doc.columns, doc.columns) + ",\n";
    return text + "};\n";
}

std::string StartScreenToArduino(const ScreenDocument& doc) {
    std::string text = "// Start screen (" + ShapeComment(doc) + "), written by brevant-cli.\n"
                       "// Call showStartScreen(lcd) after lcd.begin(" + std::to_string(doc.columns) + ", " +
                       std::to_string(doc.rows) + ").\n";
    for (size_t code = 0; code < kUserGlyphCount; ++code) {
        text += "byte userCharacter" + std::to_string(code) + "[8] = {";
        for (size_t row = 0; row < kGlyphRows; ++row) {
            const uint8_t bits = PackedGlyphRow(doc, code, row);
            text += row == 0 ? "0b" : ", 0b";
            for (int bit = 4; bit >= 0; --bit) text += (bits >> bit & 1) != 0 ? '1' : '0';
        }
        text += "};\n";
    }
    text += "\nvoid showStartScreen(LiquidCrystal& lcd) {\n";
    for (size_t code = 0; code < kUserGlyphCount; ++code) {
        text += "  lcd.createChar(" + std::to_string(code) + ", userCharacter" + std::to_string(code) + ");\n";
    }
    // Character 0 would end a string, so user characters go out one by one with write.
    for (size_t row = 0; row < doc.rows; ++row) {
        text += "  lcd.setCursor(0, " + std::to_string(row) + ");\n";
        const uint8_t* cells = doc.cells.data() + row * doc.columns;
        size_t run = 0;
        for (size_t column = 0; column <= doc.columns; ++column) {
            const bool user = column < doc.columns && cells[column] < kUserGlyphCount;
            if ((user || column == doc.columns) && column > run) {
                text += "  lcd.print(" + CLiteral(cells + run, column - run) + ");\n";
            }
            if (user) {
                text += "  lcd.write(byte(" + std::to_string(cells[column]) + "));\n";
                run = column + 1;
            }
        }
    }
    return text + "}\n";
}
