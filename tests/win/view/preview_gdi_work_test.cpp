#include <gtest/gtest.h>

#include <algorithm>

#include "view_harness.h"

namespace {

// A drawing recorded into an enhanced metafile, which keeps one record per GDI call made on it.
class Recording {
public:
    explicit Recording(ScreenView& view) {
        const HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
        IntersectClipRect(dc, 0, 0, 400, 180);
        view.DrawPreview(dc);
        metafile_ = CloseEnhMetaFile(dc);
    }
    ~Recording() { DeleteEnhMetaFile(metafile_); }
    Recording(const Recording&) = delete;
    Recording& operator=(const Recording&) = delete;

    UINT Records() const {
        ENHMETAHEADER header{};
        GetEnhMetaFileHeader(metafile_, sizeof header, &header);
        return header.nRecords;
    }
    // The colour the recording leaves at a point when played back onto the marker colour.
    COLORREF PlayedAt(int x, int y) const {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), 400, -180, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        const HDC dc = CreateCompatibleDC(nullptr);
        const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        const HGDIOBJ previous = SelectObject(dc, bitmap);
        const RECT all{0, 0, 400, 180};
        const HBRUSH marker = CreateSolidBrush(kMarker);
        FillRect(dc, &all, marker);
        DeleteObject(marker);
        ENHMETAHEADER header{};
        GetEnhMetaFileHeader(metafile_, sizeof header, &header);
        const RECT bounds{header.rclBounds.left, header.rclBounds.top, header.rclBounds.right + 1,
                          header.rclBounds.bottom + 1};
        PlayEnhMetaFile(dc, metafile_, &bounds);
        const COLORREF colour = GetPixel(dc, x, y);
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
        return colour;
    }

private:
    HENHMETAFILE metafile_ = nullptr;
};

TEST(PreviewGdiWork, AFullyLitScreenCostsTheSameGdiCallsAsABlankOne) {
    ViewHarness h(0x800A);
    const Recording blank(h.view);

    uint8_t* glyph = h.doc.glyphs.data() + 0x80 * kGlyphBytes;
    std::fill_n(glyph, kGlyphBytes, uint8_t{1});
    std::fill_n(h.doc.glyphs.begin(), kUserGlyphBytes, uint8_t{1});
    std::fill_n(h.doc.cells.begin(), 80, uint8_t{0x80});
    const Recording lit(h.view);

    EXPECT_EQ(lit.Records(), blank.Records());
    EXPECT_LE(lit.Records(), 8u);
    // The recordings hold the pictures themselves (near the corner, where playback does not rescale).
    EXPECT_EQ(blank.PlayedAt(3, 0), kCursor);
    EXPECT_EQ(blank.PlayedAt(15, 0), kPanel);
    EXPECT_EQ(blank.PlayedAt(20, 0), kCell);
    EXPECT_EQ(lit.PlayedAt(3, 0), kWhite);
    EXPECT_EQ(lit.PlayedAt(2, 0), kCursor);
    EXPECT_EQ(lit.PlayedAt(15, 0), kWhite);
    EXPECT_EQ(lit.PlayedAt(19, 0), kCell);
    EXPECT_EQ(lit.PlayedAt(20, 0), kWhite);
}

}  // namespace
