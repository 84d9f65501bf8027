#include "document/exact_start_screen.h"

#include <algorithm>

#include "document/display_size.h"
#include "document/start_screen_file.h"

ScreenDocument FreshEditorDocument(const uint8_t (&glyphTable)[kGlyphTableBytes]) {
    ScreenDocument doc;
    InitializeDocument(doc, glyphTable);
    SetDisplaySize(doc, kSize2x20);
    return doc;
}

ExactStartScreen ReadExactStartScreen(const uint8_t* data, size_t size,
                                      const uint8_t (&glyphTable)[kGlyphTableBytes]) {
    ExactStartScreen file;
    ScreenDocument& doc = file.doc;
    doc = FreshEditorDocument(glyphTable);
    const uint32_t low = size >= 2 ? static_cast<uint32_t>(data[0] | data[1] << 8) : 0;
    if (low == kSize2x16 && size >= kTextOffset + 64) SetDisplaySize(doc, kSize4x20);

    ReadStartScreen(doc, data, size);
    file.header = doc.sizeCode;
    for (size_t i = 2; i < std::min<size_t>(size, kHeaderBytes); ++i) file.header |= uint32_t{data[i]} << (8 * i);
    const size_t used = UsedCellCount(doc);
    file.textBytes = size > kTextOffset ? std::min(size - kTextOffset, used) : 0;
    if (size > kTextOffset + used) file.trailing.assign(data + kTextOffset + used, data + size);
    return file;
}

std::vector<uint8_t> WriteExactStartScreen(const ExactStartScreen& file) {
    ExactStartScreen copy = file;
    copy.doc.sizeCode = file.header & 0xFFFFu;
    StartScreenBytes bytes{};
    const size_t whole = WriteStartScreen(copy.doc, bytes);
    for (size_t i = 2; i < kHeaderBytes; ++i) bytes[i] = static_cast<uint8_t>(file.header >> (8 * i));
    const size_t length = std::min(whole, kTextOffset + file.textBytes);
    std::vector<uint8_t> out(bytes.begin(), bytes.begin() + length);
    if (length == whole) out.insert(out.end(), file.trailing.begin(), file.trailing.end());
    return out;
}

ExactStartScreen WholeStartScreen(const ScreenDocument& doc) {
    ExactStartScreen file;
    file.doc = doc;
    file.header = doc.sizeCode;
    file.textBytes = UsedCellCount(doc);
    return file;
}
