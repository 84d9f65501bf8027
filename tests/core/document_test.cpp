#include <gtest/gtest.h>

#include <string>

#include "frame/frame_size.h"
#include "test_support.h"

namespace {

TEST(DisplaySize, StartupIs2x20WithBlankCellsAndTheShippedUserCharacters) {
    const ScreenDocument doc = StartupDocument();
    EXPECT_EQ(doc.sizeCode, 0x8008u);
    EXPECT_EQ(doc.columns, 20u);
    EXPECT_EQ(doc.rows, 2u);
    EXPECT_EQ(doc.paletteOffset, 50);
    for (size_t i = 0; i < 40; ++i) EXPECT_EQ(doc.cells[i], 0x20) << i;
    // The preview's creation blanked 64 cells of its 16x4 start; the rest were never touched.
    for (size_t i = 40; i < 64; ++i) EXPECT_EQ(doc.cells[i], 0x20) << i;
    for (size_t i = 64; i < kCellCount; ++i) EXPECT_EQ(doc.cells[i], 0) << i;
}

TEST(DisplaySize, TheThreeSizesSetTheirGeometryAndTheWindowSizeFollows) {
    struct Case {
        uint32_t before, code, columns, rows;
        int32_t offset;
        int width, height;
    };
    const Case cases[] = {
        {kSize4x20, kSize2x20, 20, 2, 50, 351, 180}, {kSize2x20, kSize4x20, 20, 4, 50, 351, 232},
        {kSize2x20, kSize2x16, 16, 2, 16, 283, 180}, {kSize4x20, kSize2x16, 16, 4, 16, 283, 232},
    };
    for (const Case& c : cases) {
        ScreenDocument doc = StartupDocument();
        SetDisplaySize(doc, c.before);
        SetDisplaySize(doc, c.code);
        EXPECT_EQ(doc.sizeCode, c.code);
        EXPECT_EQ(doc.columns, c.columns);
        EXPECT_EQ(doc.rows, c.rows);
        EXPECT_EQ(doc.paletteOffset, c.offset);
        EXPECT_EQ(FrameWidthFor(doc.columns), c.width);
        EXPECT_EQ(FrameHeightFor(doc.rows), c.height);
    }
}

TEST(DisplaySize, BlanksOnlyTheCellsOfTheNewGeometryEvenForTheSizeInForce) {
    ScreenDocument doc = StartupDocument();
    SetDisplaySize(doc, kSize4x20);
    doc.cells.fill('x');
    SetDisplaySize(doc, kSize2x20);
    for (size_t i = 0; i < 40; ++i) EXPECT_EQ(doc.cells[i], 0x20) << i;
    for (size_t i = 40; i < kCellCount; ++i) EXPECT_EQ(doc.cells[i], 'x') << i;

    doc.cells.fill('y');
    SetDisplaySize(doc, kSize2x16);
    for (size_t i = 0; i < 32; ++i) EXPECT_EQ(doc.cells[i], 0x20) << i;
    EXPECT_EQ(doc.cells[32], 'y');

    doc.cells.fill('z');
    SetDisplaySize(doc, kSize2x16);
    EXPECT_EQ(doc.cells[31], 0x20);
    EXPECT_EQ(doc.cells[32], 'z');
}

TEST(DisplaySize, AnUnknownCodeIsStoredKeepsTheGeometryAndStillBlanks) {
    ScreenDocument doc = StartupDocument();
    SetDisplaySize(doc, kSize4x20);
    doc.cells.fill('q');
    const GlyphTable glyphs = doc.glyphs;
    SetDisplaySize(doc, 0x12345678);
    EXPECT_EQ(doc.sizeCode, 0x5678u);
    EXPECT_EQ(doc.columns, 20u);
    EXPECT_EQ(doc.rows, 4u);
    for (size_t i = 0; i < 80; ++i) EXPECT_EQ(doc.cells[i], 0x20);
    EXPECT_EQ(doc.cells[80], 'q');
    EXPECT_EQ(doc.glyphs, glyphs);
}

TEST(DisplaySize, LeavesGlyphsAndFileNameAlone) {
    ScreenDocument doc = StartupDocument();
    ASSERT_TRUE(AssignFileName(doc, "C:\\screens\\logo.kss"));
    const GlyphTable glyphs = doc.glyphs;
    SetDisplaySize(doc, kSize4x20);
    EXPECT_STREQ(doc.fileName.data(), "C:\\screens\\logo.kss");
    EXPECT_EQ(doc.glyphs, glyphs);
}

TEST(ClearDocument, BlanksUserCharactersAndTextForgetsTheNameKeepsSizeAndFont) {
    ScreenDocument doc = StartupDocument();
    SetDisplaySize(doc, kSize2x16);
    doc.cells.fill('w');
    ASSERT_TRUE(AssignFileName(doc, "a.kss"));
    const GlyphTable before = doc.glyphs;
    ClearDocument(doc);

    for (size_t i = 0; i < kUserGlyphBytes; ++i) EXPECT_EQ(doc.glyphs[i], 0) << i;
    for (size_t i = kUserGlyphBytes; i < kGlyphTableBytes; ++i) ASSERT_EQ(doc.glyphs[i], before[i]) << i;
    for (size_t i = 0; i < 32; ++i) EXPECT_EQ(doc.cells[i], 0x20);
    EXPECT_EQ(doc.cells[32], 'w');
    EXPECT_FALSE(HasFileName(doc));
    EXPECT_EQ(doc.sizeCode, kSize2x16);
    EXPECT_EQ(doc.columns, 16u);
}

TEST(FileName, UpTo255CharactersAreTakenLongerPathsAreRefusedAndChangeNothing) {
    ScreenDocument doc;
    const std::string longest(255, 'a');
    ASSERT_TRUE(AssignFileName(doc, longest.c_str()));
    EXPECT_EQ(std::string(doc.fileName.data()), longest);

    const std::string tooLong(256, 'b');
    EXPECT_FALSE(AssignFileName(doc, tooLong.c_str()));
    EXPECT_EQ(std::string(doc.fileName.data()), longest);

    EXPECT_TRUE(AssignFileName(doc, ""));
    EXPECT_FALSE(HasFileName(doc));
}

TEST(WithoutWindows, EveryOperationWorksOnAZeroDocument) {
    ScreenDocument doc;
    EXPECT_EQ(UsedCellCount(doc), 0u);
    ClearDocument(doc);
    for (uint8_t cell : doc.cells) EXPECT_EQ(cell, 0);
    SetDisplaySize(doc, kSize2x16);
    EXPECT_EQ(doc.rows, 0u);
    EXPECT_EQ(UsedCellCount(doc), 0u);
}

}  // namespace
