#include <algorithm>
#include <cstdio>
#include <memory>

#include "cli/commands/commands.h"
#include "cli/support/help_text.h"
#include "cli/commands/start_screen_input.h"
#include "cli/support/file_access.h"
#include "document/display_size.h"
#include "document/start_screen_file.h"
#include "formats/text_mapping.h"
#include "link/display_protocol.h"

namespace {

std::string Hex(uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*X", digits, value);
    return text;
}

std::string List(const std::vector<size_t>& codes) {
    if (codes.empty()) return "none";
    std::string text;
    for (size_t code : codes) text += (text.empty() ? "" : " ") + std::to_string(code);
    return text;
}

// What the editor does with this file that its user would not expect.
std::vector<std::string> Surprises(const ExactStartScreen& file, size_t length) {
    const ScreenDocument& doc = file.doc;
    const size_t cells = UsedCellCount(doc);
    std::vector<std::string> notes;
    if (length < kTextOffset) {
        notes.push_back("the file ends before its text (" + std::to_string(length) +
                        " of 452 bytes of header and user characters): the editor keeps the bytes it had for the rest "
                        "and shows \"Error loading\"");
    } else if (file.textBytes < cells) {
        notes.push_back("the text ends after " + std::to_string(file.textBytes) + " of " + std::to_string(cells) +
                        " bytes: the editor shows \"Error loading\" and leaves the rest blank");
    }
    if (!file.trailing.empty()) {
        notes.push_back(std::to_string(file.trailing.size()) + " bytes after the text are never read by the editor");
    }
    if (FindDisplaySize(doc.sizeCode) == nullptr) {
        notes.push_back("size code " + Hex(doc.sizeCode, 4) + " names no size: the editor keeps the size in force "
                        "(2x20 after it starts), reads that many text bytes and saves the code again");
    }
    if ((file.header >> 16) != 0) {
        notes.push_back("header bytes 2 and 3 are not zero: the editor ignores them and saves them as 00 00");
    }
    if (doc.sizeCode == kSize2x16) {
        notes.push_back(doc.rows == 4
                            ? "a 2x16 file does not record its rows; 516 bytes or more says 4, but an editor with 2 "
                              "rows in force (as after it starts) reads 2 rows and ignores the other 32 text bytes"
                            : "a 2x16 file does not record its rows; fewer than 516 bytes says 2, but an editor with 4 "
                              "rows in force (after 4x20) asks for 64 text bytes and shows \"Error loading\"");
    }
    for (size_t code = 0; code < kUserGlyphCount; ++code) {
        auto* glyph = doc.GlyphOf(code).data();
        bool odd = false, hidden = false;
        for (size_t i = 0; i < kGlyphBytes; ++i) {
            if (i % kGlyphRowBytes >= 5) hidden = hidden || glyph[i] != 0;
            else odd = odd || glyph[i] > 1;
        }
        if (odd) {
            notes.push_back("user character " + std::to_string(code) + " has pixel bytes other than 0 and 1: the "
                            "module lights every non-zero byte, the editor's preview only 1 and 0x78");
        }
        if (hidden) {
            notes.push_back("user character " + std::to_string(code) + " has bytes in the hidden columns 5 and 6: "
                            "the module never shows them, the editor's preview draws column 5 when lit");
        }
    }
    for (size_t i = 0; i < cells; ++i) {
        if (doc.cells[i] != kCommandPrefix) continue;
        notes.push_back("row " + std::to_string(i / doc.columns + 1) + ", column " + std::to_string(i % doc.columns + 1) +
                        " holds 0xFE, the module's command prefix: a blank is sent in its place");
    }
    return notes;
}

void RunInfo(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadInputFile(path);
    const ExactStartScreen file = LoadStartScreenFile(path);
    const ScreenDocument& doc = file.doc;
    const char* name = GeometryName(doc.sizeCode);
    const size_t cells = UsedCellCount(doc);

    std::string text = "file: " + path + ", " + std::to_string(bytes.size()) + " bytes\n";
    text += "geometry: " + std::to_string(doc.columns) + " columns x " + std::to_string(doc.rows) + " rows\n";
    text += "size code: " + Hex(file.header, 8) +
            (name != nullptr ? std::string(", the known size ") + name : std::string(", no known size")) + "\n";
    text += "rows:\n";
    for (size_t row = 0; row < doc.rows; ++row) {
        text += "  " + std::to_string(row + 1) + " |" + TextToReadable(doc.cells.data() + row * doc.columns, doc.columns) + "|\n";
    }
    std::vector<size_t> used, drawn;
    for (size_t code = 0; code < kUserGlyphCount; ++code) {
        if (std::find(doc.cells.begin(), doc.cells.begin() + cells, code) != doc.cells.begin() + cells) used.push_back(code);
        auto* glyph = doc.GlyphOf(code).data();
        if (std::any_of(glyph, glyph + kGlyphBytes, [](uint8_t b) { return b != 0; })) drawn.push_back(code);
    }
    text += "user characters on the screen: " + List(used) + "\n";
    text += "user characters not blank: " + List(drawn) + "\n";
    const std::vector<std::string> notes = Surprises(file, bytes.size());
    text += "notes:" + std::string(notes.empty() ? " none\n" : "\n");
    for (const std::string& note : notes) text += "  - " + note + "\n";
    WriteOutput("", text);
}

}  // namespace

void AddInfoCommand(CLI::App& app) {
    auto path = std::make_shared<std::string>();
    CLI::App* command = app.add_subcommand("info", "Describe a start-screen file and what the editor would make of it");
    AddHelpFooter(*command, "brevant-cli info examples/shop-2x16.kss");
    command->add_option("FILE", *path, "The start-screen file, - for standard input")->required();
    command->callback([path] { RunInfo(*path); });
}
