#include <gtest/gtest.h>

#include "view_harness.h"

namespace {

constexpr Design kBlank = {};

TEST(PreviewDrawing, BlankScreenShowsGreyPanelGapsBoxesAndCursor) {
    ViewHarness h;
    const Picture p(h.View());
    // Grey right of the 340 x 52 panel, below it, and between palette slots.
    EXPECT_TRUE(AllOf(p, {340, 0, p.Width(), 60}, kGrey));
    EXPECT_TRUE(AllOf(p, {0, 52, 340, 60}, kGrey));
    EXPECT_TRUE(AllOf(p, {65, 60, 80, 84}, kGrey));
    EXPECT_TRUE(AllOf(p, {0, 84, p.Width(), p.Height()}, kGrey));
    // Two-pixel panel gaps right of and below every box.
    for (int column = 0; column < 20; ++column) {
        EXPECT_TRUE(AllOf(p, {17 * column + 15, 0, 17 * column + 17, 52}, kPanel)) << column;
    }
    EXPECT_TRUE(AllOf(p, {0, 24, 340, 26}, kPanel));
    EXPECT_TRUE(AllOf(p, {0, 50, 340, 52}, kPanel));
    // The cursor box at the home cell, every other box cell blue and empty.
    EXPECT_TRUE(ShowsDesign(p, 0, 0, kBlank, kCursor));
    for (int row = 0; row < 2; ++row)
        for (int column = row == 0 ? 1 : 0; column < 20; ++column)
            EXPECT_TRUE(ShowsDesign(p, 17 * column, 26 * row, kBlank, kCell)) << column << "," << row;
}

TEST(PreviewDrawing, GlyphDotsAreTwoPixelSquaresAtAPitchOfThree) {
    ViewHarness h;
    h.Type("A");
    const Picture p(h.View());
    EXPECT_TRUE(ShowsDesign(p, 0, 0, kLetterA, kCell));
    EXPECT_TRUE(ShowsDesign(p, 17, 0, kBlank, kCursor));
    EXPECT_TRUE(AllOf(p, {15, 0, 17, 26}, kPanel));
}

TEST(PreviewDrawing, OnlyOneAnd0x78LightAPixelAndByteSixIsNeverDrawn) {
    ViewHarness h;
    uint8_t* glyph = h.doc.glyphs.data() + 0x80 * 56;
    glyph[0] = 1;
    glyph[1] = 0x78;
    glyph[2] = 0;
    glyph[3] = 2;
    glyph[4] = 0xFF;
    glyph[7 + 5] = 1;  // row 1, byte 5: in the gap right of the box
    glyph[7 + 6] = 1;  // row 1, byte 6
    h.doc.cells[19] = 0x80;  // the last column, so that nothing paints over a stray dot on its right
    const Picture p(h.View());
    const Design expected = {0x18, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_TRUE(ShowsDesign(p, 323, 0, expected, kCell));
    EXPECT_TRUE(AllOf(p, {323 + 15, 3, 323 + 17, 5}, kWhite));
    EXPECT_TRUE(AllOf(p, {323 + 15, 5, 323 + 17, 6}, kPanel));
    EXPECT_TRUE(AllOf(p, {323 + 17, 0, 323 + 21, 26}, kGrey));
}

TEST(PreviewDrawing, PaletteShowsTheUserCharactersAtBothOffsets) {
    ViewHarness h;
    {
        const Picture p(h.View());
        for (int slot = 0; slot < 8; ++slot) {
            EXPECT_TRUE(ShowsDesign(p, 50 + 30 * slot, 60, kDefaultUser[slot], kCell)) << slot;
            EXPECT_TRUE(AllOf(p, {50 + 30 * slot - 13, 60, 50 + 30 * slot, 84}, kGrey)) << slot;
        }
    }
    h.ApplySize(0x8009);
    const Picture p(h.View());
    for (int slot = 0; slot < 8; ++slot)
        EXPECT_TRUE(ShowsDesign(p, 16 + 30 * slot, 60, kDefaultUser[slot], kCell)) << slot;
    EXPECT_TRUE(AllOf(p, {0, 52, 16, 84}, kGrey));
}

TEST(PreviewDrawing, CursorLeftBelowAShrunkGridMarksThePaletteSlotUnderIt) {
    ViewHarness h(0x800A);
    h.ClickCell(2, 2);
    h.ApplySize(0x8008);  // two rows; the cursor stays at column 2, row 2
    const Picture p(h.View());
    EXPECT_TRUE(ShowsDesign(p, 50, 60, kDefaultUser[0], kCursor));
    EXPECT_TRUE(ShowsDesign(p, 80, 60, kDefaultUser[1], kCell));
    EXPECT_TRUE(ShowsDesign(p, 34, 26, kBlank, kCell));
}

TEST(PreviewDrawing, DraggedCharacterCoversTheCellUnderTheMouseOnly) {
    ViewHarness h;
    h.Type("A");
    h.Down(5, 5);
    h.Move(3 * 17 + 5, 26 + 5);
    {
        const Picture p(h.View());
        EXPECT_TRUE(ShowsDesign(p, 51, 26, kLetterA, kCursor));
        EXPECT_TRUE(ShowsDesign(p, 0, 0, kBlank, kCell));
    }
    EXPECT_EQ(h.doc.cells[23], 0x20);  // nothing dropped yet
    h.Move(55, 65);
    const Picture p(h.View());
    EXPECT_TRUE(ShowsDesign(p, 50, 60, kDefaultUser[0], kCell));
    EXPECT_TRUE(ShowsDesign(p, 51, 26, kBlank, kCursor));
}

TEST(PreviewDrawing, PanelSizeFollowsTheGeometryAndThePaletteSitsEightPixelsBelow) {
    struct Case {
        uint16_t first, second;
        int width, height;
    };
    for (const Case& c : {Case{0x8008, 0x8009, 272, 52}, Case{0x800A, 0x8009, 272, 104},
                          Case{0x800A, 0x800A, 340, 104}}) {
        ViewHarness h(c.first);
        h.ApplySize(c.second);
        const Picture p(h.View());
        EXPECT_EQ(p.At(c.width - 1, c.height - 1), kPanel) << c.width << "x" << c.height;
        EXPECT_TRUE(AllOf(p, {c.width, 0, c.width + 1, c.height}, kGrey));
        EXPECT_TRUE(AllOf(p, {0, c.height, c.width, c.height + 8}, kGrey));
        const int offset = c.width == 272 ? 16 : 50;
        EXPECT_TRUE(ShowsDesign(p, offset, c.height + 8, kDefaultUser[0], kCell));
    }
}

TEST(PreviewDrawing, CodeTwoHundredFiftyFiveShowsABlankCell) {
    ViewHarness h;
    h.doc.cells[1] = 0xFF;
    h.doc.cells[2] = 0xFF;
    {
        const Picture p(h.View());
        EXPECT_TRUE(ShowsDesign(p, 17, 0, kBlank, kCell));
    }
    h.Down(17 * 2 + 5, 5);
    h.Move(17 * 5 + 5, 5);
    const Picture p(h.View());
    EXPECT_TRUE(ShowsDesign(p, 85, 0, kBlank, kCursor));
}

TEST(PreviewNotification, OneNotificationPerDrawingWithAChangePending) {
    ViewHarness h;
    EXPECT_EQ(h.Flush(), 0);
    h.Char('Q');
    EXPECT_EQ(h.Notifications(), 0);  // sent by the drawing, not by the keystroke
    EXPECT_EQ(h.Flush(), 1);
    EXPECT_EQ(h.Flush(), 0);

    h.Char('R');
    UpdateWindow(h.View());
    EXPECT_EQ(h.Notifications(), 2);
    InvalidateRect(h.View(), nullptr, FALSE);
    UpdateWindow(h.View());
    EXPECT_EQ(h.Notifications(), 2);
}

TEST(PreviewNotification, PaintIntoAGivenContextDrawsThePictureAndNotifies) {
    ViewHarness h;
    h.Type("A");
    const Picture p(h.View(), WM_PAINT);
    EXPECT_EQ(p.Result(), 0);
    EXPECT_TRUE(ShowsDesign(p, 0, 0, kLetterA, kCell));
    EXPECT_TRUE(AllOf(p, {340, 0, p.Width(), p.Height()}, kGrey));
    EXPECT_EQ(h.Notifications(), 1);
}

TEST(PreviewNotification, EraseBackgroundDrawsNothingAndCountsAsErased) {
    ViewHarness h;
    const Picture p(h.View(), WM_ERASEBKGND);
    EXPECT_EQ(p.Result(), 1);
    EXPECT_TRUE(AllOf(p, {0, 0, p.Width(), p.Height()}, kMarker));
}

}  // namespace
