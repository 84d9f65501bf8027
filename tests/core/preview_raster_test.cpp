#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "render/preview_raster.h"
#include "test_support.h"

namespace {

constexpr uint32_t kGrey = 0xB4B4B4;
constexpr uint32_t kPanel = 0x394AD4;
constexpr uint32_t kCell = 0x394AB4;
constexpr uint32_t kCursor = 0x4D54FF;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kUntouched = 0x00FF00;

struct Expected {
    int x, y;
    uint32_t colour;
};

// A 400 x 180 view area with a margin of untouched pixels all round, which nothing may reach.
class Canvas {
public:
    static constexpr int kWidth = 400, kHeight = 180, kMargin = 8;
    Canvas() : pixels_((kWidth + 2 * kMargin) * (kHeight + 2 * kMargin), kUntouched) {}

    PixelTarget Target(int left = 0, int top = 0, int width = kWidth, int height = kHeight) {
        return {&pixels_[kMargin * Stride() + kMargin], width, height, Stride(), left, top};
    }
    // A pixel by its place in the target of Target(): the margin lies at -8..-1 and beyond the size.
    uint32_t At(int x, int y) const { return pixels_[(y + kMargin) * Stride() + x + kMargin]; }

    ::testing::AssertionResult Shows(std::initializer_list<Expected> table) const {
        for (const Expected& e : table)
            if (At(e.x, e.y) != e.colour)
                return ::testing::AssertionFailure() << "pixel (" << e.x << ", " << e.y << ") is 0x" << std::hex
                                                     << At(e.x, e.y) << ", expected 0x" << e.colour;
        return ::testing::AssertionSuccess();
    }

private:
    static constexpr int Stride() { return kWidth + 2 * kMargin; }
    std::vector<uint32_t> pixels_;
};

void Render(Canvas& canvas, const ScreenDocument& doc, const PreviewMarks* marks) {
    RenderPreview(doc, marks, Canvas::kWidth, Canvas::kHeight, canvas.Target());
}

TEST(PreviewRaster, BlankScreenShowsGreyPanelGapsBoxesCursorAndPalette) {
    const ScreenDocument doc = StartupDocument();
    const PreviewMarks cursorHome;
    Canvas canvas;
    Render(canvas, doc, &cursorHome);
    EXPECT_TRUE(canvas.Shows({
        {0, 0, kCursor}, {14, 23, kCursor}, {15, 0, kPanel}, {16, 25, kPanel}, {14, 24, kPanel},
        {17, 0, kCell}, {31, 23, kCell}, {32, 10, kPanel}, {323, 26, kCell}, {337, 49, kCell},
        {338, 50, kPanel}, {339, 51, kPanel}, {340, 0, kGrey}, {399, 179, kGrey}, {0, 52, kGrey},
        {49, 59, kGrey}, {49, 60, kGrey},
        // Slot 0 holds the first default user character: row 2 all five dots, row 7 dots 1 and 2.
        {50, 60, kCell}, {50, 66, kWhite}, {51, 67, kWhite}, {52, 66, kCell}, {53, 66, kWhite},
        {62, 66, kWhite}, {63, 67, kWhite}, {64, 66, kCell}, {50, 81, kCell}, {53, 81, kWhite},
        {57, 82, kWhite}, {59, 81, kCell}, {64, 83, kCell}, {65, 60, kGrey}, {79, 83, kGrey},
        {80, 60, kCell}, {260, 84, kGrey}, {274, 83, kCell}, {275, 70, kGrey},
        // Nothing outside the target.
        {-1, -1, kUntouched}, {400, 0, kUntouched}, {0, 180, kUntouched}, {399, 180, kUntouched},
    }));
}

TEST(PreviewRaster, GlyphDotsAreTwoPixelSquaresAtAPitchOfThree) {
    ScreenDocument doc = StartupDocument();
    SetText(doc, 0, "A");
    const PreviewMarks cursor{1, 0};
    Canvas canvas;
    Render(canvas, doc, &cursor);
    // Row 0 of A: dots 1 to 3; row 4: all five; row 7: none.
    EXPECT_TRUE(canvas.Shows({
        {0, 0, kCell}, {2, 0, kCell}, {3, 0, kWhite}, {4, 1, kWhite}, {5, 0, kCell}, {6, 0, kWhite},
        {9, 0, kWhite}, {10, 1, kWhite}, {11, 0, kCell}, {3, 2, kCell},
        {0, 12, kWhite}, {1, 13, kWhite}, {13, 13, kWhite}, {14, 12, kCell}, {0, 21, kCell}, {6, 21, kCell},
        {17, 0, kCursor}, {20, 0, kCursor},
    }));
}

TEST(PreviewRaster, OnlyOneAnd0x78LightAPixelAndByteSixIsNeverDrawn) {
    ScreenDocument doc = StartupDocument();
    uint8_t* glyph = doc.glyphs.data() + 0x80 * kGlyphBytes;
    const std::array<uint8_t, 7> row0 = {1, 0x78, 0, 2, 0xFF, 0, 0};
    std::copy(row0.begin(), row0.end(), glyph);
    glyph[7 + 5] = 1;
    glyph[7 + 6] = 1;
    doc.cells[19] = 0x80;
    const PreviewMarks cursorHome;
    Canvas canvas;
    Render(canvas, doc, &cursorHome);
    EXPECT_TRUE(canvas.Shows({
        {323, 0, kWhite}, {324, 1, kWhite}, {326, 0, kWhite}, {327, 1, kWhite}, {329, 0, kCell},
        {332, 0, kCell}, {335, 0, kCell}, {336, 1, kCell},
        // Byte 5 falls in the gap right of the box; byte 6 would fall on the grey beyond the panel.
        {338, 3, kWhite}, {339, 4, kWhite}, {338, 5, kPanel}, {341, 3, kGrey}, {342, 4, kGrey},
    }));
}

TEST(PreviewRaster, CursorTestMarksCellsSlotsAndOverlayAlike) {
    ScreenDocument doc = StartupDocument();
    SetText(doc, 20, "B");
    PreviewMarks marks{2, 2};  // below the two rows: slot 0 lies at x 50, and 50 / 17 is 2
    Canvas canvas;
    Render(canvas, doc, &marks);
    EXPECT_TRUE(canvas.Shows({{50, 60, kCursor}, {80, 60, kCell}, {34, 26, kCell}, {34, 0, kCell}}));

    marks = {3, 1, true, 0x100 | 'A', 3, 1};  // dragging A over the cursor cell; high bits ignored
    Render(canvas, doc, &marks);
    EXPECT_TRUE(canvas.Shows({{51, 26, kCursor}, {54, 26, kWhite}, {51, 38, kWhite}, {2, 26, kCell},
                              {0, 29, kWhite}, {50, 60, kCell}}));

    marks.cursorColumn = 0;  // the overlay box follows the cursor test too
    Render(canvas, doc, &marks);
    EXPECT_TRUE(canvas.Shows({{51, 26, kCell}, {54, 26, kWhite}, {2, 26, kCursor}, {0, 29, kWhite}}));
}

TEST(PreviewRaster, NoOverlayOutsideTheGridOrWhenNotDragging) {
    ScreenDocument doc = StartupDocument();
    const struct {
        bool dragging;
        int32_t column, row;
    } cases[] = {{true, 3, 2}, {true, -1, 0}, {true, 20, 0}, {true, 0, -1}, {false, 3, 1}};
    for (const auto& c : cases) {
        const PreviewMarks marks{5, 0, c.dragging, 'A', c.column, c.row};
        Canvas canvas;
        Render(canvas, doc, &marks);
        EXPECT_TRUE(canvas.Shows({{54, 26, kCell}, {3, 0, kCell}, {54, 52, kGrey}, {340, 3, kGrey}}))
            << c.column << "," << c.row;
    }
}

TEST(PreviewRaster, CodeTwoHundredFiftyFiveShowsABlankCell) {
    ScreenDocument doc = StartupDocument();
    doc.cells[1] = 0xFF;
    const PreviewMarks drag{5, 0, true, 0xFF, 5, 0};
    Canvas canvas;
    Render(canvas, doc, &drag);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 15; ++x) {
            ASSERT_EQ(canvas.At(17 + x, y), kCell) << x << "," << y;
            ASSERT_EQ(canvas.At(85 + x, y), kCursor) << x << "," << y;
        }
}

TEST(PreviewRaster, WithoutMarksNoBoxIsTheCursor) {
    ScreenDocument doc = StartupDocument();
    SetDisplaySize(doc, kSize4x20);
    SetText(doc, 0, "A");
    Canvas canvas;
    Render(canvas, doc, nullptr);
    EXPECT_TRUE(canvas.Shows({{0, 0, kCell}, {3, 0, kWhite}, {323, 78, kCell}, {50, 112, kCell}, {50, 118, kWhite}}));
}

TEST(PreviewRaster, AnAreaAwayFromTheCornerIsDrawnInPlaceAndClipped) {
    ScreenDocument doc = StartupDocument();
    SetText(doc, 39, "A");
    const PreviewMarks cursorHome;
    Canvas canvas;
    // The 30 x 30 area from (320, 26): the last cells of row 1, the panel gaps and grey beyond.
    RenderPreview(doc, &cursorHome, Canvas::kWidth, Canvas::kHeight, canvas.Target(320, 26, 30, 30));
    EXPECT_TRUE(canvas.Shows({
        {0, 0, kCell}, {1, 0, kPanel}, {2, 10, kPanel}, {3, 0, kCell}, {6, 0, kWhite}, {7, 1, kWhite},
        {8, 0, kCell}, {9, 0, kWhite}, {12, 0, kWhite}, {13, 1, kWhite}, {14, 0, kCell}, {17, 23, kCell}, {18, 0, kPanel},
        {19, 25, kPanel}, {5, 25, kPanel}, {20, 0, kGrey}, {29, 29, kGrey}, {0, 26, kGrey},
        {-1, 0, kUntouched}, {30, 0, kUntouched}, {0, 30, kUntouched}, {0, -1, kUntouched},
    }));
}

TEST(PreviewRaster, GreyCoversOnlyTheGivenBackground) {
    const ScreenDocument doc = StartupDocument();
    Canvas canvas;
    RenderPreview(doc, nullptr, 350, 100, canvas.Target());
    EXPECT_TRUE(canvas.Shows({{349, 99, kGrey}, {350, 0, kUntouched}, {0, 100, kUntouched}, {399, 179, kUntouched},
                              {52, 110, kUntouched}}));
}

TEST(PreviewRaster, PanelAloneHasTheGeometrysSizeAndNoCursor) {
    struct Case {
        uint16_t code;
        int width, height;
    };
    for (const Case& c : {Case{kSize2x20, 340, 52}, Case{kSize2x16, 272, 52}, Case{kSize4x20, 340, 104}}) {
        ScreenDocument doc = StartupDocument();
        SetDisplaySize(doc, c.code);
        SetText(doc, 0, "A");
        std::vector<uint32_t> pixels(static_cast<size_t>(c.width * c.height) + 1, kUntouched);
        ASSERT_FALSE(RenderPanel(doc, std::span(pixels).first(pixels.size() - 2)));
        EXPECT_EQ(pixels[0], kUntouched);
        ASSERT_TRUE(RenderPanel(doc, pixels));
        const auto at = [&](int x, int y) { return pixels[static_cast<size_t>(y * c.width + x)]; };
        EXPECT_EQ(at(0, 0), kCell);
        EXPECT_EQ(at(3, 0), kWhite);
        EXPECT_EQ(at(17, 0), kCell);
        EXPECT_EQ(at(c.width - 1, c.height - 1), kPanel);
        EXPECT_EQ(at(c.width - 3, c.height - 3), kCell);
        EXPECT_EQ(pixels.back(), kUntouched) << c.code;
    }
}

}  // namespace
