#include "formats/logo_cells.h"

#include <gtest/gtest.h>

#include "document/display_size.h"
#include "formats/format_error.h"

namespace {

constexpr uint32_t kInk = 0x000000, kPaper = 0xFFFFFF;

// One cell of 5 x 8 pixels with its top left dot inked.
PixelImage OneInkedCell() {
    PixelImage picture;
    picture.width = 5;
    picture.height = 8;
    picture.pixels.assign(40, kPaper);
    picture.pixels[0] = kInk;
    return picture;
}

// 2x20 with every user character shown somewhere but `onlyAt`, where `code` is shown alone.
ScreenDocument ShowingAllBut(uint8_t code, size_t onlyAt) {
    ScreenDocument doc;
    SetDisplaySize(doc, kSize2x20);
    for (uint8_t other = 0; other < kUserGlyphCount; ++other) doc.cells[30 + other] = other == code ? kSpace : other;
    doc.cells[onlyAt] = code;
    return doc;
}

TEST(PlaceLogo, AUserCharacterShownRightOfBelowOrLeftOfTheLogoIsNotTaken) {
    // The logo is one cell at row 1, column 5 (cell 4); its neighbours are cells 5, 24 and 3.
    for (size_t neighbour : {size_t{5}, size_t{24}, size_t{3}, size_t{25}}) {
        ScreenDocument doc = ShowingAllBut(3, neighbour);
        const ScreenDocument before = doc;
        try {
            PlaceLogo(doc, OneInkedCell(), 1, 5, "logo.png");
            ADD_FAILURE() << "took the character shown at cell " << neighbour;
        } catch (const FormatError& error) {
            EXPECT_STREQ(error.what(), "logo.png: the picture needs 1 user characters; 0 of 8 are free");
        }
        EXPECT_EQ(doc.cells, before.cells) << neighbour;
        EXPECT_EQ(doc.glyphs, before.glyphs) << neighbour;
    }
}

TEST(PlaceLogo, AUserCharacterShownOnlyUnderTheLogoIsFreeAndIsDrawnAnew) {
    ScreenDocument doc = ShowingAllBut(3, 4);
    PlaceLogo(doc, OneInkedCell(), 1, 5, "logo.png");
    EXPECT_EQ(doc.cells[4], 3);
    const auto glyph = doc.GlyphOf(3);
    for (size_t i = 0; i < kGlyphBytes; ++i) EXPECT_EQ(glyph[i], i == 0 ? 1 : 0) << i;
    EXPECT_EQ(doc.cells[33], kSpace);
}

}  // namespace
