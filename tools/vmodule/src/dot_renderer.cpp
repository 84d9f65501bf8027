#include "dot_renderer.h"

namespace vmodule {

namespace {

constexpr const char* kLitBlock = "\u2588\u2588";
constexpr const char* kDarkBlock = "\u2591\u2591";
constexpr const char* kUpperHalf = "\u2580";

struct Colour {
    int red, green, blue;
    friend bool operator==(const Colour&, const Colour&) = default;
};

// The editor preview's panel blue, cell blue and pixel white.
constexpr Colour kPanel{0x39, 0x4A, 0xD4};
constexpr Colour kDarkDot{0x39, 0x4A, 0xB4};
constexpr Colour kLitDot{0xFF, 0xFF, 0xFF};

std::string colourCode(int selector, Colour colour)
{
    return "\x1b[" + std::to_string(selector) + ";2;" + std::to_string(colour.red) + ";" +
           std::to_string(colour.green) + ";" + std::to_string(colour.blue) + "m";
}

class ColouredLine {
public:
    void put(const char* text, Colour foreground, Colour background)
    {
        if (!(foreground == foreground_)) text_ += colourCode(38, foreground_ = foreground);
        if (!(background == background_)) text_ += colourCode(48, background_ = background);
        text_ += text;
    }
    void gap() { put(" ", kPanel, kPanel); }
    std::string finish() { return text_ + "\x1b[0m"; }

private:
    std::string text_;
    Colour foreground_{-1, -1, -1};
    Colour background_{-1, -1, -1};
};

bool lit(const ModuleInterpreter& module, FontTable font, int row, int column, int dotRow, int dotColumn)
{
    return dotLit(font, module.userCharacters(), module.display()[row][column], dotRow, dotColumn);
}

std::vector<std::string> renderBlocks(const ModuleInterpreter& module, FontTable font)
{
    const DisplayGeometry geometry = module.geometry();
    std::vector<std::string> lines;
    for (int row = 0; row < geometry.rows; ++row) {
        if (row > 0) lines.emplace_back();
        for (int dotRow = 0; dotRow < kCharacterRowCount; ++dotRow) {
            std::string line;
            for (int column = 0; column < geometry.columns; ++column) {
                if (column > 0) line += "  ";
                for (int dotColumn = 0; dotColumn < kDotColumns; ++dotColumn)
                    line += lit(module, font, row, column, dotRow, dotColumn) ? kLitBlock : kDarkBlock;
            }
            lines.push_back(line);
        }
    }
    return lines;
}

std::string panelLine(int width)
{
    ColouredLine line;
    for (int i = 0; i < width; ++i) line.gap();
    return line.finish();
}

// The coloured drawings: two dot rows a text line, panel lines around and between the rows.
template <typename PutCharacter>
std::vector<std::string> renderOnPanel(const ModuleInterpreter& module, RenderStyle style, PutCharacter putCharacter)
{
    const DisplayGeometry geometry = module.geometry();
    const int width = renderedWidth(geometry, style);
    std::vector<std::string> lines{panelLine(width)};
    for (int row = 0; row < geometry.rows; ++row) {
        if (row > 0) lines.push_back(panelLine(width));
        for (int dotRow = 0; dotRow < kCharacterRowCount; dotRow += 2) {
            ColouredLine line;
            line.gap();
            for (int column = 0; column < geometry.columns; ++column) putCharacter(line, row, column, dotRow);
            line.gap();
            lines.push_back(line.finish());
        }
    }
    lines.push_back(panelLine(width));
    return lines;
}

std::vector<std::string> renderHalfBlocks(const ModuleInterpreter& module, FontTable font)
{
    return renderOnPanel(module, RenderStyle::HalfBlocks, [&](ColouredLine& line, int row, int column, int dotRow) {
        if (column > 0) line.gap();
        for (int dotColumn = 0; dotColumn < kDotColumns; ++dotColumn) {
            const bool top = lit(module, font, row, column, dotRow, dotColumn);
            const bool bottom = lit(module, font, row, column, dotRow + 1, dotColumn);
            line.put(kUpperHalf, top ? kLitDot : kDarkDot, bottom ? kLitDot : kDarkDot);
        }
    });
}

// Block elements indexed by their lit quarters: 1 upper left, 2 upper right, 4 lower left, 8 lower right.
constexpr const char* kQuadrants[16] = {" ",      "\u2598", "\u259D", "\u2580", "\u2596", "\u258C",
                                        "\u259E", "\u259B", "\u2597", "\u259A", "\u2590", "\u259C",
                                        "\u2584", "\u2599", "\u259F", "\u2588"};

// A character's five dots and the one-dot gap after it make three cells.
std::vector<std::string> renderQuadrants(const ModuleInterpreter& module, FontTable font)
{
    return renderOnPanel(module, RenderStyle::Quadrants, [&](ColouredLine& line, int row, int column, int dotRow) {
        for (int dotColumn = 0; dotColumn <= kDotColumns; dotColumn += 2) {
            const auto on = [&](int down, int right) {
                return lit(module, font, row, column, dotRow + down, dotColumn + right) ? 1 : 0;
            };
            line.put(kQuadrants[on(0, 0) | on(0, 1) << 1 | on(1, 0) << 2 | on(1, 1) << 3], kLitDot, kDarkDot);
        }
    });
}

}  // namespace

std::vector<std::string> renderDots(const ModuleInterpreter& module, FontTable font, RenderStyle style)
{
    switch (style) {
    case RenderStyle::Blocks:
        return renderBlocks(module, font);
    case RenderStyle::HalfBlocks:
        return renderHalfBlocks(module, font);
    case RenderStyle::Quadrants:
        return renderQuadrants(module, font);
    }
    return {};
}

int renderedWidth(DisplayGeometry geometry, RenderStyle style)
{
    if (style == RenderStyle::Blocks) return geometry.columns * 2 * kDotColumns + (geometry.columns - 1) * 2;
    if (style == RenderStyle::HalfBlocks) return geometry.columns * kDotColumns + (geometry.columns - 1) + 2;
    return geometry.columns * 3 + 2;
}

}  // namespace vmodule
