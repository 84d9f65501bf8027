#include "document/exact_start_screen.h"

#include <gtest/gtest.h>

#include "document/row_text.h"
#include "test_support.h"

namespace {

std::vector<uint8_t> FileOf(std::vector<uint8_t> header, size_t length) {
    std::vector<uint8_t> file(length);
    for (size_t i = 0; i < length; ++i) file[i] = static_cast<uint8_t>(i * 7 + 3);
    std::copy(header.begin(), header.end(), file.begin());
    return file;
}

TEST(ExactStartScreen, LengthDecidesTheRowsOfA2x16FileAndTheRestIsKeptAside) {
    struct Case {
        std::vector<uint8_t> header;
        size_t length;
        uint32_t columns, rows, sizeCode, header32;
        size_t textBytes, trailing;
    };
    const Case cases[] = {
        {{0x08, 0x80, 0, 0}, 492, 20, 2, 0x8008, 0x8008, 40, 0},
        {{0x0A, 0x80, 0, 0}, 532, 20, 4, 0x800A, 0x800A, 80, 0},
        {{0x0A, 0x80, 0, 0}, 600, 20, 4, 0x800A, 0x800A, 80, 68},
        {{0x09, 0x80, 0, 0}, 484, 16, 2, 0x8009, 0x8009, 32, 0},
        {{0x09, 0x80, 0, 0}, 515, 16, 2, 0x8009, 0x8009, 32, 31},
        {{0x09, 0x80, 0, 0}, 516, 16, 4, 0x8009, 0x8009, 64, 0},
        {{0x09, 0x80, 0, 0}, 470, 16, 2, 0x8009, 0x8009, 18, 0},
        {{0x08, 0x80, 0x34, 0x12}, 492, 20, 2, 0x8008, 0x12348008, 40, 0},
        {{0x34, 0x12, 0, 0}, 500, 20, 2, 0x1234, 0x1234, 40, 8},
        {{0x08, 0x80, 0, 0}, 452, 20, 2, 0x8008, 0x8008, 0, 0},
    };
    for (const Case& c : cases) {
        const std::vector<uint8_t> bytes = FileOf(c.header, c.length);
        const ExactStartScreen file = ReadExactStartScreen(bytes.data(), bytes.size(), kShippedGlyphs);
        EXPECT_EQ(file.doc.columns, c.columns) << c.length;
        EXPECT_EQ(file.doc.rows, c.rows) << c.length;
        EXPECT_EQ(file.doc.sizeCode, c.sizeCode) << c.length;
        EXPECT_EQ(file.header, c.header32) << c.length;
        EXPECT_EQ(file.textBytes, c.textBytes) << c.length;
        EXPECT_EQ(file.trailing.size(), c.trailing) << c.length;
        EXPECT_EQ(WriteExactStartScreen(file), bytes) << c.length;
        for (size_t i = file.textBytes; i < UsedCellCount(file.doc); ++i) EXPECT_EQ(file.doc.cells[i], 0x20);
    }
}

TEST(ExactStartScreen, AShortFileKeepsTheFreshEditorsCharactersWhereItEnds) {
    const std::vector<uint8_t> bytes = FileOf({0x0A, 0x80, 0, 0}, 100);
    const ExactStartScreen file = ReadExactStartScreen(bytes.data(), bytes.size(), kShippedGlyphs);
    EXPECT_EQ(file.doc.rows, 4u);
    EXPECT_TRUE(std::equal(bytes.begin() + 4, bytes.end(), file.doc.glyphs.begin()));
    EXPECT_TRUE(std::equal(file.doc.glyphs.begin() + 96, file.doc.glyphs.begin() + 448, kShippedGlyphs + 96));
    EXPECT_EQ(file.textBytes, 0u);
}

TEST(ExactStartScreen, WholeScreenIsWhatTheEditorSaves) {
    ScreenDocument doc = StartupDocument();
    SetText(doc, 0, "Hello");
    const std::vector<uint8_t> written = WriteExactStartScreen(WholeStartScreen(doc));
    ASSERT_EQ(written.size(), 492u);
    EXPECT_EQ(written[0], 0x08);
    EXPECT_EQ(written[452], 'H');
    EXPECT_EQ(written[491], 0x20);
}

TEST(RowText, RowsFromOnePaddedWithBlanksAndNeverCut) {
    ScreenDocument doc = StartupDocument();
    SetDisplaySize(doc, kSize4x20);
    for (size_t i = 0; i < 80; ++i) doc.cells[i] = 'x';
    const uint8_t text[21] = {'S', 'N', 0, 7, 0xFE};
    EXPECT_EQ(StampRowText(doc, 2, text, 5), RowTextResult::Stamped);
    const std::string row2(reinterpret_cast<const char*>(doc.cells.data()) + 20, 20);
    EXPECT_EQ(row2, std::string("SN\0\7\xFE", 5) + std::string(15, ' '));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(doc.cells.data()), 20), std::string(20, 'x'));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(doc.cells.data()) + 40, 40), std::string(40, 'x'));

    const ScreenDocument before = doc;
    EXPECT_EQ(StampRowText(doc, 4, text, 20), RowTextResult::Stamped);
    EXPECT_EQ(StampRowText(doc, 1, text, 21), RowTextResult::TooLong);
    EXPECT_EQ(StampRowText(doc, 0, text, 1), RowTextResult::NoSuchRow);
    EXPECT_EQ(StampRowText(doc, 5, text, 1), RowTextResult::NoSuchRow);
    EXPECT_TRUE(std::equal(doc.cells.begin(), doc.cells.begin() + 60, before.cells.begin()));

    SetDisplaySize(doc, kSize2x20);
    EXPECT_EQ(StampRowText(doc, 3, text, 1), RowTextResult::NoSuchRow);
}

}  // namespace
