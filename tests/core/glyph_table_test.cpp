#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace {

// Unsized on purpose: a generator emitting the wrong count shows up in sizeof.
const unsigned char kShippedTable[] = {
#include "glyph_table_data.inc"
};

constexpr std::size_t kGlyphCount = 255;
constexpr std::size_t kRows = 8;
constexpr std::size_t kRowBytes = 7;
constexpr std::size_t kGlyphBytes = kRows * kRowBytes;

// unsigned rather than uint8_t so that failures print numbers, not characters.
using Design = std::array<unsigned, kRows>;

unsigned char Pixel(unsigned code, unsigned row, unsigned column) {
  return kShippedTable[code * kGlyphBytes + row * kRowBytes + column];
}

// Columns 0-4 as a 5-bit value, column 0 in bit 4, as the module takes them.
unsigned PackedRow(unsigned code, unsigned row) {
  unsigned value = 0;
  for (unsigned column = 0; column < 5; ++column) {
    value <<= 1;
    if (Pixel(code, row, column) != 0) value |= 1;
  }
  return value;
}

Design PackedGlyph(unsigned code) {
  Design rows{};
  for (unsigned row = 0; row < kRows; ++row) rows[row] = PackedRow(code, row);
  return rows;
}

bool IsBlank(unsigned code) {
  for (std::size_t i = 0; i < kGlyphBytes; ++i) {
    if (kShippedTable[code * kGlyphBytes + i] != 0) return false;
  }
  return true;
}

std::string Hex(unsigned code) {
  static const char kDigits[] = "0123456789ABCDEF";
  return std::string("0x") + kDigits[(code >> 4) & 0xF] + kDigits[code & 0xF];
}

// Names each code whose design repeats that of an earlier code in the list.
std::vector<std::string> DuplicateDesigns(const std::vector<unsigned>& codes) {
  std::map<Design, unsigned> seen;
  std::vector<std::string> duplicates;
  for (unsigned code : codes) {
    auto [it, inserted] = seen.emplace(PackedGlyph(code), code);
    if (!inserted) duplicates.push_back(Hex(it->second) + " and " + Hex(code));
  }
  return duplicates;
}

std::vector<unsigned> CodeRange(unsigned first, unsigned last) {
  std::vector<unsigned> codes;
  for (unsigned code = first; code <= last; ++code) codes.push_back(code);
  return codes;
}

TEST(GlyphTableTest, HoldsExactly255GlyphsOf56Bytes) {
  EXPECT_EQ(sizeof kShippedTable, 14280u);
  EXPECT_EQ(sizeof kShippedTable, kGlyphCount * kGlyphBytes);
}

TEST(GlyphTableTest, EveryPixelByteIsZeroOrOne) {
  for (std::size_t i = 0; i < sizeof kShippedTable; ++i) {
    ASSERT_LE(kShippedTable[i], 1) << "byte " << i << " of glyph "
                                   << Hex(static_cast<unsigned>(i / kGlyphBytes));
  }
}

TEST(GlyphTableTest, ColumnsFiveAndSixAreDarkInEveryGlyph) {
  for (unsigned code = 0; code < kGlyphCount; ++code) {
    for (unsigned row = 0; row < kRows; ++row) {
      EXPECT_EQ(Pixel(code, row, 5), 0) << Hex(code) << " row " << row;
      EXPECT_EQ(Pixel(code, row, 6), 0) << Hex(code) << " row " << row;
    }
  }
}

TEST(GlyphTableTest, BottomRowIsDarkInEveryBuiltInGlyph) {
  for (unsigned code = 8; code < kGlyphCount; ++code) {
    EXPECT_EQ(PackedRow(code, 7), 0) << Hex(code);
  }
}

TEST(GlyphTableTest, UserCharactersHoldTheDefaultDesigns) {
  const Design expected[8] = {
      {0x00, 0x00, 0x1F, 0x07, 0x01, 0x00, 0x00, 0x0C},
      {0x00, 0x00, 0x00, 0x18, 0x1E, 0x0F, 0x07, 0x1B},
      {0x00, 0x03, 0x03, 0x07, 0x07, 0x07, 0x13, 0x1B},
      {0x18, 0x1E, 0x12, 0x1B, 0x1F, 0x1F, 0x1E, 0x1E},
      {0x0C, 0x0F, 0x0F, 0x1B, 0x1B, 0x18, 0x18, 0x00},
      {0x19, 0x19, 0x18, 0x0C, 0x0C, 0x0C, 0x0C, 0x00},
      {0x18, 0x18, 0x18, 0x1C, 0x0C, 0x0C, 0x04, 0x04},
      {0x18, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
  };
  for (unsigned code = 0; code < 8; ++code) {
    EXPECT_EQ(PackedGlyph(code), expected[code]) << "user character " << code;
  }
}

TEST(GlyphTableTest, UserCharacterPixelsSitAtTheirByteOffsets) {
  // Row 2 of glyph 0 is fully lit (0x1F) and row 7 is 0x0C: bytes 14-18 and
  // 49-53, checked raw so a transposed layout cannot pass through PackedRow.
  const unsigned char row2[7] = {1, 1, 1, 1, 1, 0, 0};
  const unsigned char row7[7] = {0, 1, 1, 0, 0, 0, 0};
  for (unsigned p = 0; p < 7; ++p) {
    EXPECT_EQ(kShippedTable[14 + p], row2[p]) << "byte " << 14 + p;
    EXPECT_EQ(kShippedTable[49 + p], row7[p]) << "byte " << 49 + p;
  }
  // Glyph 1 starts at byte 56 with two dark rows, then row 2 dark, row 3 0x18.
  const unsigned char glyph1_row3[7] = {1, 1, 0, 0, 0, 0, 0};
  for (unsigned p = 0; p < 7; ++p) {
    EXPECT_EQ(kShippedTable[56 + 21 + p], glyph1_row3[p]) << "byte " << 77 + p;
  }
}

TEST(GlyphTableTest, FixedDesignsAreExact) {
  const Design letter_a{0x0E, 0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x00};
  const Design yen{0x11, 0x0A, 0x1F, 0x04, 0x1F, 0x04, 0x04, 0x00};
  const Design right_arrow{0x00, 0x04, 0x02, 0x1F, 0x02, 0x04, 0x00, 0x00};
  const Design katakana_wo{0x00, 0x1F, 0x01, 0x1F, 0x01, 0x02, 0x04, 0x00};
  EXPECT_EQ(PackedGlyph(0x41), letter_a);
  EXPECT_EQ(PackedGlyph(0x5C), yen);
  EXPECT_EQ(PackedGlyph(0x7E), right_arrow);
  EXPECT_EQ(PackedGlyph(0xA6), katakana_wo);
}

TEST(GlyphTableTest, LeftArrowMirrorsRightArrow) {
  for (unsigned row = 0; row < kRows; ++row) {
    for (unsigned column = 0; column < 5; ++column) {
      EXPECT_EQ(Pixel(0x7F, row, column), Pixel(0x7E, row, 4 - column))
          << "row " << row << " column " << column;
    }
  }
}

TEST(GlyphTableTest, ControlAndHighBlankRangesAreBlank) {
  for (unsigned code = 0x08; code <= 0x20; ++code) {
    EXPECT_TRUE(IsBlank(code)) << Hex(code);
  }
  for (unsigned code = 0x80; code <= 0xA0; ++code) {
    EXPECT_TRUE(IsBlank(code)) << Hex(code);
  }
}

TEST(GlyphTableTest, PrintableAsciiAndKatakanaHaveDesigns) {
  for (unsigned code = 0x21; code <= 0x7F; ++code) {
    EXPECT_FALSE(IsBlank(code)) << Hex(code);
  }
  for (unsigned code = 0xA1; code <= 0xDF; ++code) {
    EXPECT_FALSE(IsBlank(code)) << Hex(code);
  }
}

TEST(GlyphTableTest, NoTwoAsciiLettersShareADesign) {
  std::vector<unsigned> letters = CodeRange('A', 'Z');
  for (unsigned code = 'a'; code <= 'z'; ++code) letters.push_back(code);
  EXPECT_EQ(DuplicateDesigns(letters), std::vector<std::string>{});
}

TEST(GlyphTableTest, NoTwoPrintableAsciiCharactersShareADesign) {
  EXPECT_EQ(DuplicateDesigns(CodeRange(0x21, 0x7F)), std::vector<std::string>{});
}

TEST(GlyphTableTest, NoTwoKatakanaBlockCharactersShareADesign) {
  EXPECT_EQ(DuplicateDesigns(CodeRange(0xA1, 0xDF)), std::vector<std::string>{});
}

}  // namespace
