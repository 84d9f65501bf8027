#include <gtest/gtest.h>

#include <array>
#include <string>

#include "view_harness.h"

namespace {

std::string Row(const ScreenDocument& doc, int row) {
    const char* start = reinterpret_cast<const char*>(doc.cells.data()) + row * doc.columns;
    return std::string(start, doc.columns);
}

void ExpectCursor(const ViewHarness& h, int column, int row) {
    EXPECT_EQ(h.State().cursorColumn, column);
    EXPECT_EQ(h.State().cursorRow, row);
}

TEST(Typing, TheLastColumnKeepsTheCursorAndIsOverwritten) {
    for (const uint16_t size : {uint16_t{0x8008}, uint16_t{0x8009}}) {
        ViewHarness h(size);
        const int columns = static_cast<int>(h.doc.columns);
        for (int i = 0; i < columns + 1; ++i) h.Char('a' + i);
        std::string expected;
        for (int i = 0; i < columns - 1; ++i) expected += static_cast<char>('a' + i);
        expected += static_cast<char>('a' + columns);
        EXPECT_EQ(Row(h.doc, 0), expected);
        EXPECT_EQ(Row(h.doc, 1), std::string(columns, ' '));
        ExpectCursor(h, columns - 1, 0);
    }
}

TEST(Typing, BackspaceErasesUnderTheCursorThenStepsBack) {
    ViewHarness h;
    h.Type("AB");
    h.Char(8);
    EXPECT_EQ(Row(h.doc, 0).substr(0, 3), "AB ");
    ExpectCursor(h, 1, 0);
    h.Char(8);
    EXPECT_EQ(Row(h.doc, 0).substr(0, 3), "A  ");
    ExpectCursor(h, 0, 0);
    h.Char(8);
    EXPECT_EQ(Row(h.doc, 0), std::string(20, ' '));
    ExpectCursor(h, 0, 0);
}

TEST(Typing, BackspaceAtTheStartOfARowGoesToTheEndOfThePreviousRow) {
    ViewHarness h;
    h.doc.cells[19] = 'P';
    h.doc.cells[20] = 'Q';
    h.ClickCell(0, 1);
    h.Char(8);
    EXPECT_EQ(h.doc.cells[20], ' ');
    EXPECT_EQ(h.doc.cells[19], 'P');
    ExpectCursor(h, 19, 0);

    h.doc.cells[0] = 'Z';
    h.ClickCell(0, 0);
    h.Char(8);
    EXPECT_EQ(h.doc.cells[0], ' ');
    ExpectCursor(h, 0, 0);
}

TEST(Typing, ControlCodesChangeNothingYetEachMirrors) {
    ViewHarness h;
    h.Type("Hi");
    h.Flush();
    const auto before = h.doc.cells;
    for (const WPARAM code : {WPARAM{13}, WPARAM{9}, WPARAM{27}, WPARAM{0}, WPARAM{7}, WPARAM{254}, WPARAM{255},
                              WPARAM{0x141}}) {
        h.Char(code);
        EXPECT_EQ(h.doc.cells, before) << code;
        ExpectCursor(h, 2, 0);
        EXPECT_EQ(h.Flush(), 1) << code;
    }
}

TEST(Typing, TheHighestStoredCodeIs253) {
    ViewHarness h;
    h.Char(0xFD);
    h.Char(0x20);
    h.Char(0x1F);
    EXPECT_EQ(h.doc.cells[0], 0xFD);
    EXPECT_EQ(h.doc.cells[1], 0x20);
    ExpectCursor(h, 2, 0);
}

TEST(Mouse, PressAndReleaseOnOneCellMovesTheCursorAndMirrors) {
    ViewHarness h;
    h.doc.cells[25] = 'K';
    const auto before = h.doc.cells;
    h.Down(5 * 17 + 3, 26 + 4);
    EXPECT_EQ(h.Flush(), 0);  // a press alone never notifies
    h.Up(5 * 17 + 3, 26 + 4);
    EXPECT_EQ(h.doc.cells, before);
    ExpectCursor(h, 5, 1);
    EXPECT_EQ(h.State().dragging, 0);
    EXPECT_EQ(h.Flush(), 1);
}

TEST(Mouse, DragMovesACharacterAndTheCursorFollows) {
    ViewHarness h;
    h.doc.cells[1] = 'M';
    h.doc.cells[22] = 'N';
    h.Down(17 + 8, 10);
    EXPECT_EQ(h.doc.cells[1], ' ');  // held by the drag
    h.Move(2 * 17 + 1, 26 + 1);
    ExpectCursor(h, 2, 1);
    EXPECT_EQ(h.Flush(), 0);  // moving never notifies
    h.Up(0, 0);               // the release position is not used
    EXPECT_EQ(h.doc.cells[22], 'M');
    EXPECT_EQ(h.doc.cells[1], ' ');
    ExpectCursor(h, 2, 1);
    EXPECT_EQ(h.Flush(), 1);
}

TEST(Mouse, DraggingOffThePanelErases) {
    struct Drop {
        int x, y;
    };
    for (const Drop& drop : {Drop{55, 65}, Drop{100, 150}, Drop{345, 10}, Drop{-40, 10}}) {
        ViewHarness h;
        h.doc.cells[3] = 'E';
        h.Down(3 * 17, 0);
        h.Move(drop.x, drop.y);
        h.Up(drop.x, drop.y);
        EXPECT_EQ(Row(h.doc, 0) + Row(h.doc, 1), std::string(40, ' ')) << drop.x << "," << drop.y;
        ExpectCursor(h, 3, 0);
    }
}

TEST(Mouse, PaletteSlotDraggedIntoACellStoresItsCode) {
    ViewHarness h;
    h.Down(50 + 3 * 30 + 5, 60 + 5);
    EXPECT_EQ(h.State().draggedCode, 3u);
    ExpectCursor(h, 0, 0);  // the palette leaves the cursor alone
    h.Move(4 * 17 + 2, 26 + 2);
    h.Up(4 * 17 + 2, 26 + 2);
    EXPECT_EQ(h.doc.cells[24], 3);
    ExpectCursor(h, 4, 1);
    const Picture p(h.View());
    EXPECT_TRUE(ShowsDesign(p, 4 * 17, 26, kDefaultUser[3], kCursor));
}

TEST(Mouse, PressesOutsideTheSlotHitAreasPickNothingUp) {
    ViewHarness h;
    struct Press {
        int x, y;
        bool picks;
    };
    // Slot 0 is drawn at x 50-64, y 60-83; its hit area is x 51-66, y 61-82.
    for (const Press& press : {Press{50, 70, false}, Press{51, 70, true}, Press{66, 70, true}, Press{67, 70, false},
                               Press{70, 70, false}, Press{140, 70, false}, Press{141, 70, true},
                               Press{55, 60, false}, Press{55, 61, true}, Press{55, 82, true}, Press{55, 83, false},
                               Press{276, 70, true}, Press{277, 70, false}}) {
        h.Down(press.x, press.y);
        EXPECT_EQ(h.State().dragging, press.picks ? 1 : 0) << press.x << "," << press.y;
        h.Up(press.x, press.y);
    }
}

TEST(Mouse, PressRightOfTheLastColumnPicksNothingUp) {
    ViewHarness h;
    h.doc.cells[19] = 'R';
    h.ClickCell(4, 1);
    const auto before = h.doc.cells;
    for (const int x : {340, 350, 399}) {
        h.Down(x, 10);
        EXPECT_EQ(h.State().dragging, 0) << x;
        EXPECT_EQ(h.doc.cells, before) << x;
        ExpectCursor(h, 4, 1);
    }
    h.ApplySize(0x8009);
    h.doc.cells[15] = 'S';
    h.Down(16 * 17, 10);
    EXPECT_EQ(h.State().dragging, 0);
    EXPECT_EQ(h.doc.cells[15], 'S');
}

TEST(Mouse, DoubleClickOutsideTheSlotsOpensNothingYetNotifiesOnce) {
    ViewHarness h;
    h.Type("D");
    h.Flush();
    for (const POINT at : {POINT{5, 5}, POINT{70, 70}, POINT{50, 70}, POINT{55, 90}, POINT{380, 170}}) {
        const int before = h.Notifications();
        const HWND editor = WithEditor([&] { h.DoubleClick(at.x, at.y); },
                                       [](HWND dialog) { SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
        EXPECT_EQ(editor, nullptr) << at.x << "," << at.y;
        EXPECT_EQ(h.Notifications(), before + 1) << at.x << "," << at.y;
        EXPECT_EQ(h.Flush(), 0);
    }
    EXPECT_EQ(h.doc.cells[0], 'D');
}

TEST(Cursor, ClampedIntoTheGridAfterItShrinks) {
    {
        ViewHarness h(0x800A);
        h.ClickCell(7, 3);
        h.ApplySize(0x8008);
        h.view.ClampCursor();
        ExpectCursor(h, 7, 1);
        h.Char('W');
        EXPECT_EQ(h.doc.cells[27], 'W');
    }
    {
        // Typing finds the cursor outside the grid when nothing clamped it yet.
        ViewHarness h(0x800A);
        h.ClickCell(19, 3);
        h.ApplySize(0x8009);
        h.ApplySize(0x8008);
        h.ApplySize(0x8009);  // 16 x 2
        h.Char('V');
        EXPECT_EQ(h.doc.cells[16 + 15], 'V');
        ExpectCursor(h, 15, 1);
    }
}

}  // namespace
