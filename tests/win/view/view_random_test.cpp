#include <gtest/gtest.h>

#include <random>

#include "view_harness.h"

namespace {

// Random keyboard and mouse input never takes the cursor or a write outside the document, and
// every change reaches the frame exactly once.
TEST(RandomInput, StaysInsideTheDocumentAndNotifiesOncePerChange) {
    ViewHarness h;
    std::mt19937 random(20240611);
    const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const auto coordinate = [&](int high) { return pick(0, 19) == 0 ? pick(-32768, 32767) : pick(-30, high); };

    auto outside = h.doc.cells;  // the cells beyond the geometry in force
    const GlyphTable glyphs = h.doc.glyphs;
    for (int step = 0; step < 4000; ++step) {
        SCOPED_TRACE(step);
        if (step % 250 == 0) {
            static constexpr uint16_t kSizes[] = {0x8008, 0x8009, 0x800A};
            h.ApplySize(kSizes[pick(0, 2)]);
            h.view.ClampCursor();
            outside = h.doc.cells;
        }
        const EditState before = h.State();
        const auto cellsBefore = h.doc.cells;
        const int notificationsBefore = h.Notifications();
        const int x = coordinate(400);
        const int y = coordinate(180);
        const int kind = pick(0, 9);
        bool changes = false;
        if (kind < 4) {
            const WPARAM code = static_cast<WPARAM>(pick(0, 9) == 0 ? pick(0, 0x1FF) : pick(0, 255));
            h.Char(code);
            changes = true;
            if (code >= 0x20 && code <= 0xFD) {
                const size_t index = static_cast<size_t>(before.cursorRow) * h.doc.columns + before.cursorColumn;
                EXPECT_EQ(h.doc.cells[index], code);
            }
        } else if (kind < 7) {
            h.Move(x, y);
        } else if (kind < 8) {
            h.Down(x, y);
        } else if (kind < 9) {
            h.Up(x, y);
            changes = true;
        } else if (static_cast<unsigned>(y) < 26 * h.doc.rows) {
            h.DoubleClick(x, y);  // in the grid's rows, never on a palette slot
            EXPECT_EQ(h.Notifications(), notificationsBefore + 1);
        }
        const EditState& now = h.State();
        ASSERT_GE(now.cursorColumn, 0);
        ASSERT_LT(now.cursorColumn, static_cast<int>(h.doc.columns));
        ASSERT_GE(now.cursorRow, 0);
        ASSERT_LT(now.cursorRow, static_cast<int>(h.doc.rows));
        ASSERT_LE(now.draggedCode, 0xFFu);
        const size_t used = h.doc.columns * h.doc.rows;
        for (size_t i = used; i < kCellCount; ++i) ASSERT_EQ(h.doc.cells[i], outside[i]) << "cell " << i;
        ASSERT_EQ(h.doc.glyphs, glyphs);
        const bool movesOnly = kind >= 4 && kind < 7;
        if (movesOnly || kind == 9) {
            ASSERT_EQ(h.doc.cells, cellsBefore);
        }
        ASSERT_EQ(h.Flush(), changes ? 1 : 0);
    }
}

}  // namespace
