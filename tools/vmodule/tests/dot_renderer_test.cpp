#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "document/built_in_glyphs.h"
#include "render/glyph_dots.h"
#include "render/terminal_glass.h"
#include "tools/vmodule/src/module_glass.h"
#include "tools/vmodule/tests/editor_sequences.h"

namespace vmodule::testing {
namespace {

constexpr unsigned char kChecker = 'A';
constexpr unsigned char kFullBlock = 0x80;
const std::string kLit = "\u2588\u2588";
const std::string kDark = "\u2591\u2591";

// Code 'A' is a checkerboard, code 0x80 fully lit; the unused pixel
// columns 5 and 6 are lit everywhere so that showing them would be seen.
std::vector<unsigned char> SyntheticFont() {
    std::vector<unsigned char> font(kGlyphTableBytes, 0);
    for (int code = 0; code < static_cast<int>(kGlyphCount); ++code)
        for (int row = 0; row < kCharacterRowCount; ++row) {
            unsigned char* pixels = &font[static_cast<std::size_t>(code * static_cast<int>(kGlyphBytes) +
                                                                   row * static_cast<int>(kGlyphRowBytes))];
            pixels[5] = pixels[6] = 1;
            for (int column = 0; column < kDotColumns; ++column) {
                if (code == kChecker) pixels[column] = (row + column) % 2 == 0;
                if (code == kFullBlock) pixels[column] = 1;
            }
        }
    return font;
}

FontGlyphs FontOf(const std::vector<unsigned char>& font) {
    return FontGlyphs(font.data(), kGlyphTableBytes);
}

std::string Repeated(const std::string& text, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) out += text;
    return out;
}

TEST(GlyphDots, UserCharactersUseBitFourAsTheLeftmostDot) {
    const auto font = SyntheticFont();
    UserCharacters characters{};
    characters[3] = {0x10, 0x01, 0x1F, 0, 0, 0, 0, 0x0A};
    const std::array<bool, 5> left{true, false, false, false, false};
    for (int column = 0; column < kDotColumns; ++column) {
        EXPECT_EQ(ModuleDotLit(FontOf(font), characters, 3, 0, column), left[column]) << column;
        EXPECT_EQ(ModuleDotLit(FontOf(font), characters, 3, 1, column), column == 4) << column;
        EXPECT_TRUE(ModuleDotLit(FontOf(font), characters, 3, 2, column)) << column;
        EXPECT_EQ(ModuleDotLit(FontOf(font), characters, 3, 7, column), column == 1 || column == 3) << column;
        EXPECT_FALSE(ModuleDotLit(FontOf(font), characters, 2, 2, column)) << "another user character";
    }
}

TEST(GlyphDots, OtherCodesComeFromTheFontAndCode255IsBlank) {
    const auto font = SyntheticFont();
    const UserCharacters characters{};
    EXPECT_TRUE(ModuleDotLit(FontOf(font), characters, kChecker, 0, 0));
    EXPECT_FALSE(ModuleDotLit(FontOf(font), characters, kChecker, 0, 1));
    EXPECT_TRUE(ModuleDotLit(FontOf(font), characters, kFullBlock, 7, 4));
    EXPECT_FALSE(ModuleDotLit(FontOf(font), characters, ' ', 7, 4));
    EXPECT_FALSE(ModuleDotLit(FontOf(font), characters, kFullBlock, 0, 5)) << "only five dots per row";
    EXPECT_FALSE(ModuleDotLit(FontOf(font), characters, kFullBlock, 8, 0));
    EXPECT_FALSE(ModuleDotLit(FontOf(font), characters, kFullBlock, -1, 0));
    for (int row = 0; row < kCharacterRowCount; ++row)
        for (int column = 0; column < kDotColumns; ++column)
            EXPECT_FALSE(ModuleDotLit(FontOf(font), characters, 0xFF, row, column));
}

TEST(DotRenderer, BlocksShowEveryDotAsTwoCharacters) {
    const auto font = SyntheticFont();
    ModuleInterpreter module(kGeometry2x16);
    module.Feed(Bytes{kCommandPrefix, kDefineCharacter, 1, 0x11, 0x0E, 0, 0, 0, 0, 0, 0x1F});
    module.Feed(Bytes{kChecker, kCommandPrefix, kPlaceCursor, 16, 2, 0x01});

    const auto lines = DrawGlass(GlassOf(module), FontOf(font), GlassStyle::Blocks);
    ASSERT_EQ(lines.size(), 17u);
    const std::string blankCell = "  " + Repeated(kDark, 5);
    EXPECT_EQ(lines[0], kLit + kDark + kLit + kDark + kLit + Repeated(blankCell, 15));
    EXPECT_EQ(lines[1], kDark + kLit + kDark + kLit + kDark + Repeated(blankCell, 15));
    EXPECT_EQ(lines[8], "");
    EXPECT_EQ(lines[9], Repeated(Repeated(kDark, 5) + "  ", 15) + kLit + Repeated(kDark, 3) + kLit);
    EXPECT_EQ(lines[10], Repeated(Repeated(kDark, 5) + "  ", 15) + kDark + Repeated(kLit, 3) + kDark);
    EXPECT_EQ(lines[16], Repeated(Repeated(kDark, 5) + "  ", 15) + Repeated(kLit, 5));
}

struct ScreenCell {
    std::string text;
    std::string foreground;
    std::string background;
};

// Splits a coloured line into its visible characters with their colours.
std::vector<ScreenCell> Decode(const std::string& line) {
    std::vector<ScreenCell> cells;
    std::string foreground, background;
    for (std::size_t i = 0; i < line.size();) {
        if (line[i] == '\x1b') {
            const std::size_t end = line.find('m', i);
            const std::string code = line.substr(i + 2, end - i - 2);
            if (code.starts_with("38;2;")) foreground = code.substr(5);
            if (code.starts_with("48;2;")) background = code.substr(5);
            i = end + 1;
            continue;
        }
        const std::size_t length = (static_cast<unsigned char>(line[i]) & 0x80) ? 3 : 1;
        cells.push_back({line.substr(i, length), foreground, background});
        i += length;
    }
    return cells;
}

TEST(DotRenderer, HalfBlocksPackTwoDotRowsPerLine) {
    const auto font = SyntheticFont();
    ModuleInterpreter module(kGeometry4x20);
    module.Feed(Bytes{kCommandPrefix, kPlaceCursor, 2, 4, kChecker});

    const auto lines = DrawGlass(GlassOf(module), FontOf(font), GlassStyle::HalfBlocks);
    ASSERT_EQ(lines.size(), 1u + 4u * 4u + 3u + 1u);
    for (const std::string& line : lines) {
        EXPECT_EQ(Decode(line).size(),
                  static_cast<std::size_t>(GlassWidth(kGeometry4x20.columns, GlassStyle::HalfBlocks)));
        EXPECT_TRUE(line.ends_with("\x1b[0m"));
    }

    const std::string panel = "57;74;212", dark = "57;74;180", lit = "255;255;255";
    // Row 4 of the module starts after the top border and three rows of four lines plus their gaps.
    const auto firstLine = Decode(lines[1 + 3 * 5]);
    EXPECT_EQ(firstLine[0].background, panel);
    EXPECT_EQ(firstLine[6].background, panel) << "gap between cells";
    const std::size_t checkerLeft = 1 + 6;
    for (std::size_t column = 0; column < 5; ++column) {
        const ScreenCell& cell = firstLine[checkerLeft + column];
        EXPECT_EQ(cell.text, "\u2580");
        EXPECT_EQ(cell.foreground, column % 2 == 0 ? lit : dark) << column;
        EXPECT_EQ(cell.background, column % 2 == 1 ? lit : dark) << column;
        EXPECT_EQ(firstLine[1 + column].foreground, dark) << "a space shows no lit dot";
    }
    EXPECT_EQ(Decode(lines[0])[checkerLeft].background, panel);
}

TEST(DotRenderer, QuadrantsPackTwoByTwoDotsAndHideTheUnusedColumns) {
    const auto font = SyntheticFont();
    ModuleInterpreter module(kGeometry2x20);
    module.Feed(Bytes{kCommandPrefix, kDefineCharacter, 1, 0x11, 0x0E, 0, 0, 0, 0, 0, 0x1F});
    module.Feed(Bytes{kChecker, kCommandPrefix, kPlaceCursor, 20, 2, 0x01});

    const auto lines = DrawGlass(GlassOf(module), FontOf(font), GlassStyle::Quadrants);
    ASSERT_EQ(lines.size(), 1u + 4u + 1u + 4u + 1u);
    for (const std::string& line : lines)
        EXPECT_EQ(Decode(line).size(),
                  static_cast<std::size_t>(GlassWidth(kGeometry2x20.columns, GlassStyle::Quadrants)));

    const auto checker = Decode(lines[1]);
    EXPECT_EQ(checker[1].text, "\u259A");
    EXPECT_EQ(checker[2].text, "\u259A");
    EXPECT_EQ(checker[3].text, "\u2598") << "the gap column stays dark";
    EXPECT_EQ(checker[1].foreground, "255;255;255");
    EXPECT_EQ(checker[4].text, " ");

    const auto user = Decode(lines[6]);
    EXPECT_EQ(user[58].text, "\u259A");
    EXPECT_EQ(user[59].text, "\u2584");
    EXPECT_EQ(user[60].text, "\u2598");
    EXPECT_EQ(Decode(lines[9])[59].text, "\u2584") << "the bottom row 0x1F";
}

TEST(DotRenderer, WidthsFitTheirTerminals) {
    EXPECT_EQ(GlassWidth(kGeometry2x20.columns, GlassStyle::Blocks), 238);
    EXPECT_EQ(GlassWidth(kGeometry2x16.columns, GlassStyle::Blocks), 190);
    EXPECT_EQ(GlassWidth(kGeometry4x20.columns, GlassStyle::HalfBlocks), 121);
    EXPECT_EQ(GlassWidth(kGeometry2x20.columns, GlassStyle::Quadrants), 62);
}

TEST(BuiltInFont, SpaceIsBlankAndLettersAreNot) {
    const UserCharacters characters{};
    int litInSpace = 0, litInA = 0;
    for (int row = 0; row < kCharacterRowCount; ++row)
        for (int column = 0; column < kDotColumns; ++column) {
            litInSpace += ModuleDotLit(FontGlyphs(kBuiltInGlyphs), characters, ' ', row, column);
            litInA += ModuleDotLit(FontGlyphs(kBuiltInGlyphs), characters, 'A', row, column);
        }
    EXPECT_EQ(litInSpace, 0);
    EXPECT_GT(litInA, 5);
}

}  // namespace
}  // namespace vmodule::testing
