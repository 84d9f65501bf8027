#include <gtest/gtest.h>

#include "view_harness.h"

namespace {

// The view printed into a 400 x 180 bitmap of the marker colour through a context clipped to one
// rectangle: a repaint of that area alone.
class ClippedPicture {
public:
    ClippedPicture(HWND view, const RECT& clip) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), 400, -180, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        previous_ = SelectObject(dc_, bitmap_);
        const RECT all{0, 0, 400, 180};
        const HBRUSH marker = CreateSolidBrush(kMarker);
        FillRect(dc_, &all, marker);
        DeleteObject(marker);
        IntersectClipRect(dc_, clip.left, clip.top, clip.right, clip.bottom);
        SendMessageA(view, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_), PRF_CLIENT);
    }
    ~ClippedPicture() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    ClippedPicture(const ClippedPicture&) = delete;
    ClippedPicture& operator=(const ClippedPicture&) = delete;

    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

bool Inside(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

// The colour of pixel (dx, dy) of a box showing the letter A.
COLORREF LetterPixel(int dx, int dy, COLORREF box) {
    const bool onDot = dx % 3 < 2 && dy % 3 < 2 && DotLit(kLetterA, dx / 3, dy / 3);
    return onDot ? kWhite : box;
}

TEST(PartialRepaint, AnAreaAwayFromTheOriginShowsWhatTheWholePictureShowsThere) {
    ViewHarness h;
    h.ClickCell(3, 1);
    h.Type("A");  // the A in column 3, row 1 (box at 51, 26); the cursor in column 4
    const Picture whole(h.View());
    ASSERT_EQ(whole.Width(), 396);  // 400 x 180 less the client edge
    ASSERT_EQ(whole.Height(), 176);
    for (const RECT clip : {RECT{45, 20, 360, 90}, RECT{51, 26, 66, 50}, RECT{330, 40, 396, 176},
                            RECT{17, 0, 18, 1}}) {
        SCOPED_TRACE(testing::Message() << clip.left << "," << clip.top << "-" << clip.right << "," << clip.bottom);
        const ClippedPicture part(h.View(), clip);
        for (int y = 0; y < 180; ++y) {
            for (int x = 0; x < 400; ++x) {
                const COLORREF expected = Inside(clip, x, y) ? whole.At(x, y) : kMarker;
                ASSERT_EQ(part.At(x, y), expected) << "pixel (" << x << ", " << y << ")";
            }
        }
    }
}

TEST(PartialRepaint, LandmarksInsideTheAreaHaveTheirExactColours) {
    ViewHarness h;
    h.ClickCell(3, 1);
    h.Type("A");
    const RECT clip{45, 20, 360, 90};
    const ClippedPicture part(h.View(), clip);
    for (int dy = 0; dy < 24; ++dy)
        for (int dx = 0; dx < 15; ++dx)
            ASSERT_EQ(part.At(51 + dx, 26 + dy), LetterPixel(dx, dy, kCell)) << dx << "," << dy;
    for (int dy = 0; dy < 24; ++dy)
        for (int dx = 0; dx < 15; ++dx) ASSERT_EQ(part.At(68 + dx, 26 + dy), kCursor) << dx << "," << dy;
    EXPECT_EQ(part.At(49, 30), kPanel);   // the gap right of column 2
    EXPECT_EQ(part.At(60, 50), kPanel);   // the gap below row 1
    EXPECT_EQ(part.At(340, 20), kGrey);   // right of the panel
    EXPECT_EQ(part.At(100, 55), kGrey);   // between the panel and the palette
    EXPECT_EQ(part.At(45, 20), kCell);    // top-left of the area: inside the box of column 2, row 0
    EXPECT_EQ(part.At(44, 20), kMarker);  // outside the area nothing is drawn
    EXPECT_EQ(part.At(45, 19), kMarker);
}

}  // namespace
