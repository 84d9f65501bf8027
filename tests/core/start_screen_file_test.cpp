#include "document/start_screen_file.h"

#include <gtest/gtest.h>

#include <vector>

#include "test_support.h"

namespace {

std::vector<uint8_t> Encode(const ScreenDocument& doc) {
    StartScreenBytes bytes{};
    const size_t size = WriteStartScreen(doc, bytes);
    return std::vector<uint8_t>(bytes.begin(), bytes.begin() + size);
}

LoadOutcome Decode(ScreenDocument& doc, const std::vector<uint8_t>& file) {
    return ReadStartScreen(doc, file.data(), file.size());
}

TEST(StartScreenFile, ExactBytesAndSizesForEachGeometry) {
    struct Case {
        uint32_t before, code;
        size_t size;
        uint8_t low;
    };
    for (const Case c : {Case{kSize2x20, kSize2x20, 492, 0x08}, Case{kSize2x20, kSize4x20, 532, 0x0A},
                         Case{kSize2x20, kSize2x16, 484, 0x09}, Case{kSize4x20, kSize2x16, 516, 0x09}}) {
        ScreenDocument doc = StartupDocument();
        SetDisplaySize(doc, c.before);
        SetDisplaySize(doc, c.code);
        for (size_t i = 0; i < UsedCellCount(doc); ++i) doc.cells[i] = static_cast<uint8_t>(i * 3);
        const std::vector<uint8_t> file = Encode(doc);
        ASSERT_EQ(file.size(), c.size);
        EXPECT_EQ(file[0], c.low);
        EXPECT_EQ(file[1], 0x80);
        EXPECT_EQ(file[2], 0);
        EXPECT_EQ(file[3], 0);
        EXPECT_TRUE(std::equal(file.begin() + 4, file.begin() + 452, kShippedGlyphs));
        for (size_t i = 0; i < UsedCellCount(doc); ++i) EXPECT_EQ(file[452 + i], static_cast<uint8_t>(i * 3));
    }
}

TEST(StartScreenFile, RoundTripKeepsEveryByteIncludingOddPixelsAndText) {
    ScreenDocument doc = StartupDocument();
    SetDisplaySize(doc, kSize4x20);
    for (size_t i = 0; i < 80; ++i) doc.cells[i] = static_cast<uint8_t>(i < 8 ? i : 0xF0 + i % 16);
    doc.cells[79] = 0xFF;
    doc.cells[78] = 0xFE;
    doc.glyphs[5] = 0x78;
    doc.glyphs[6] = 2;
    doc.glyphs[447] = 0xFF;
    const std::vector<uint8_t> file = Encode(doc);

    ScreenDocument loaded = StartupDocument();
    ASSERT_EQ(Decode(loaded, file), LoadOutcome::Complete);
    EXPECT_EQ(loaded.sizeCode, kSize4x20);
    EXPECT_EQ(loaded.rows, 4u);
    EXPECT_TRUE(std::equal(loaded.cells.begin(), loaded.cells.begin() + 80, doc.cells.begin()));
    EXPECT_EQ(loaded.glyphs, doc.glyphs);
    EXPECT_EQ(Encode(loaded), file);
}

TEST(StartScreenFile, EmptyFileKeepsSizeAndCharactersAndBlanksTheText) {
    ScreenDocument doc = StartupDocument();
    SetDisplaySize(doc, kSize4x20);
    doc.cells.fill('k');
    doc.glyphs[0] = 1;
    const GlyphTable glyphs = doc.glyphs;
    EXPECT_EQ(Decode(doc, {}), LoadOutcome::TextShort);
    EXPECT_EQ(doc.sizeCode, kSize4x20);
    EXPECT_EQ(doc.rows, 4u);
    for (size_t i = 0; i < 80; ++i) EXPECT_EQ(doc.cells[i], 0x20);
    EXPECT_EQ(doc.cells[80], 'k');
    EXPECT_EQ(doc.glyphs, glyphs);
}

TEST(StartScreenFile, OnlyTheLowSixteenBitsOfTheHeaderCount) {
    ScreenDocument doc = StartupDocument();
    SetDisplaySize(doc, kSize4x20);
    std::vector<uint8_t> file = Encode(StartupDocument());
    file[2] = 0x34;
    file[3] = 0x12;
    ASSERT_EQ(Decode(doc, file), LoadOutcome::Complete);
    EXPECT_EQ(doc.sizeCode, 0x8008u);
    EXPECT_EQ(doc.rows, 2u);
    const std::vector<uint8_t> saved = Encode(doc);
    EXPECT_EQ(std::vector<uint8_t>(saved.begin(), saved.begin() + 4), (std::vector<uint8_t>{0x08, 0x80, 0, 0}));
}

TEST(StartScreenFile, AnUnknownCodeKeepsTheGeometryAndIsWrittenBack) {
    ScreenDocument doc = StartupDocument();
    SetDisplaySize(doc, kSize4x20);
    std::vector<uint8_t> file(4 + 448 + 80, 'u');
    file[0] = 0x34;
    file[1] = 0x12;
    file[2] = 0;
    file[3] = 0;
    ASSERT_EQ(Decode(doc, file), LoadOutcome::Complete);
    EXPECT_EQ(doc.sizeCode, 0x1234u);
    EXPECT_EQ(doc.columns, 20u);
    EXPECT_EQ(doc.rows, 4u);
    for (size_t i = 0; i < 80; ++i) EXPECT_EQ(doc.cells[i], 'u');
    EXPECT_EQ(Encode(doc), file);
}

TEST(StartScreenFile, TwoBySixteenKeepsTheRowCountInForce) {
    ScreenDocument fourRows = StartupDocument();
    SetDisplaySize(fourRows, kSize4x20);
    SetDisplaySize(fourRows, kSize2x16);
    for (size_t i = 0; i < 64; ++i) fourRows.cells[i] = static_cast<uint8_t>('0' + i % 40);
    const std::vector<uint8_t> fourRowFile = Encode(fourRows);
    ASSERT_EQ(fourRowFile.size(), 516u);

    ScreenDocument twoRows = StartupDocument();
    SetDisplaySize(twoRows, kSize2x20);
    twoRows.cells.fill('p');
    EXPECT_EQ(Decode(twoRows, fourRowFile), LoadOutcome::Complete) << "the extra 32 bytes are ignored";
    EXPECT_EQ(twoRows.rows, 2u);
    EXPECT_EQ(twoRows.columns, 16u);
    for (size_t i = 0; i < 32; ++i) EXPECT_EQ(twoRows.cells[i], fourRows.cells[i]);
    EXPECT_EQ(twoRows.cells[32], 'p');

    const std::vector<uint8_t> twoRowFile(fourRowFile.begin(), fourRowFile.begin() + 484);
    ScreenDocument loadedUnderFour = StartupDocument();
    SetDisplaySize(loadedUnderFour, kSize4x20);
    EXPECT_EQ(Decode(loadedUnderFour, twoRowFile), LoadOutcome::TextShort);
    EXPECT_EQ(loadedUnderFour.rows, 4u);
    for (size_t i = 0; i < 32; ++i) EXPECT_EQ(loadedUnderFour.cells[i], fourRows.cells[i]);
    for (size_t i = 32; i < 64; ++i) EXPECT_EQ(loadedUnderFour.cells[i], 0x20) << i;
}

TEST(StartScreenFile, A2x20FileLoadedUnder2x16WithFourRowsBecomes2x20) {
    ScreenDocument doc = StartupDocument();
    SetDisplaySize(doc, kSize4x20);
    SetDisplaySize(doc, kSize2x16);
    ScreenDocument source = StartupDocument();
    for (size_t i = 0; i < 40; ++i) source.cells[i] = static_cast<uint8_t>('a' + i % 26);
    ASSERT_EQ(Decode(doc, Encode(source)), LoadOutcome::Complete);
    EXPECT_EQ(doc.columns, 20u);
    EXPECT_EQ(doc.rows, 2u);
    EXPECT_EQ(doc.paletteOffset, 50);
    EXPECT_TRUE(std::equal(doc.cells.begin(), doc.cells.begin() + 40, source.cells.begin()));
}

TEST(StartScreenFile, ShortHeaderOrCharactersKeepThePreviousBytes) {
    ScreenDocument doc = StartupDocument();
    SetDisplaySize(doc, kSize4x20);  // 0A 80 00 00
    const GlyphTable before = doc.glyphs;
    EXPECT_EQ(Decode(doc, {0x09}), LoadOutcome::TextShort);
    EXPECT_EQ(doc.sizeCode, 0x8009u) << "byte 1 stays from the previous code";
    EXPECT_EQ(doc.glyphs, before);

    std::vector<uint8_t> partial = {0x08, 0x80, 0x00, 0x00};
    partial.insert(partial.end(), 10, 0x05);
    EXPECT_EQ(Decode(doc, partial), LoadOutcome::TextShort);
    for (size_t i = 0; i < 10; ++i) EXPECT_EQ(doc.glyphs[i], 0x05);
    for (size_t i = 10; i < kGlyphTableBytes; ++i) ASSERT_EQ(doc.glyphs[i], before[i]) << i;
}

TEST(StartScreenFile, ShortTextKeepsWhatWasReadAndBlanksTheRest) {
    ScreenDocument doc = StartupDocument();
    std::vector<uint8_t> file = Encode(doc);
    file.resize(452 + 7);
    std::fill(file.begin() + 452, file.end(), 'T');
    doc.cells.fill('o');
    EXPECT_EQ(Decode(doc, file), LoadOutcome::TextShort);
    for (size_t i = 0; i < 7; ++i) EXPECT_EQ(doc.cells[i], 'T');
    for (size_t i = 7; i < 40; ++i) EXPECT_EQ(doc.cells[i], 0x20);
    EXPECT_EQ(doc.cells[40], 'o');
}

TEST(StartScreenFile, ByteBeyondTheTextIsNotRead) {
    ScreenDocument doc = StartupDocument();
    std::vector<uint8_t> file = Encode(doc);
    file.insert(file.end(), 100, 'z');
    doc.cells.fill('o');
    EXPECT_EQ(Decode(doc, file), LoadOutcome::Complete);
    EXPECT_EQ(doc.cells[40], 'o');
}

}  // namespace
