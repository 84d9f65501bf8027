#include "document/start_screen_file.h"

#include <algorithm>
#include <cstring>

namespace {

class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), left_(size) {}

    size_t ReadInto(uint8_t* target, size_t wanted) {
        const size_t count = std::min(wanted, left_);
        if (count != 0) std::memcpy(target, data_, count);
        data_ += count;
        left_ -= count;
        return count;
    }

private:
    const uint8_t* data_;
    size_t left_;
};

}  // namespace

LoadOutcome ReadStartScreen(ScreenDocument& doc, const uint8_t* data, size_t size) {
    ByteReader reader(data, size);

    uint8_t header[kHeaderBytes];
    for (size_t i = 0; i < kHeaderBytes; ++i) header[i] = static_cast<uint8_t>(doc.sizeCode >> (8 * i));
    reader.ReadInto(header, kHeaderBytes);
    ApplySizeCode(doc, static_cast<uint32_t>(header[0]) | static_cast<uint32_t>(header[1]) << 8);
    BlankText(doc);

    reader.ReadInto(doc.glyphs.data(), kUserGlyphBytes);

    const size_t textBytes = UsedCellCount(doc);
    if (textBytes == 0) return LoadOutcome::Complete;
    return reader.ReadInto(doc.cells.data(), textBytes) == textBytes ? LoadOutcome::Complete
                                                                     : LoadOutcome::TextShort;
}

size_t WriteStartScreen(const ScreenDocument& doc, StartScreenBytes& out) {
    for (size_t i = 0; i < kHeaderBytes; ++i) out[i] = static_cast<uint8_t>(doc.sizeCode >> (8 * i));
    std::copy_n(doc.glyphs.begin(), kUserGlyphBytes, out.begin() + kHeaderBytes);
    const size_t textBytes = std::min(UsedCellCount(doc), out.size() - kTextOffset);
    std::copy_n(doc.cells.begin(), textBytes, out.begin() + kTextOffset);
    return kTextOffset + textBytes;
}
