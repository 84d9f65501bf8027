#include "document/screen_document.h"

#include <algorithm>
#include <cstring>

#include "document/display_size.h"

void InitializeDocument(ScreenDocument& doc, const uint8_t (&glyphTable)[kGlyphTableBytes]) {
    doc.columns = 16;
    doc.rows = 4;
    doc.paletteOffset = 50;
    std::copy_n(glyphTable, kGlyphTableBytes, doc.glyphs.begin());
    BlankText(doc);
}

size_t UsedCellCount(const ScreenDocument& doc) {
    const uint64_t used = static_cast<uint64_t>(doc.columns) * doc.rows;
    return static_cast<size_t>(std::min<uint64_t>(used, kCellCount));
}

void ApplySizeCode(ScreenDocument& doc, uint32_t code) {
    doc.sizeCode = code & 0xFFFFu;
    const DisplaySize* size = FindDisplaySize(doc.sizeCode);
    if (size == nullptr) return;
    doc.columns = size->columns;
    if (size->rows != 0) doc.rows = size->rows;
    doc.paletteOffset = size->paletteOffset;
}

void BlankText(ScreenDocument& doc) {
    std::fill_n(doc.cells.begin(), UsedCellCount(doc), kSpace);
}

void SetDisplaySize(ScreenDocument& doc, uint32_t code) {
    ApplySizeCode(doc, code);
    BlankText(doc);
}

void ClearDocument(ScreenDocument& doc) {
    std::fill_n(doc.glyphs.begin(), kUserGlyphBytes, uint8_t{0});
    BlankText(doc);
    doc.fileName[0] = '\0';
}

bool AssignFileName(ScreenDocument& doc, const char* path) {
    size_t length = 0;
    while (length < kFileNameCapacity && path[length] != '\0') ++length;
    if (length > kMaxFileNameLength) return false;
    std::memcpy(doc.fileName.data(), path, length);
    doc.fileName[length] = '\0';
    return true;
}

bool HasFileName(const ScreenDocument& doc) { return doc.fileName[0] != '\0'; }

uint8_t PackRow(const uint8_t* glyphRow) {
    uint8_t packed = 0;
    for (int column = 0; column < kDotColumns; ++column) {
        packed = static_cast<uint8_t>(packed << 1 | (glyphRow[column] != 0 ? 1 : 0));
    }
    return packed;
}

bool DrawGlyph(std::span<uint8_t, kGlyphBytes> glyph, std::string_view pattern) {
    if (pattern.size() != kPatternDots) return false;
    for (char dot : pattern) {
        if (dot != kLitDot && dot != kDarkDot) return false;
    }
    std::fill(glyph.begin(), glyph.end(), uint8_t{0});
    for (size_t i = 0; i < kPatternDots; ++i) {
        glyph[i / kDotColumns * kGlyphRowBytes + i % kDotColumns] = pattern[i] == kLitDot ? 1 : 0;
    }
    return true;
}
