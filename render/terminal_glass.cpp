#include "render/terminal_glass.h"

#include "render/preview_geometry.h"

namespace {

constexpr const char* kLitBlock = "\u2588\u2588";
constexpr const char* kDarkBlock = "\u2591\u2591";
constexpr const char* kUpperHalf = "\u2580";

// 0x00RRGGBB as a 24-bit terminal colour; -1 for none chosen yet.
std::string ColourCode(int selector, uint32_t colour) {
    return "\x1b[" + std::to_string(selector) + ";2;" + std::to_string(colour >> 16 & 0xFF) + ";" +
           std::to_string(colour >> 8 & 0xFF) + ";" + std::to_string(colour & 0xFF) + "m";
}

class ColouredLine {
public:
    explicit ColouredLine(GlassColour colour) : colour_(colour == GlassColour::On) {}

    void Put(const char* text, uint32_t foreground, uint32_t background) {
        if (colour_ && foreground != foreground_) text_ += ColourCode(38, foreground_ = foreground);
        if (colour_ && background != background_) text_ += ColourCode(48, background_ = background);
        text_ += text;
    }
    void Gap() { Put(" ", kPanelBlue, kPanelBlue); }
    std::string Finish() { return colour_ ? text_ + "\x1b[0m" : text_; }
    bool Coloured() const { return colour_; }

private:
    static constexpr uint32_t kNoColour = 0xFFFFFFFF;
    bool colour_;
    std::string text_;
    uint32_t foreground_ = kNoColour;
    uint32_t background_ = kNoColour;
};

bool Lit(const ModuleGlass& glass, FontGlyphs font, int row, int column, int dotRow, int dotColumn) {
    return ModuleDotLit(font, glass.userCharacters, glass.text[row][column], dotRow, dotColumn);
}

std::vector<std::string> DrawBlocks(const ModuleGlass& glass, FontGlyphs font) {
    std::vector<std::string> lines;
    for (int row = 0; row < glass.rows; ++row) {
        if (row > 0) lines.emplace_back();
        for (int dotRow = 0; dotRow < static_cast<int>(kGlyphRows); ++dotRow) {
            std::string line;
            for (int column = 0; column < glass.columns; ++column) {
                if (column > 0) line += "  ";
                for (int dotColumn = 0; dotColumn < kDotColumns; ++dotColumn) {
                    line += Lit(glass, font, row, column, dotRow, dotColumn) ? kLitBlock : kDarkBlock;
                }
            }
            lines.push_back(line);
        }
    }
    return lines;
}

std::string PanelLine(int width, GlassColour colour) {
    ColouredLine line(colour);
    for (int i = 0; i < width; ++i) line.Gap();
    return line.Finish();
}

// The coloured drawings: two dot rows a text line, panel lines around and between the rows.
template <typename PutCharacter>
std::vector<std::string> DrawOnPanel(const ModuleGlass& glass, GlassStyle style, GlassColour colour,
                                     PutCharacter putCharacter) {
    const int width = GlassWidth(glass.columns, style);
    std::vector<std::string> lines{PanelLine(width, colour)};
    for (int row = 0; row < glass.rows; ++row) {
        if (row > 0) lines.push_back(PanelLine(width, colour));
        for (int dotRow = 0; dotRow < static_cast<int>(kGlyphRows); dotRow += 2) {
            ColouredLine line(colour);
            line.Gap();
            for (int column = 0; column < glass.columns; ++column) putCharacter(line, row, column, dotRow);
            line.Gap();
            lines.push_back(line.Finish());
        }
    }
    lines.push_back(PanelLine(width, colour));
    return lines;
}

// Without colour a half block is drawn where its dot is lit: upper, lower, both or neither.
constexpr const char* kHalves[4] = {" ", "\u2580", "\u2584", "\u2588"};

std::vector<std::string> DrawHalfBlocks(const ModuleGlass& glass, FontGlyphs font, GlassColour colour) {
    return DrawOnPanel(glass, GlassStyle::HalfBlocks, colour, [&](ColouredLine& line, int row, int column, int dotRow) {
        if (column > 0) line.Gap();
        for (int dotColumn = 0; dotColumn < kDotColumns; ++dotColumn) {
            const bool top = Lit(glass, font, row, column, dotRow, dotColumn);
            const bool bottom = Lit(glass, font, row, column, dotRow + 1, dotColumn);
            line.Put(line.Coloured() ? kUpperHalf : kHalves[(top ? 1 : 0) | (bottom ? 2 : 0)],
                     top ? kPixelWhite : kCellBlue, bottom ? kPixelWhite : kCellBlue);
        }
    });
}

// Block elements indexed by their lit quarters: 1 upper left, 2 upper right, 4 lower left, 8 lower right.
constexpr const char* kQuadrants[16] = {" ",      "\u2598", "\u259D", "\u2580", "\u2596", "\u258C",
                                        "\u259E", "\u259B", "\u2597", "\u259A", "\u2590", "\u259C",
                                        "\u2584", "\u2599", "\u259F", "\u2588"};

// A character's five dots and the one-dot gap after it make three cells.
std::vector<std::string> DrawQuadrants(const ModuleGlass& glass, FontGlyphs font, GlassColour colour) {
    return DrawOnPanel(glass, GlassStyle::Quadrants, colour, [&](ColouredLine& line, int row, int column, int dotRow) {
        for (int dotColumn = 0; dotColumn <= kDotColumns; dotColumn += 2) {
            const auto on = [&](int down, int right) {
                return Lit(glass, font, row, column, dotRow + down, dotColumn + right) ? 1 : 0;
            };
            line.Put(kQuadrants[on(0, 0) | on(0, 1) << 1 | on(1, 0) << 2 | on(1, 1) << 3], kPixelWhite, kCellBlue);
        }
    });
}

}  // namespace

std::vector<std::string> DrawGlass(const ModuleGlass& glass, FontGlyphs font, GlassStyle style, GlassColour colour) {
    switch (style) {
    case GlassStyle::Blocks:
        return DrawBlocks(glass, font);
    case GlassStyle::HalfBlocks:
        return DrawHalfBlocks(glass, font, colour);
    case GlassStyle::Quadrants:
        return DrawQuadrants(glass, font, colour);
    }
    return {};
}

int GlassWidth(int columns, GlassStyle style) {
    if (style == GlassStyle::Blocks) return columns * 2 * kDotColumns + (columns - 1) * 2;
    if (style == GlassStyle::HalfBlocks) return columns * kDotColumns + (columns - 1) + 2;
    return columns * 3 + 2;
}
