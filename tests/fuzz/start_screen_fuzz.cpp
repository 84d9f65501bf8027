// Arbitrary file bytes loaded into arbitrary reachable documents: the geometry stays one of the
// three the module has, nothing outside the document is touched, and a complete load saves back.
// The same bytes as a file for the tools come back whole through JSON, and as JSON text they are
// either refused or make a file that the JSON form keeps. As a picture they are refused or placed
// as a logo without touching anything outside the screen.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "formats/format_error.h"
#include "document/built_in_glyphs.h"
#include "document/display_size.h"
#include "document/start_screen_file.h"
#include "formats/logo_cells.h"
#include "formats/png_image.h"
#include "formats/screen_json.h"

namespace {

const uint8_t kNoGlyphs[kGlyphTableBytes] = {};

void Require(bool condition) {
    if (!condition) std::abort();
}

// The first byte picks the sizes chosen before the load: 2x16 keeps the rows of the size before it.
void PrepareDocument(ScreenDocument& doc, uint8_t choice) {
    InitializeDocument(doc, kNoGlyphs);
    static const uint16_t kSizes[] = {kSize2x20, kSize2x16, kSize4x20, kSize2x16};
    SetDisplaySize(doc, kSizes[choice & 3]);
    SetDisplaySize(doc, kSizes[(choice >> 2) & 3]);
    for (size_t i = 0; i < kCellCount; ++i) doc.cells[i] = static_cast<uint8_t>(i ^ choice);
    std::strcpy(doc.fileName.data(), "C:\\screen.kss");
}

void CheckJsonRoundTrip(const uint8_t* file, size_t size) {
    if (size < kTextOffset) return;
    const ExactStartScreen exact = ReadExactStartScreen(file, size, kBuiltInGlyphs);
    const std::vector<uint8_t> back = WriteExactStartScreen(StartScreenFromJson(StartScreenToJson(exact), "fuzz"));
    Require(back.size() == size && std::memcmp(back.data(), file, size) == 0);
}

void CheckJsonImport(const uint8_t* data, size_t size) {
    ExactStartScreen imported;
    try {
        imported = StartScreenFromJson(std::string(reinterpret_cast<const char*>(data), size), "fuzz");
    } catch (const FormatError&) {
        return;
    }
    const std::vector<uint8_t> file = WriteExactStartScreen(imported);
    const std::string json = StartScreenToJson(ReadExactStartScreen(file.data(), file.size(), kBuiltInGlyphs));
    const std::vector<uint8_t> again = WriteExactStartScreen(StartScreenFromJson(json, "fuzz"));
    Require(again == file);
}

void CheckLogo(const uint8_t* data, size_t size) {
    PixelImage picture;
    std::string error;
    if (!DecodePng(std::vector<uint8_t>(data, data + size), picture, error)) return;
    Require(picture.pixels.size() == static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height));
    ScreenDocument doc;
    InitializeDocument(doc, kBuiltInGlyphs);
    SetDisplaySize(doc, kSize4x20);
    try {
        PlaceLogo(doc, picture, 1, 1, "fuzz");
    } catch (const FormatError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static ScreenDocument doc;
    CheckJsonRoundTrip(data + 1, size - 1);
    CheckJsonImport(data, size);
    CheckLogo(data, size);
    PrepareDocument(doc, data[0]);
    const ScreenDocument before = doc;

    const LoadOutcome outcome = ReadStartScreen(doc, data + 1, size - 1);

    Require(doc.columns == 16 || doc.columns == 20);
    Require(doc.rows == 2 || doc.rows == 4);
    Require((doc.sizeCode >> 16) == 0);
    Require(doc.paletteOffset == (doc.columns == 16 ? 16 : 50));
    const size_t used = UsedCellCount(doc);
    Require(std::memcmp(doc.cells.data() + used, before.cells.data() + used, kCellCount - used) == 0);
    Require(std::memcmp(doc.glyphs.data() + kUserGlyphBytes, before.glyphs.data() + kUserGlyphBytes,
                        kGlyphTableBytes - kUserGlyphBytes) == 0);
    Require(doc.fileName == before.fileName);

    StartScreenBytes saved{};
    const size_t length = WriteStartScreen(doc, saved);
    Require(length == kTextOffset + used);
    if (outcome == LoadOutcome::Complete) {
        Require(size - 1 >= length);
        ScreenDocument again = doc;
        Require(ReadStartScreen(again, saved.data(), length) == LoadOutcome::Complete);
        Require(std::memcmp(&again.cells, &doc.cells, sizeof doc.cells) == 0);
        Require(again.glyphs == doc.glyphs && again.sizeCode == doc.sizeCode);
    }
    return 0;
}
