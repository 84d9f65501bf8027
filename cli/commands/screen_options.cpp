#include "cli/commands/screen_options.h"

#include <algorithm>

#include "cli/support/command_failure.h"
#include "document/built_in_glyphs.h"
#include "document/display_size.h"
#include "document/exact_start_screen.h"
#include "document/row_text.h"
#include "formats/text_mapping.h"

namespace {

// "N=REST" with N a decimal number of at most three digits.
bool SplitNumbered(const std::string& option, uint32_t& number, std::string& rest) {
    const size_t equals = option.find('=');
    if (equals == std::string::npos || equals == 0 || equals > 3) return false;
    number = 0;
    for (size_t i = 0; i < equals; ++i) {
        if (option[i] < '0' || option[i] > '9') return false;
        number = number * 10 + static_cast<uint32_t>(option[i] - '0');
    }
    rest = option.substr(equals + 1);
    return true;
}

}  // namespace

std::vector<std::string> GeometryChoices() {
    std::vector<std::string> names;
    for (const DisplaySize& size : kDisplaySizes) names.emplace_back(size.name);
    return names;
}

ScreenDocument FreshScreen(const std::string& geometry, uint32_t rows) {
    const DisplaySize* size = FindDisplaySize(geometry);
    if (size == nullptr) throw UsageFailure("--geometry " + geometry + ": not 2x20, 2x16 or 4x20");
    if (rows != 0 && size->rows != 0 && rows != size->rows) {
        throw UsageFailure("--rows " + std::to_string(rows) + ": a " + geometry + " screen has " +
                           std::to_string(size->rows) + " rows");
    }
    ScreenDocument doc = FreshEditorDocument(kBuiltInGlyphs);
    // 2x16 keeps the row count in force, as in the editor's menu.
    if (rows == 4) SetDisplaySize(doc, kSize4x20);
    SetDisplaySize(doc, size->code);
    return doc;
}

LineOption ParseLineOption(const std::string& option) {
    LineOption line;
    std::string text;
    if (!SplitNumbered(option, line.row, text) || line.row == 0) {
        throw UsageFailure("--line " + option + ": expected N=TEXT with N the row, counted from 1");
    }
    ReadableText bytes = ReadableToText(text);
    if (!bytes.error.empty()) throw UsageFailure("--line " + option + ": " + bytes.error);
    line.text = std::move(bytes.bytes);
    return line;
}

void ApplyLineOptions(ScreenDocument& doc, const std::vector<std::string>& options, const std::string& target) {
    std::vector<LineOption> lines;
    for (const std::string& option : options) lines.push_back(ParseLineOption(option));
    ScreenDocument stamped = doc;
    for (const LineOption& line : lines) {
        const std::string where = target + ": row " + std::to_string(line.row);
        switch (StampRowText(stamped, line.row, line.text.data(), line.text.size())) {
        case RowTextResult::Stamped:
            break;
        case RowTextResult::NoSuchRow:
            throw CommandFailure(where + ": the screen has " + std::to_string(doc.rows) + " rows");
        case RowTextResult::TooLong:
            throw CommandFailure(where + ": " + std::to_string(line.text.size()) + " characters do not fit in " +
                                 std::to_string(doc.columns) + " columns");
        }
    }
    doc = stamped;
}

void ApplyCharOptions(ScreenDocument& doc, const std::vector<std::string>& options) {
    for (const std::string& option : options) {
        uint32_t code = 0;
        std::string pattern;
        const bool numbered = SplitNumbered(option, code, pattern) && code < kUserGlyphCount;
        if (!numbered || !DrawGlyph(doc.GlyphOf(code), pattern)) {
            throw UsageFailure("--char " + option + ": expected N=PATTERN with N 0-7 and 40 '#' or '.'");
        }
    }
}
