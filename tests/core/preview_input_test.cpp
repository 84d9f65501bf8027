#include <gtest/gtest.h>

#include <random>

#include "render/preview_input.h"
#include "test_support.h"

namespace {

// Presses on a 2x20 preview (panel 340 x 52, palette slots drawn from x 50 + 30i, y 60 to 83).
TEST(PressAt, PicksUpTheCellOrSlotUnderTheExactPixel) {
    struct Press {
        int x, y;
        int dragged;  // -1: nothing picked up
        int column, row;
    };
    const Press presses[] = {
        {0, 0, 'a', 0, 0},      {16, 25, 'a', 0, 0},    {17, 25, 'b', 1, 0},  {16, 26, 'u', 0, 1},
        {339, 51, 'n', 19, 1},  {340, 10, -1, 0, 0},    {339, 52, -1, 0, 0},  {-5, 10, 'a', 0, 0},
        {-17, 10, -1, 0, 0},    {10, -1, -1, 0, 0},     {50, 70, -1, 0, 0},   {51, 70, 0, 0, 0},
        {66, 70, 0, 0, 0},      {67, 70, -1, 0, 0},     {141, 70, 3, 0, 0},   {55, 60, -1, 0, 0},
        {55, 61, 0, 0, 0},      {55, 82, 0, 0, 0},      {55, 83, -1, 0, 0},   {276, 70, 7, 0, 0},
        {277, 70, -1, 0, 0},    {-32768, -32768, -1, 0, 0},
    };
    for (const Press& p : presses) {
        ScreenDocument doc = StartupDocument();
        for (size_t i = 0; i < 40; ++i) doc.cells[i] = static_cast<uint8_t>('a' + i % 26);
        ScreenEditor editor(doc);
        const bool dragging = PressAt(editor, p.x, p.y);
        SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
        EXPECT_EQ(dragging, p.dragged >= 0);
        EXPECT_EQ(editor.State().dragging, p.dragged >= 0 ? 1 : 0);
        if (p.dragged < 0) continue;
        EXPECT_EQ(editor.State().draggedCode, static_cast<uint32_t>(p.dragged));
        EXPECT_EQ(editor.State().cursorColumn, p.column);
        EXPECT_EQ(editor.State().cursorRow, p.row);
    }
}

TEST(PressAt, RightOfTheLastColumnOfA16ColumnScreenPicksNothingUp) {
    ScreenDocument doc = StartupDocument();
    SetDisplaySize(doc, kSize2x16);
    doc.cells[15] = 'S';
    ScreenEditor editor(doc);
    EXPECT_FALSE(PressAt(editor, 16 * 17, 10));
    EXPECT_EQ(doc.cells[15], 'S');
    EXPECT_TRUE(PressAt(editor, 16 * 17 - 1, 10));
    EXPECT_EQ(doc.cells[15], ' ');
}

TEST(MoveTo, TracksTheCellAndPutsPointsLeftOrAboveInNone) {
    struct Move {
        int x, y;
        int32_t column, row;
    };
    const Move moves[] = {{0, 0, 0, 0},     {16, 25, 0, 0},    {17, 26, 1, 1},      {-1, 30, -1, 1},
                          {30, -1, 1, -1},  {-16, -25, -1, -1}, {400, 180, 23, 6},  {32767, 0, 1927, 0}};
    for (const Move& m : moves) {
        ScreenDocument doc = StartupDocument();
        ScreenEditor editor(doc);
        MoveTo(editor, m.x, m.y);
        EXPECT_EQ(editor.State().mouseColumn, m.column) << m.x << "," << m.y;
        EXPECT_EQ(editor.State().mouseRow, m.row) << m.x << "," << m.y;
    }
}

// Random keys and mouse never take the cursor or a write outside the document, never touch the
// glyphs, and leave a change to mirror after exactly the keys and releases.
TEST(RandomInput, StaysInsideTheDocumentAndMirrorsEveryChange) {
    ScreenDocument doc = StartupDocument();
    ScreenEditor editor(doc);
    std::mt19937 random(20240611);
    const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const auto coordinate = [&](int high) { return pick(0, 19) == 0 ? pick(-32768, 32767) : pick(-30, high); };

    auto outside = doc.cells;
    const GlyphTable glyphs = doc.glyphs;
    for (int step = 0; step < 20000; ++step) {
        SCOPED_TRACE(step);
        if (step % 250 == 0) {
            static constexpr uint16_t kSizes[] = {kSize2x20, kSize2x16, kSize4x20};
            SetDisplaySize(doc, kSizes[pick(0, 2)]);
            editor.ClampCursor();
            outside = doc.cells;
        }
        const EditState before = editor.State();
        const auto cellsBefore = doc.cells;
        editor.ChangeMirrored();
        const int x = coordinate(400);
        const int y = coordinate(180);
        const int kind = pick(0, 8);
        bool changes = false;
        if (kind < 4) {
            const uint32_t code = static_cast<uint32_t>(pick(0, 9) == 0 ? pick(0, 0x1FF) : pick(0, 255));
            editor.TypeCode(code);
            changes = true;
            const size_t index = static_cast<size_t>(before.cursorRow) * doc.columns + before.cursorColumn;
            if (code >= 0x20 && code <= 0xFD) {
                ASSERT_EQ(doc.cells[index], code);
            } else if (code == 8) {
                ASSERT_EQ(doc.cells[index], ' ');
            } else {
                ASSERT_EQ(doc.cells, cellsBefore);
            }
        } else if (kind < 7) {
            MoveTo(editor, x, y);
            ASSERT_EQ(doc.cells, cellsBefore);
        } else if (kind < 8) {
            PressAt(editor, x, y);
        } else {
            editor.Release();
            changes = true;
        }
        const EditState& now = editor.State();
        ASSERT_GE(now.cursorColumn, 0);
        ASSERT_LT(now.cursorColumn, static_cast<int>(doc.columns));
        ASSERT_GE(now.cursorRow, 0);
        ASSERT_LT(now.cursorRow, static_cast<int>(doc.rows));
        ASSERT_LE(now.draggedCode, 0xFFu);
        for (size_t i = UsedCellCount(doc); i < kCellCount; ++i) ASSERT_EQ(doc.cells[i], outside[i]) << "cell " << i;
        ASSERT_EQ(doc.glyphs, glyphs);
        ASSERT_EQ(editor.ChangePending(), changes);
    }
}

}  // namespace
