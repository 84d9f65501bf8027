#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/screen_editor.h"
#include "test_support.h"

namespace {

struct Cursor {
    int32_t column, row;
};

// A 2x20 start screen (or another size) with an editor on it.
struct Editing {
    explicit Editing(uint16_t size = kSize2x20) : doc(StartupDocument()) {
        SetDisplaySize(doc, size);
    }
    std::string Row(int row) const {
        const char* start = reinterpret_cast<const char*>(doc.cells.data()) + row * doc.columns;
        return std::string(start, doc.columns);
    }
    void Type(const std::string& text) {
        for (const char c : text) editor.TypeCode(static_cast<uint8_t>(c));
    }
    // A press and a release on one cell: the click that places the cursor.
    void Click(int32_t column, int32_t row) {
        editor.PressCell(column, row);
        editor.Release();
    }
    Cursor At() const { return {editor.State().cursorColumn, editor.State().cursorRow}; }

    ScreenDocument doc;
    ScreenEditor editor{doc};
};

#define EXPECT_CURSOR(e, c, r)                   \
    do {                                         \
        EXPECT_EQ((e).At().column, c) << "column"; \
        EXPECT_EQ((e).At().row, r) << "row";       \
    } while (0)

TEST(Typing, FillsTheRowThenOverwritesItsLastCellOnEverySize) {
    for (const uint16_t size : {kSize2x20, kSize2x16, kSize4x20}) {
        Editing e(size);
        const int columns = static_cast<int>(e.doc.columns);
        e.Click(0, 1);
        e.Type("abcdefghijklmnopqrstuvwxyz");  // more than any row holds
        std::string expected = std::string("abcdefghijklmnopqrst").substr(0, columns - 1) + 'z';
        EXPECT_EQ(e.Row(1), expected) << size;
        EXPECT_EQ(e.Row(0), std::string(columns, ' ')) << size;
        EXPECT_CURSOR(e, columns - 1, 1);
        if (e.doc.rows == 4) {
            EXPECT_EQ(e.Row(2), std::string(columns, ' ')) << "typing never runs into the next row";
        }
    }
}

TEST(Typing, StoresExactly0x20To0xFDYetEveryCodeLeavesAChangePending) {
    struct Case {
        uint32_t code;
        bool stored;
    };
    const Case cases[] = {{0x00, false}, {0x07, false}, {0x09, false},  {0x0D, false},  {0x1B, false},
                          {0x1F, false}, {0x20, true},  {0x7E, true},   {0x80, true},   {0xFD, true},
                          {0xFE, false}, {0xFF, false}, {0x100, false}, {0x141, false}, {0xFFFFFFFF, false}};
    for (const Case& c : cases) {
        Editing e;
        e.Click(3, 1);
        e.editor.ChangeMirrored();
        const auto before = e.doc.cells;
        e.editor.TypeCode(c.code);
        EXPECT_TRUE(e.editor.ChangePending()) << c.code;
        if (c.stored) {
            EXPECT_EQ(e.doc.cells[23], c.code) << c.code;
            EXPECT_CURSOR(e, 4, 1);
        } else {
            EXPECT_EQ(e.doc.cells, before) << c.code;
            EXPECT_CURSOR(e, 3, 1);
        }
    }
}

TEST(Backspace, ErasesUnderTheCursorThenStepsBackAndWrapsToTheRowAbove) {
    struct Case {
        uint16_t size;
        Cursor from;
        Cursor to;
        size_t erased;
    };
    const Case cases[] = {
        {kSize2x20, {5, 0}, {4, 0}, 5},   {kSize2x20, {0, 1}, {19, 0}, 20}, {kSize2x20, {0, 0}, {0, 0}, 0},
        {kSize2x16, {0, 1}, {15, 0}, 16}, {kSize4x20, {0, 3}, {19, 2}, 60}, {kSize4x20, {19, 3}, {18, 3}, 79},
    };
    for (const Case& c : cases) {
        Editing e(c.size);
        for (size_t i = 0; i < UsedCellCount(e.doc); ++i) e.doc.cells[i] = static_cast<uint8_t>('A' + i % 26);
        const auto before = e.doc.cells;
        e.Click(c.from.column, c.from.row);
        e.editor.ChangeMirrored();
        e.editor.TypeCode(8);
        auto expected = before;
        expected[c.erased] = ' ';
        EXPECT_EQ(e.doc.cells, expected) << c.from.column << "," << c.from.row;
        EXPECT_CURSOR(e, c.to.column, c.to.row);
        EXPECT_TRUE(e.editor.ChangePending());
    }
}

TEST(Backspace, ThreeTimesAfterTwoLettersBlanksThemAndStopsAtTheFirstColumn) {
    Editing e;
    e.Type("AB");
    const std::vector<std::pair<std::string, int>> steps = {{"AB  ", 1}, {"A   ", 0}, {"    ", 0}};
    for (const auto& [row, column] : steps) {
        e.editor.TypeCode(8);
        EXPECT_EQ(e.Row(0).substr(0, 4), row);
        EXPECT_CURSOR(e, column, 0);
    }
}

TEST(Arrows, MoveTheCursorWithinTheGridOnlyAndChangeNothingElse) {
    Editing e(kSize4x20);
    e.Type("ab");
    e.editor.ChangeMirrored();
    const ScreenDocument before = e.doc;
    e.editor.MoveCursor(-1, 0);
    EXPECT_CURSOR(e, 1, 0);
    e.editor.MoveCursor(0, 5);
    EXPECT_CURSOR(e, 1, 3);
    e.editor.MoveCursor(30, -1);
    EXPECT_CURSOR(e, 19, 2);
    e.editor.MoveCursor(-40, -40);
    EXPECT_CURSOR(e, 0, 0);
    EXPECT_EQ(e.doc.cells, before.cells);
    EXPECT_FALSE(e.editor.ChangePending());
    e.editor.MoveCursor(0, 1);
    e.Type("x");
    EXPECT_EQ(e.Row(1), "x" + std::string(19, ' '));

    e.editor.PressCell(5, 0);
    e.editor.MoveCursor(1, 1);
    EXPECT_CURSOR(e, 5, 0);
}

TEST(Drag, FromCellToCellMovesTheCharacterAndTheCursorFollows) {
    Editing e;
    e.doc.cells[1] = 'M';
    e.doc.cells[22] = 'N';
    e.editor.PressCell(1, 0);
    EXPECT_EQ(e.doc.cells[1], ' ') << "held by the drag";
    EXPECT_EQ(e.editor.State().draggedCode, 'M');
    EXPECT_FALSE(e.editor.ChangePending()) << "a press alone changes nothing to mirror";
    e.editor.MoveOver(2, 1);
    EXPECT_CURSOR(e, 2, 1);
    EXPECT_FALSE(e.editor.ChangePending());
    e.editor.Release();
    EXPECT_EQ(e.doc.cells[22], 'M');
    EXPECT_EQ(e.doc.cells[1], ' ');
    EXPECT_CURSOR(e, 2, 1);
    EXPECT_EQ(e.editor.State().dragging, 0);
    EXPECT_TRUE(e.editor.ChangePending());
}

TEST(Drag, ReleasedOffThePanelErasesAndTheCursorStaysWhereItLastWasInside) {
    const Cursor offPanel[] = {{-1, -1}, {-1, 0}, {20, 0}, {0, 2}, {3, 5}, {-32768, 40}};
    for (const Cursor& off : offPanel) {
        Editing e;
        e.doc.cells[3] = 'E';
        e.editor.PressCell(3, 0);
        e.editor.MoveOver(6, 1);
        e.editor.MoveOver(off.column, off.row);
        e.editor.Release();
        EXPECT_EQ(e.Row(0) + e.Row(1), std::string(40, ' ')) << off.column << "," << off.row;
        EXPECT_CURSOR(e, 6, 1);
        EXPECT_EQ(e.editor.State().mouseColumn, off.column);
        EXPECT_EQ(e.editor.State().mouseRow, off.row);
    }
}

TEST(Drag, PaletteSlotDroppedOnACellStoresItsCodeAndLeavesThePaletteAlone) {
    Editing e;
    const GlyphTable glyphs = e.doc.glyphs;
    e.Click(9, 0);
    e.editor.PressSlot(3);
    EXPECT_EQ(e.editor.State().draggedCode, 3u);
    EXPECT_CURSOR(e, 9, 0);
    e.editor.MoveOver(4, 1);
    e.editor.Release();
    EXPECT_EQ(e.doc.cells[24], 3);
    EXPECT_CURSOR(e, 4, 1);
    EXPECT_EQ(e.doc.glyphs, glyphs);

    e.editor.PressSlot(7);
    e.editor.MoveOver(0, 2);  // the palette's own rows
    e.editor.Release();
    EXPECT_EQ(e.doc.cells[24], 3);
    EXPECT_EQ(e.Row(0) + e.Row(1), std::string(24, ' ') + '\x03' + std::string(15, ' '));
}

TEST(Drag, PressesOffTheGridOrOutsideTheSlotsPickNothingUp) {
    Editing e;
    e.doc.cells[19] = 'R';
    e.Click(4, 1);
    e.editor.ChangeMirrored();
    const auto before = e.doc.cells;
    for (const Cursor& cell : {Cursor{20, 0}, Cursor{-1, 0}, Cursor{0, -1}, Cursor{0, 2}, Cursor{19, 4}}) {
        e.editor.PressCell(cell.column, cell.row);
        EXPECT_EQ(e.editor.State().dragging, 0) << cell.column << "," << cell.row;
    }
    for (const int slot : {-1, 8, 1000}) {
        e.editor.PressSlot(slot);
        EXPECT_EQ(e.editor.State().dragging, 0) << slot;
    }
    EXPECT_EQ(e.doc.cells, before);
    EXPECT_CURSOR(e, 4, 1);
    EXPECT_FALSE(e.editor.ChangePending());
}

TEST(Drag, ASecondPressReplacesTheCharacterHeldAndTheFirstIsLost) {
    Editing e;
    e.doc.cells[0] = 'F';
    e.doc.cells[5] = 'G';
    e.editor.PressCell(0, 0);
    e.editor.PressCell(5, 0);
    e.editor.MoveOver(10, 1);
    e.editor.Release();
    EXPECT_EQ(e.Row(0) + e.Row(1), std::string(30, ' ') + 'G' + std::string(9, ' '));
}

TEST(Drag, ReleaseWithoutADragChangesNoCellButStillMirrors) {
    Editing e;
    e.Type("Hi");
    e.editor.MoveOver(7, 1);
    e.editor.ChangeMirrored();
    const auto before = e.doc.cells;
    e.editor.Release();
    EXPECT_EQ(e.doc.cells, before);
    EXPECT_CURSOR(e, 2, 0);
    EXPECT_TRUE(e.editor.ChangePending());
}

TEST(CaptureLost, MidDragEndsLikeAReleaseOffThePanel) {
    Editing e;
    e.doc.cells[2] = 'C';
    e.editor.PressCell(2, 0);
    e.editor.MoveOver(8, 1);
    EXPECT_TRUE(e.editor.LoseCapture());
    EXPECT_EQ(e.Row(0) + e.Row(1), std::string(40, ' '));
    EXPECT_CURSOR(e, 8, 1);
    EXPECT_EQ(e.editor.State().dragging, 0);
    EXPECT_EQ(e.editor.State().mouseColumn, -1);
    EXPECT_EQ(e.editor.State().mouseRow, -1);
    EXPECT_TRUE(e.editor.ChangePending());
}

TEST(CaptureLost, WithoutADragChangesNothingAndAsksForNoMirror) {
    Editing e;
    e.Type("Q");
    e.editor.MoveOver(4, 1);
    e.editor.ChangeMirrored();
    const EditState before = e.editor.State();
    EXPECT_FALSE(e.editor.LoseCapture());
    EXPECT_EQ(e.editor.State().mouseColumn, before.mouseColumn);
    EXPECT_EQ(e.editor.State().mouseRow, before.mouseRow);
    EXPECT_FALSE(e.editor.ChangePending());
    EXPECT_EQ(e.doc.cells[0], 'Q');
}

TEST(Clamp, AfterShrinkingTheCursorComesBackIntoTheGrid) {
    struct Case {
        uint16_t from, to;
        Cursor before, after;
    };
    const Case cases[] = {
        {kSize4x20, kSize2x20, {7, 3}, {7, 1}},
        {kSize4x20, kSize2x20, {19, 2}, {19, 1}},
        {kSize2x20, kSize2x16, {18, 1}, {15, 1}},
        {kSize4x20, kSize2x16, {19, 3}, {15, 3}},  // 2x16 keeps the four rows in force
        {kSize2x16, kSize4x20, {15, 1}, {15, 1}},
    };
    for (const Case& c : cases) {
        Editing e(c.from);
        e.Click(c.before.column, c.before.row);
        SetDisplaySize(e.doc, c.to);
        e.editor.ClampCursor();
        EXPECT_CURSOR(e, c.after.column, c.after.row);
    }
}

TEST(Clamp, TypingClampsACursorLeftOutsideByASizeChange) {
    Editing e(kSize4x20);
    e.Click(19, 3);
    SetDisplaySize(e.doc, kSize2x20);
    SetDisplaySize(e.doc, kSize2x16);  // 16 x 2
    e.editor.TypeCode('V');
    EXPECT_EQ(e.doc.cells[16 + 15], 'V');
    EXPECT_CURSOR(e, 15, 1);

    Editing b(kSize4x20);
    b.Click(0, 3);
    SetDisplaySize(b.doc, kSize2x20);
    b.editor.TypeCode(8);  // clamped to 0,1 first, then wraps
    EXPECT_CURSOR(b, 19, 0);
    EXPECT_EQ(b.doc.cells[20], ' ');
}

TEST(Reset, ForgetsCursorDragAndPendingChange) {
    Editing e;
    e.doc.cells[4] = 'J';
    e.editor.PressCell(4, 1);
    e.editor.Reset();
    const EditState& s = e.editor.State();
    EXPECT_EQ(s.dragging, 0);
    EXPECT_EQ(s.draggedCode, 0u);
    EXPECT_CURSOR(e, 0, 0);
    EXPECT_EQ(s.mouseColumn, 0);
    EXPECT_EQ(s.mouseRow, 0);
    EXPECT_FALSE(e.editor.ChangePending());
}

}  // namespace
