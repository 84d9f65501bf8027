#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "view_harness.h"

namespace {

// Control ids of the pixel squares, row by row.
int SquareId(int column, int row) {
    static constexpr int kRowBase[8] = {1000, 1010, 1045, 1050, 1055, 1060, 1065, 1070};
    return kRowBase[row] + column;
}

void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void OpenSlot(ViewHarness& h, int slot) { h.DoubleClick(50 + 30 * slot + 5, 65); }

std::string TextOf(HWND window) {
    char text[64] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// Position and size are converted separately, as the dialog manager does.
RECT DialogUnits(HWND dialog, int x, int y, int width, int height) {
    RECT corner{x, y, 0, 0};
    RECT size{width, height, 0, 0};
    MapDialogRect(dialog, &corner);
    MapDialogRect(dialog, &size);
    return {corner.left, corner.top, corner.left + size.left, corner.top + size.top};
}

// Reads the dialog template 201 from the module's resources.
class TemplateReader {
public:
    TemplateReader() {
        const HMODULE module = GetModuleHandleA(nullptr);
        const HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(201), MAKEINTRESOURCEA(5));
        at_ = info ? static_cast<const BYTE*>(LockResource(LoadResource(module, info))) : nullptr;
    }
    bool Found() const { return at_ != nullptr; }
    DWORD Dword() { return Read<DWORD>(); }
    int Word() { return Read<WORD>(); }
    int Short() { return Read<SHORT>(); }
    std::string Text() {
        std::string text;
        for (WORD c = Read<WORD>(); c != 0; c = Read<WORD>()) text += static_cast<char>(c);
        return text;
    }
    // A name or ordinal field: an ordinal comes back as "#n". The button class has both forms.
    std::string NameOrOrdinal() {
        const BYTE* start = at_;
        if (Read<WORD>() == 0xFFFF) {
            std::string ordinal = std::to_string(Read<WORD>());
            return ordinal.insert(0, 1, '#');
        }
        at_ = start;
        const std::string name = Text();
        return lstrcmpiA(name.c_str(), "Button") == 0 ? "#128" : name;
    }
    void AlignDword(const BYTE* base) { at_ = base + ((at_ - base + 3) & ~3); }
    const BYTE* Here() const { return at_; }

private:
    template <typename T>
    T Read() {
        T value{};
        memcpy(&value, at_, sizeof value);
        at_ += sizeof value;
        return value;
    }
    const BYTE* at_;
};

struct TemplateItem {
    DWORD style;
    int x, y, cx, cy, id;
    std::string kind, text;
};

bool operator==(const TemplateItem& a, const TemplateItem& b) {
    return a.style == b.style && a.x == b.x && a.y == b.y && a.cx == b.cx && a.cy == b.cy && a.id == b.id &&
           a.kind == b.kind && a.text == b.text;
}

std::ostream& operator<<(std::ostream& out, const TemplateItem& item) {
    return out << item.id << " " << item.kind << " '" << item.text << "' style 0x" << std::hex << item.style << std::dec
               << " at " << item.x << "," << item.y << " size " << item.cx << "x" << item.cy;
}

RECT ClientBoxOf(HWND dialog, HWND control) {
    RECT box{};
    GetWindowRect(control, &box);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&box), 2);
    return box;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(CharEditor, TemplateIsTheTabledDialog) {
    TemplateReader reader;
    ASSERT_TRUE(reader.Found());
    const BYTE* base = reader.Here();
    EXPECT_EQ(reader.Dword(), 0x80C800C0u);
    EXPECT_EQ(reader.Dword(), 0u);
    const int count = reader.Word();
    EXPECT_EQ(count, 42);
    const int frame[4] = {reader.Short(), reader.Short(), reader.Short(), reader.Short()};
    EXPECT_EQ(frame[2], 131);
    EXPECT_EQ(frame[3], 159);
    EXPECT_EQ(reader.NameOrOrdinal(), "");  // no menu
    EXPECT_EQ(reader.NameOrOrdinal(), "");  // the standard dialog class
    EXPECT_EQ(reader.Text(), "Dialog");
    EXPECT_EQ(reader.Word(), 8);
    EXPECT_EQ(reader.Text(), "MS Sans Serif");

    std::vector<TemplateItem> expected = {
        {WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 7, 138, 50, 14, IDOK, "#128", "OK"},
        {WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 74, 138, 50, 14, IDCANCEL, "#128", "Cancel"}};
    for (int row = 0; row < 8; ++row)
        for (int column = 0; column < 5; ++column)
            expected.push_back({0x5001800B, 22 + 18 * column, 7 + 16 * row, 17, 15, SquareId(column, row), "#128",
                                "Button1"});
    for (int i = 0; i < count && i < static_cast<int>(expected.size()); ++i) {
        reader.AlignDword(base);
        TemplateItem item{};
        item.style = reader.Dword();
        reader.Dword();
        item.x = reader.Short();
        item.y = reader.Short();
        item.cx = reader.Short();
        item.cy = reader.Short();
        item.id = reader.Word();
        item.kind = reader.NameOrOrdinal();
        item.text = reader.NameOrOrdinal();
        reader.Word();
        EXPECT_EQ(item, expected[i]) << "item " << i;
    }
}

TEST(CharEditor, ControlsAreLaidOutAndSlotZeroShowsTheDefaultCharacterZero) {
    ViewHarness h;
    const HWND seen = WithEditor([&] { OpenSlot(h, 0); }, [&](HWND dialog) {
        EXPECT_EQ(TextOf(dialog), "Dialog");
        RECT client{};
        GetClientRect(dialog, &client);
        EXPECT_TRUE(SameRect(client, DialogUnits(dialog, 0, 0, 131, 159)));

        std::vector<int> ids;
        for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
            ids.push_back(GetDlgCtrlID(child));
        std::vector<int> expected = {IDOK, IDCANCEL};
        for (int row = 0; row < 8; ++row)
            for (int column = 0; column < 5; ++column) expected.push_back(SquareId(column, row));
        EXPECT_EQ(ids, expected);

        const HWND ok = GetDlgItem(dialog, IDOK);
        const HWND cancel = GetDlgItem(dialog, IDCANCEL);
        EXPECT_EQ(TextOf(ok), "OK");
        EXPECT_EQ(TextOf(cancel), "Cancel");
        EXPECT_EQ(GetWindowLongA(ok, GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);
        EXPECT_TRUE(SameRect(ClientBoxOf(dialog, ok), DialogUnits(dialog, 7, 138, 50, 14)));
        EXPECT_TRUE(SameRect(ClientBoxOf(dialog, cancel), DialogUnits(dialog, 74, 138, 50, 14)));

        for (int row = 0; row < 8; ++row) {
            for (int column = 0; column < 5; ++column) {
                const HWND square = GetDlgItem(dialog, SquareId(column, row));
                EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(square, GWL_STYLE)), 0x5001800Bu);
                EXPECT_EQ(TextOf(square), "Button1");
                EXPECT_TRUE(SameRect(ClientBoxOf(dialog, square),
                                     DialogUnits(dialog, 22 + 18 * column, 7 + 16 * row, 17, 15)));
                const COLORREF expectedColour = DotLit(kDefaultUser[0], column, row) ? kWhite : kCell;
                EXPECT_EQ(SquareColour(dialog, SquareId(column, row)), expectedColour) << column << "," << row;
            }
        }
        Click(dialog, IDCANCEL);
    });
    EXPECT_NE(seen, nullptr);
}

TEST(CharEditor, TheBackgroundIsPanelBlue) {
    ViewHarness h;
    WithEditor([&] { OpenSlot(h, 1); }, [&](HWND dialog) {
        const Picture p(dialog, WM_ERASEBKGND);
        EXPECT_EQ(p.At(2, 2), kPanel);
        EXPECT_EQ(p.At(p.Width() - 3, p.Height() / 2), kPanel);
        Click(dialog, IDCANCEL);
    });
}

TEST(CharEditor, ASquareClickedTwiceIsRestoredAndOkStillMirrors) {
    ViewHarness h;
    h.Flush();
    const GlyphTable before = h.doc.glyphs;
    WithEditor([&] { OpenSlot(h, 0); }, [&](HWND dialog) {
        Click(dialog, SquareId(0, 0));
        EXPECT_EQ(SquareColour(dialog, SquareId(0, 0)), kWhite);
        EXPECT_EQ(TextOf(GetDlgItem(dialog, SquareId(0, 0))), "X");
        Click(dialog, SquareId(0, 0));
        EXPECT_EQ(SquareColour(dialog, SquareId(0, 0)), kCell);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(h.doc.glyphs, before);
    EXPECT_EQ(h.Notifications(), 1);
    EXPECT_TRUE(GetUpdateRect(h.View(), nullptr, FALSE));
}

TEST(CharEditor, OkWritesThePixelsIntoTheCharacterAndEveryCellShowingIt) {
    ViewHarness h;
    h.doc.cells[5] = 0;
    h.doc.glyphs[7 + 5] = 1;  // row 1, bytes 5 and 6: not the editor's
    h.doc.glyphs[7 + 6] = 1;
    h.Flush();
    GlyphTable expected = h.doc.glyphs;
    expected[0] = 1;       // row 0, column 0 lit
    expected[14 + 4] = 0;  // row 2, column 4 dark
    WithEditor([&] { OpenSlot(h, 0); }, [&](HWND dialog) {
        Click(dialog, SquareId(0, 0));
        Click(dialog, SquareId(4, 2));
        Click(dialog, IDOK);
    });
    EXPECT_EQ(h.doc.glyphs, expected);
    EXPECT_EQ(h.Notifications(), 1);
    EXPECT_TRUE(GetUpdateRect(h.View(), nullptr, FALSE));

    const Design edited = {0x10, 0x00, 0x1E, 0x07, 0x01, 0x00, 0x00, 0x0C};
    const Picture p(h.View());
    EXPECT_TRUE(ShowsDesign(p, 5 * 17, 0, edited, kCell));
    EXPECT_TRUE(ShowsDesign(p, 50, 60, edited, kCell));
}

TEST(CharEditor, CancelAndTheCloseBoxLeaveTheCharacterYetMirror) {
    ViewHarness h;
    h.Flush();
    const GlyphTable before = h.doc.glyphs;
    WithEditor([&] { OpenSlot(h, 4); }, [&](HWND dialog) {
        Click(dialog, SquareId(1, 1));
        Click(dialog, SquareId(2, 7));
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(h.doc.glyphs, before);
    EXPECT_EQ(h.Notifications(), 1);
    EXPECT_TRUE(GetUpdateRect(h.View(), nullptr, FALSE));

    ValidateRect(h.View(), nullptr);
    WithEditor([&] { OpenSlot(h, 7); }, [&](HWND dialog) {
        Click(dialog, SquareId(3, 3));
        SendMessageA(dialog, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(h.doc.glyphs, before);
    EXPECT_EQ(h.Notifications(), 2);
    EXPECT_TRUE(GetUpdateRect(h.View(), nullptr, FALSE));
}

TEST(CharEditor, AByteOf0x78StaysWhiteAndTurnsInto0x89AndBack) {
    ViewHarness h;
    h.doc.glyphs[2 * 56] = 0x78;
    const auto clickTopLeftAndOk = [&](HWND dialog) {
        EXPECT_EQ(SquareColour(dialog, SquareId(0, 0)), kWhite);
        Click(dialog, SquareId(0, 0));
        EXPECT_EQ(SquareColour(dialog, SquareId(0, 0)), kWhite);
        Click(dialog, IDOK);
    };
    WithEditor([&] { OpenSlot(h, 2); }, clickTopLeftAndOk);
    EXPECT_EQ(h.doc.glyphs[2 * 56], 0x89);
    {
        const Picture p(h.View());
        EXPECT_EQ(p.At(110, 60), kCell);
    }
    WithEditor([&] { OpenSlot(h, 2); }, clickTopLeftAndOk);
    EXPECT_EQ(h.doc.glyphs[2 * 56], 0x78);
    const Picture p(h.View());
    EXPECT_EQ(p.At(110, 60), kWhite);
}

TEST(CharEditor, OpensCentredOnItsOwnerAndInsideTheWorkArea) {
    ViewHarness h;
    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT owner{};
    GetWindowRect(h.Parent(), &owner);
    WithEditor([&] { OpenSlot(h, 0); }, [&](HWND dialog) {
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), h.Parent());
        RECT box{};
        GetWindowRect(dialog, &box);
        const int width = box.right - box.left;
        const int height = box.bottom - box.top;
        EXPECT_EQ(box.left, (owner.left + owner.right) / 2 - width / 2);
        EXPECT_EQ(box.top, (owner.top + owner.bottom) / 2 - height / 2);
        Click(dialog, IDCANCEL);
    });

    SetWindowPos(h.Parent(), nullptr, area.right - 100, area.bottom - 40, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    WithEditor([&] { OpenSlot(h, 0); }, [&](HWND dialog) {
        RECT box{};
        GetWindowRect(dialog, &box);
        EXPECT_EQ(box.right, area.right);
        EXPECT_EQ(box.bottom, area.bottom);
        EXPECT_GE(box.left, area.left);
        EXPECT_GE(box.top, area.top);
        Click(dialog, IDCANCEL);
    });
    SetWindowPos(h.Parent(), nullptr, owner.left, owner.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace
