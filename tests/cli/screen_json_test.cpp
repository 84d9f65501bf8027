#include "formats/screen_json.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <functional>

#include "cli_run.h"
#include "document/built_in_glyphs.h"
#include "formats/format_error.h"
#include "formats/text_mapping.h"

namespace {

using Json = nlohmann::ordered_json;

std::string Readable(std::vector<uint8_t> bytes) { return TextToReadable(bytes.data(), bytes.size()); }

TEST(TextMapping, BytesReadAsTheModuleShowsThemOrAsEscapes) {
    const std::pair<uint8_t, const char*> table[] = {
        {0x20, " "},         {0x41, "A"},         {0x5B, "["},         {0x5C, "\xC2\xA5"},  {0x5D, "]"},
        {0x7D, "}"},         {0x7E, "\xE2\x86\x92"}, {0x7F, "\xE2\x86\x90"}, {0xA1, "\xEF\xBD\xA1"},
        {0xB1, "\xEF\xBD\xB1"}, {0xDF, "\xEF\xBE\x9F"}, {0x00, "\\0"},   {0x07, "\\7"},       {0x08, "\\x08"},
        {0x1F, "\\x1F"},     {0x80, "\\x80"},     {0xA0, "\\xA0"},     {0xE0, "\\xE0"},     {0xFE, "\\xFE"},
        {0xFF, "\\xFF"},
    };
    for (const auto& [byte, text] : table) EXPECT_EQ(Readable({byte}), text) << int(byte);
}

TEST(TextMapping, EveryByteComesBackAndLowerCaseHexIsAccepted) {
    std::vector<uint8_t> all(256);
    for (size_t i = 0; i < 256; ++i) all[i] = static_cast<uint8_t>(i);
    const ReadableText back = ReadableToText(Readable(all));
    EXPECT_EQ(back.error, "");
    EXPECT_EQ(back.bytes, all);
    EXPECT_EQ(ReadableToText("\\xfe\\x0a").bytes, (std::vector<uint8_t>{0xFE, 0x0A}));
}

TEST(TextMapping, RefusesWhatNamesNoByte) {
    const std::pair<const char*, const char*> table[] = {
        {"ab\\", "a backslash begins no escape (\\0 to \\7, \\xHH) at character 3"},
        {"\\8", "a backslash begins no escape"},
        {"\\xG0", "a backslash begins no escape"},
        {"\\x4", "a backslash begins no escape"},
        {"\\\\", "a backslash begins no escape"},
        {"a\xC3\xA9", "U+00E9 is not in the module's character set at character 2"},
        {"\t", "U+0009 is not in the module's character set"},
        {"\xC3", "not UTF-8 at character 1"},
        {"\xC0\x80", "not UTF-8"},
        {"\xED\xA0\x80", "not UTF-8"},
        {"\xF4\x90\x80\x80", "not UTF-8"},
        {"\xE2\x82", "not UTF-8"},
    };
    for (const auto& [text, error] : table) {
        const ReadableText result = ReadableToText(text);
        EXPECT_NE(result.error.find(error), std::string::npos) << text << " -> " << result.error;
    }
}

std::vector<uint8_t> Bytes(const ExactStartScreen& file) { return WriteExactStartScreen(file); }

ExactStartScreen Read(const std::vector<uint8_t>& bytes) {
    return ReadExactStartScreen(bytes.data(), bytes.size(), kBuiltInGlyphs);
}

// export then import; the JSON text must also be stable.
void ExpectRoundTrip(const std::vector<uint8_t>& bytes, const std::string& label) {
    const std::string json = StartScreenToJson(Read(bytes));
    const ExactStartScreen imported = StartScreenFromJson(json, label);
    ASSERT_EQ(Bytes(imported), bytes) << label << "\n" << json;
    EXPECT_EQ(StartScreenToJson(imported), json) << label;
}

TEST(ScreenJson, GeneratedFilesWithEveryByteValueComeBackWhole) {
    const uint32_t headers[] = {0x8008, 0x8009, 0x800A, 0x1234, 0x0000, 0xFFFFFFFF, 0x12348008, 0xABCD8009, 0x0001800A};
    const size_t lengths[] = {452, 453, 470, 483, 484, 485, 491, 492, 493, 500, 515, 516, 517, 531, 532, 533, 700};
    for (uint32_t header : headers) {
        for (size_t length : lengths) {
            for (uint8_t seed : {0, 1, 2, 91}) {
                std::vector<uint8_t> bytes(length);
                for (size_t i = 0; i < length; ++i) {
                    bytes[i] = seed == 0 ? static_cast<uint8_t>(i) : static_cast<uint8_t>(i * seed * 37 + seed);
                }
                // Half the generations with plain 0/1 pixels, so both forms of a character are met.
                if (seed == 1) for (size_t i = 4; i < 452; ++i) bytes[i] = (i % 7 < 5) ? bytes[i] & 1 : 0;
                for (size_t i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(header >> (8 * i));
                ExpectRoundTrip(bytes, std::to_string(header) + "/" + std::to_string(length) + "/" + std::to_string(seed));
            }
        }
    }
}

TEST(ScreenJson, FuzzSeedsComeBackWhole) {
    size_t tried = 0;
    for (const auto& entry : std::filesystem::directory_iterator(FUZZ_SEEDS)) {
        const std::vector<uint8_t> seed = ReadBytes(entry.path().string());
        if (seed.size() < 1 + 452) continue;
        ExpectRoundTrip(std::vector<uint8_t>(seed.begin() + 1, seed.end()), entry.path().filename().string());
        ++tried;
    }
    EXPECT_GE(tried, 6u);
}

TEST(ScreenJson, OddFileInAllItsFields) {
    std::vector<uint8_t> bytes(452 + 3, 0);
    bytes[0] = 0x34; bytes[1] = 0x12; bytes[2] = 0x01;
    bytes[4 + 56 * 2 + 0] = 1;     // character 2, row 0, column 0: plain
    bytes[4 + 56 * 5 + 7 + 4] = 2; // character 5, row 1, column 4: a 2
    bytes[4 + 56 * 5 + 7 + 5] = 1; // character 5, row 1, hidden column 5
    bytes[452] = 'O'; bytes[453] = 0; bytes[454] = 0x5C;
    const std::string expected = R"({
  "geometry": null,
  "sizeCode": 70196,
  "rows": [
    "O\\0¥                 ",
    "                    "
  ],
  "characters": [
    [
      ".....",
      ".....",
      ".....",
      ".....",
      ".....",
      ".....",
      ".....",
      "....."
    ],
    [
      ".....",
      ".....",
      ".....",
      ".....",
      ".....",
      ".....",
      ".....",
      "....."
    ],
    [
      "#....",
      ".....",
      ".....",
      ".....",
      ".....",
      ".....",
      ".....",
      "....."
    ],
    [
      ".....",
      ".....",
      ".....",
      ".....",
      ".....",
      ".....",
      ".....",
      "....."
    ],
    [
      ".....",
      ".....",
      ".....",
      ".....",
      ".....",
      ".....",
      ".....",
      "....."
    ],
    [
      ".....",
      "....#",
      ".....",
      ".....",
      ".....",
      ".....",
      ".....",
      "....."
    ],
    [
      ".....",
      ".....",
      ".....",
      ".....",
      ".....",
      ".....",
      ".....",
      "....."
    ],
    [
      ".....",
      ".....",
      ".....",
      ".....",
      ".....",
      ".....",
      ".....",
      "....."
    ]
  ],
  "extra": {
    "textBytes": 3,
    "pixels": {
      "5": "0000000000000000000000020100000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
    }
  }
}
)";
    EXPECT_EQ(StartScreenToJson(Read(bytes)), expected);
    EXPECT_EQ(Bytes(StartScreenFromJson(expected, "odd.json")), bytes);
}

std::string ValidJson() {
    ExactStartScreen file = Read(std::vector<uint8_t>{0x08, 0x80, 0, 0});
    file.textBytes = 40;
    return StartScreenToJson(file);
}

std::string Edited(const std::function<void(Json&)>& edit) {
    Json json = Json::parse(ValidJson());
    edit(json);
    return json.dump(2);
}

TEST(ScreenJson, RefusalsNameTheLineAndColumnOrTheField) {
    const std::string valid = ValidJson();
    ASSERT_NO_THROW(StartScreenFromJson(valid, "s.json"));
    const std::pair<std::string, std::string> table[] = {
        {"{\n  \"geometry\": \"2x20\",\n  \"rows\": [\n}", "s.json:4:1: not valid JSON"},
        {"{\"geometry\": \"2x20\" \"rows\": []}", "s.json:1:26: not valid JSON"},
        {"", "s.json:1:1: not valid JSON"},
        {"[]", "s.json: the file: must be an object"},
        {Edited([](Json& j) { j["geometry"] = "3x20"; }), "s.json: geometry: must be \"2x20\", \"2x16\", \"4x20\" or null"},
        {Edited([](Json& j) { j.erase("geometry"); }), "s.json: geometry: missing"},
        {Edited([](Json& j) { j["colour"] = 1; }), "s.json: colour: is not a field of a start screen"},
        {Edited([](Json& j) { j["rows"][1] = "123456789012345678901"; }), "s.json: rows[1]: 21 characters; the row holds 20"},
        {Edited([](Json& j) { j["rows"][1] = "\\x41\\x4"; }), "s.json: rows[1]: a backslash begins no escape"},
        {Edited([](Json& j) { j["rows"][0] = "\xC3\xA9"; }), "s.json: rows[0]: U+00E9 is not in the module's character set"},
        {Edited([](Json& j) { j["rows"].push_back("x"); }), "s.json: rows: 3 rows; this screen has 2 rows of 20"},
        {Edited([](Json& j) { j["rows"][0] = 5; }), "s.json: rows[0]: must be a string"},
        {Edited([](Json& j) { j["characters"][2].erase(7); }), "s.json: characters[2]: must be 8 strings"},
        {Edited([](Json& j) { j["characters"][2][3] = "####"; }), "s.json: characters[2][3]: must be 5 of '#'"},
        {Edited([](Json& j) { j["characters"][2][3] = "##x##"; }), "s.json: characters[2][3]: must be 5 of '#'"},
        {Edited([](Json& j) { j["characters"].erase(0); }), "s.json: characters: must be 8 characters"},
        {Edited([](Json& j) { j["sizeCode"] = 0x800A; }), "s.json: sizeCode: does not name the geometry \"2x20\""},
        {Edited([](Json& j) { j["sizeCode"] = -1; }), "s.json: sizeCode: must be a whole number"},
        {Edited([](Json& j) { j["sizeCode"] = 0x100000000; }), "s.json: sizeCode: must be a whole number"},
        {Edited([](Json& j) { j["geometry"] = nullptr; }), "s.json: sizeCode: names the geometry \"2x20\", not null"},
        {Edited([](Json& j) { j["geometry"] = nullptr; j.erase("sizeCode"); }), "s.json: sizeCode: missing"},
        {Edited([](Json& j) { j["extra"] = {{"size", 1}}; }), "s.json: extra.size: is not a field"},
        {Edited([](Json& j) { j["extra"] = {{"textBytes", 41}}; }), "s.json: extra.textBytes: must be a whole number from 0 to 40"},
        {Edited([](Json& j) { j["extra"] = {{"textBytes", 1}}; j["rows"][1] = "x"; }), "s.json: rows: text beyond extra.textBytes must be blank"},
        {Edited([](Json& j) { j["extra"] = {{"trailing", "abc"}}; }), "s.json: extra.trailing: must be hexadecimal byte pairs"},
        {Edited([](Json& j) { j["extra"] = {{"trailing", "zz"}}; }), "s.json: extra.trailing: must be hexadecimal byte pairs"},
        {Edited([](Json& j) { j["extra"] = {{"textBytes", 3}, {"trailing", "00"}}; }), "s.json: extra.trailing: a file whose text ends early"},
        {Edited([](Json& j) { j["extra"] = {{"pixels", {{"8", std::string(112, '0')}}}}; }), "s.json: extra.pixels.8: names no user character"},
        {Edited([](Json& j) { j["extra"] = {{"pixels", {{"1", std::string(110, '0')}}}}; }), "s.json: extra.pixels.1: must be 56 bytes"},
        {Edited([](Json& j) { j["extra"] = {{"pixels", {{"0", "02" + std::string(110, '0')}}}}; }),
         "s.json: extra.pixels.0: disagrees with characters[0] at row 0, column 0"},
        {Edited([](Json& j) {
             j["geometry"] = "2x16"; j["sizeCode"] = 0x8009;
             j["rows"] = {"", "", "", ""}; j["extra"] = {{"textBytes", 63}};
         }), "s.json: extra.textBytes: a 2x16 file shorter than 516 bytes is read with 2 rows"},
        {Edited([](Json& j) {
             j["geometry"] = "2x16"; j["sizeCode"] = 0x8009;
             j["rows"] = {"", ""}; j["extra"] = {{"trailing", std::string(64, '0')}};
         }), "s.json: extra.trailing: a 2x16 file of 516 bytes or more is read with 4 rows"},
    };
    for (const auto& [json, message] : table) {
        try {
            StartScreenFromJson(json, "s.json");
            ADD_FAILURE() << "accepted: " << json;
        } catch (const FormatError& failure) {
            EXPECT_NE(std::string(failure.what()).find(message), std::string::npos)
                << failure.what() << "\nexpected: " << message;
        }
    }
}

TEST(ScreenJson, ShortRowsAreFilledWithBlanks) {
    const ExactStartScreen file = StartScreenFromJson(Edited([](Json& j) { j["rows"][0] = "Hi"; }), "s.json");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.doc.cells.data()), 20), "Hi" + std::string(18, ' '));
}

}  // namespace
