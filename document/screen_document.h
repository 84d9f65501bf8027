#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

inline constexpr size_t kCellCount = 400;
inline constexpr size_t kGlyphCount = 255;  // codes 0-254; 255 has no glyph
inline constexpr size_t kGlyphRows = 8;
inline constexpr size_t kGlyphRowBytes = 7;
inline constexpr int kDotColumns = 5;  // the dots of a row; its last two bytes are never shown
inline constexpr size_t kGlyphBytes = kGlyphRows * kGlyphRowBytes;
inline constexpr size_t kGlyphTableBytes = kGlyphCount * kGlyphBytes;
inline constexpr size_t kUserGlyphCount = 8;
inline constexpr size_t kUserGlyphBytes = kUserGlyphCount * kGlyphBytes;
inline constexpr size_t kFileNameCapacity = 256;
inline constexpr size_t kMaxFileNameLength = kFileNameCapacity - 1;
inline constexpr uint8_t kSpace = 0x20;

// Pixel bytes: 0 dark, 1 lit; glyph k starts at k * 56, its row r at + r * 7.
using GlyphTable = std::array<uint8_t, kGlyphTableBytes>;

// The one start screen being edited.
struct ScreenDocument {
    uint32_t sizeCode = 0;
    uint32_t columns = 0;
    uint32_t rows = 0;
    int32_t paletteOffset = 0;
    std::array<uint8_t, kCellCount> cells{};  // row-major, row y column x at y * columns + x
    GlyphTable glyphs{};
    std::array<char, kFileNameCapacity> fileName{};

    // Glyph `code`'s pixel bytes, dot row r at r * 7. Code 255 has no glyph and throws.
    std::span<uint8_t, kGlyphBytes> GlyphOf(size_t code) {
        return std::span<uint8_t, kGlyphBytes>(&glyphs.at(code * kGlyphBytes), kGlyphBytes);
    }
    std::span<const uint8_t, kGlyphBytes> GlyphOf(size_t code) const {
        return std::span<const uint8_t, kGlyphBytes>(&glyphs.at(code * kGlyphBytes), kGlyphBytes);
    }
};

// Columns 0-4 of a 7-byte glyph row as bits 4-0, as the module receives them; any non-zero byte
// is lit.
uint8_t PackRow(const uint8_t* glyphRow);
// A glyph written as people draw one: 40 dots, top row first, '#' lit and '.' dark.
inline constexpr char kLitDot = '#';
inline constexpr char kDarkDot = '.';
inline constexpr size_t kPatternDots = kGlyphRows * kDotColumns;
// False, with the glyph untouched, for anything but such a pattern; the hidden columns go dark.
bool DrawGlyph(std::span<uint8_t, kGlyphBytes> glyph, std::string_view pattern);

inline uint8_t PackedGlyphRow(const ScreenDocument& doc, size_t code, size_t row) {
    return PackRow(doc.GlyphOf(code).data() + row * kGlyphRowBytes);
}

// The state the preview's creation gives the document: 16 x 4, the built-in glyphs, 64 blank cells.
void InitializeDocument(ScreenDocument& doc, const uint8_t (&glyphTable)[kGlyphTableBytes]);

// Cells that belong to the geometry, never more than the cell array holds.
size_t UsedCellCount(const ScreenDocument& doc);

inline bool InsideGrid(const ScreenDocument& doc, int32_t column, int32_t row) {
    return static_cast<uint32_t>(column) < doc.columns && static_cast<uint32_t>(row) < doc.rows;
}

// The geometry rule: stores the low 16 bits of the code and sets what that size sets.
void ApplySizeCode(ScreenDocument& doc, uint32_t code);
void BlankText(ScreenDocument& doc);

// A size chosen by the user: the geometry rule, then a blank text. The caller resizes its windows.
void SetDisplaySize(ScreenDocument& doc, uint32_t code);
// New: blank user characters and text, no file name; the size stays.
void ClearDocument(ScreenDocument& doc);

// Paths longer than the document holds are refused, never cut: a cut path names another file.
bool AssignFileName(ScreenDocument& doc, const char* path);
bool HasFileName(const ScreenDocument& doc);
