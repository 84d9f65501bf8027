#include "formats/screen_json.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "document/built_in_glyphs.h"
#include "document/display_size.h"
#include "document/row_text.h"
#include "document/start_screen_file.h"
#include "formats/format_error.h"
#include "formats/hex_text.h"
#include "formats/text_mapping.h"

using Json = nlohmann::ordered_json;

namespace {

// Pixel bytes that the dots alone say: 0 or 1 in the five dot columns, 0 in the hidden two.
bool DotsSayAll(const uint8_t* glyph) {
    for (size_t i = 0; i < kGlyphBytes; ++i) {
        if (glyph[i] > (i % kGlyphRowBytes < kDotColumns ? 1 : 0)) return false;
    }
    return true;
}

Json Character(const uint8_t* glyph) {
    Json rows = Json::array();
    for (size_t row = 0; row < kGlyphRows; ++row) {
        std::string dots;
        for (size_t column = 0; column < kDotColumns; ++column) {
            dots += glyph[row * kGlyphRowBytes + column] != 0 ? kLitDot : kDarkDot;
        }
        rows.push_back(dots);
    }
    return rows;
}

// A field that is wrong, named the way the JSON names it.
[[noreturn]] void Refuse(const std::string& source, const std::string& field, const std::string& problem) {
    throw FormatError(source + ": " + field + ": " + problem);
}

class JsonReader {
public:
    explicit JsonReader(std::string source) : source_(std::move(source)) {}

    Json Parse(const std::string& text) const {
        try {
            return Json::parse(text);
        } catch (const Json::parse_error& error) {
            size_t line = 1, column = 1;
            for (size_t i = 0; i + 1 < error.byte && i < text.size(); ++i) {
                column = text[i] == '\n' ? 1 : column + 1;
                line += text[i] == '\n' ? 1 : 0;
            }
            const std::string what = error.what();
            const size_t detail = what.find(": ", what.find("parse error"));
            throw FormatError(source_ + ":" + std::to_string(line) + ":" + std::to_string(column) +
                                 ": not valid JSON" + (detail == std::string::npos ? "" : what.substr(detail)));
        } catch (const Json::out_of_range& error) {
            // The library's words hold the number between quotes.
            const std::string what = error.what();
            const size_t open = what.find('\''), close = what.rfind('\'');
            const std::string number = open < close ? what.substr(open + 1, close - open - 1) : "a number";
            throw FormatError(source_ + ": " + number + ": a number too large to be read");
        }
    }

    void OnlyKeys(const Json& object, const std::string& field, std::initializer_list<const char*> keys) const {
        if (!object.is_object()) Refuse(source_, field.empty() ? "the file" : field, "must be an object");
        for (const auto& item : object.items()) {
            const std::string& key = item.key();
            if (std::none_of(keys.begin(), keys.end(), [&](const char* k) { return key == k; })) {
                Refuse(source_, field.empty() ? key : field + "." + key, "is not a field of a start screen");
            }
        }
    }

    std::vector<uint8_t> HexBytes(const Json& value, const std::string& field) const {
        if (!value.is_string()) Refuse(source_, field, "must be a string of hexadecimal byte pairs");
        std::vector<uint8_t> bytes;
        if (!ParseHex(value.get<std::string>(), bytes)) Refuse(source_, field, "must be hexadecimal byte pairs");
        return bytes;
    }

    ExactStartScreen Read(const Json& root) const {
        OnlyKeys(root, "", {"geometry", "sizeCode", "rows", "characters", "extra"});
        ExactStartScreen file;
        ReadGeometry(root, file);
        ReadRows(root, file.doc);
        ReadCharacters(root, file.doc);
        file.textBytes = UsedCellCount(file.doc);
        if (root.contains("extra")) ReadExtra(root["extra"], file);
        return file;
    }

private:
    void ReadGeometry(const Json& root, ExactStartScreen& file) const {
        if (!root.contains("geometry")) Refuse(source_, "geometry", "missing (\"2x20\", \"2x16\", \"4x20\" or null)");
        const Json& geometry = root["geometry"];
        uint32_t named = 0;
        if (geometry.is_string()) {
            const DisplaySize* size = FindDisplaySize(geometry.get<std::string>());
            if (size != nullptr) named = size->code;
        }
        if (!geometry.is_null() && named == 0) Refuse(source_, "geometry", "must be \"2x20\", \"2x16\", \"4x20\" or null");

        if (root.contains("sizeCode")) {
            const Json& code = root["sizeCode"];
            if (!code.is_number_unsigned() || code.get<uint64_t>() > 0xFFFFFFFFu) {
                Refuse(source_, "sizeCode", "must be a whole number from 0 to 4294967295");
            }
            file.header = code.get<uint32_t>();
            const uint32_t low = file.header & 0xFFFFu;
            if (named != 0 && low != named) Refuse(source_, "sizeCode", "does not name the geometry " + geometry.dump());
            if (named == 0 && FindDisplaySize(low) != nullptr) {
                Refuse(source_, "sizeCode", std::string("names the geometry \"") + GeometryName(low) + "\", not null");
            }
        } else if (named == 0) {
            Refuse(source_, "sizeCode", "missing; a screen of no known geometry needs its size code");
        } else {
            file.header = named;
        }

        ScreenDocument& doc = file.doc;
        doc = FreshEditorDocument(kBuiltInGlyphs);
        const size_t rows = root.contains("rows") && root["rows"].is_array() ? root["rows"].size() : 0;
        if (named == kSize2x16 && rows == 4) SetDisplaySize(doc, kSize4x20);
        SetDisplaySize(doc, file.header & 0xFFFFu);
    }

    void ReadRows(const Json& root, ScreenDocument& doc) const {
        const std::string shape = std::to_string(doc.rows) + " rows of " + std::to_string(doc.columns);
        if (!root.contains("rows") || !root["rows"].is_array()) Refuse(source_, "rows", "missing: " + shape);
        const Json& rows = root["rows"];
        const bool either = doc.sizeCode == kSize2x16 && (rows.size() == 2 || rows.size() == 4);
        if (rows.size() != doc.rows && !either) {
            Refuse(source_, "rows", std::to_string(rows.size()) + " rows; this screen has " + shape);
        }
        for (size_t y = 0; y < rows.size(); ++y) {
            const std::string field = "rows[" + std::to_string(y) + "]";
            if (!rows[y].is_string()) Refuse(source_, field, "must be a string");
            const ReadableText text = ReadableToText(rows[y].get<std::string>());
            if (!text.error.empty()) Refuse(source_, field, text.error);
            switch (StampRowText(doc, static_cast<uint32_t>(y + 1), text.bytes.data(), text.bytes.size())) {
                case RowTextResult::Stamped:
                    break;
                case RowTextResult::TooLong:
                    Refuse(source_, field, std::to_string(text.bytes.size()) + " characters; the row holds " +
                                               std::to_string(doc.columns));
                case RowTextResult::NoSuchRow:
                    Refuse(source_, field, "this screen has " + shape);
            }
        }
    }

    void ReadCharacters(const Json& root, ScreenDocument& doc) const {
        const char* shape = "must be 8 characters of 8 strings of 5 '#' or '.'";
        if (!root.contains("characters") || !root["characters"].is_array() || root["characters"].size() != kUserGlyphCount) {
            Refuse(source_, "characters", shape);
        }
        for (size_t code = 0; code < kUserGlyphCount; ++code) {
            const std::string field = "characters[" + std::to_string(code) + "]";
            const Json& rows = root["characters"][code];
            if (!rows.is_array() || rows.size() != kGlyphRows) Refuse(source_, field, "must be 8 strings of 5 '#' or '.'");
            std::string pattern;
            for (size_t row = 0; row < kGlyphRows; ++row) {
                const std::string rowField = field + "[" + std::to_string(row) + "]";
                const std::string dots = rows[row].is_string() ? rows[row].get<std::string>() : std::string();
                if (dots.size() != kDotColumns ||
                    !std::all_of(dots.begin(), dots.end(), [](char c) { return c == kLitDot || c == kDarkDot; })) {
                    Refuse(source_, rowField, "must be 5 of '#' (lit) or '.' (dark)");
                }
                pattern += dots;
            }
            DrawGlyph(doc.GlyphOf(code), pattern);
        }
    }

    void ReadExtra(const Json& extra, ExactStartScreen& file) const {
        OnlyKeys(extra, "extra", {"textBytes", "trailing", "pixels"});
        ScreenDocument& doc = file.doc;
        const size_t cells = UsedCellCount(doc);
        if (extra.contains("textBytes")) {
            const Json& count = extra["textBytes"];
            if (!count.is_number_unsigned() || count.get<uint64_t>() > cells) {
                Refuse(source_, "extra.textBytes", "must be a whole number from 0 to " + std::to_string(cells));
            }
            file.textBytes = count.get<size_t>();
            // Cells the file does not supply are blank when the editor reads it.
            for (size_t i = file.textBytes; i < cells; ++i) {
                if (doc.cells[i] != kSpace) Refuse(source_, "rows", "text beyond extra.textBytes must be blank");
            }
        }
        if (extra.contains("trailing")) {
            file.trailing = HexBytes(extra["trailing"], "extra.trailing");
            if (!file.trailing.empty() && file.textBytes < cells) {
                Refuse(source_, "extra.trailing", "a file whose text ends early has nothing after it");
            }
        }
        if (doc.sizeCode == kSize2x16) {
            const size_t length = kTextOffset + file.textBytes + file.trailing.size();
            if (doc.rows == 4 && file.textBytes < cells) {
                Refuse(source_, "extra.textBytes", "a 2x16 file shorter than 516 bytes is read with 2 rows");
            }
            if (doc.rows == 2 && length >= kTextOffset + 64) {
                Refuse(source_, "extra.trailing", "a 2x16 file of 516 bytes or more is read with 4 rows");
            }
        }
        if (extra.contains("pixels")) ReadPixels(extra["pixels"], doc);
    }

    // Exact pixel bytes of a character; its dots must say the same, so an edit of either is not lost.
    void ReadPixels(const Json& pixels, ScreenDocument& doc) const {
        if (!pixels.is_object()) Refuse(source_, "extra.pixels", "must be an object keyed by character 0-7");
        for (const auto& item : pixels.items()) {
            const std::string& key = item.key();
            const Json& value = item.value();
            const std::string field = "extra.pixels." + key;
            if (key.size() != 1 || key[0] < '0' || key[0] > '7') Refuse(source_, field, "names no user character 0-7");
            const std::vector<uint8_t> bytes = HexBytes(value, field);
            if (bytes.size() != kGlyphBytes) Refuse(source_, field, "must be 56 bytes, 8 rows of 7");
            auto* glyph = doc.GlyphOf(static_cast<size_t>(key[0] - '0')).data();
            for (size_t i = 0; i < kGlyphBytes; ++i) {
                if (i % kGlyphRowBytes < kDotColumns && (bytes[i] != 0) != (glyph[i] != 0)) {
                    Refuse(source_, field, "disagrees with characters[" + key + "] at row " +
                                               std::to_string(i / kGlyphRowBytes) + ", column " +
                                               std::to_string(i % kGlyphRowBytes));
                }
            }
            std::copy(bytes.begin(), bytes.end(), glyph);
        }
    }

    std::string source_;
};

}  // namespace

std::string StartScreenToJson(const ExactStartScreen& file) {
    const ScreenDocument& doc = file.doc;
    Json root;
    const char* geometry = GeometryName(doc.sizeCode);
    root["geometry"] = geometry == nullptr ? Json(nullptr) : Json(geometry);
    root["sizeCode"] = file.header;
    root["rows"] = Json::array();
    for (size_t y = 0; y < doc.rows; ++y) {
        root["rows"].push_back(TextToReadable(doc.cells.data() + y * doc.columns, doc.columns));
    }
    root["characters"] = Json::array();
    for (size_t code = 0; code < kUserGlyphCount; ++code) {
        root["characters"].push_back(Character(doc.GlyphOf(code).data()));
    }

    Json extra = Json::object();
    if (file.textBytes < UsedCellCount(doc)) extra["textBytes"] = file.textBytes;
    if (!file.trailing.empty()) extra["trailing"] = HexText(file.trailing, HexLetters::Lower);
    Json pixels = Json::object();
    for (size_t code = 0; code < kUserGlyphCount; ++code) {
        const auto* glyph = doc.GlyphOf(code).data();
        if (!DotsSayAll(glyph)) pixels[std::to_string(code)] = HexText({glyph, kGlyphBytes}, HexLetters::Lower);
    }
    if (!pixels.empty()) extra["pixels"] = pixels;
    if (!extra.empty()) root["extra"] = extra;
    return root.dump(2, ' ', false, Json::error_handler_t::strict) + "\n";
}

ExactStartScreen StartScreenFromJson(const std::string& json, const std::string& source) {
    JsonReader reader(source);
    return reader.Read(reader.Parse(json));
}
