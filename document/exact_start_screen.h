#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "document/screen_document.h"

// A start-screen file as the tools see it: the document a freshly started editor holds after
// loading it, plus what the file holds that the document does not keep, so that it can be
// written back byte for byte.
struct ExactStartScreen {
    ScreenDocument doc;
    uint32_t header = 0;            // all four header bytes; the document keeps the low two
    size_t textBytes = 0;           // text bytes the file supplies, at most the geometry's cells
    std::vector<uint8_t> trailing;  // bytes after the text, which the editor never reads
};

// The document of an editor that has just started: 2x20, blank, the font's user characters.
ScreenDocument FreshEditorDocument(const uint8_t (&glyphTable)[kGlyphTableBytes]);

// The editor starts as 2x20 and keeps its row count for a 2x16 file; a tool has no row count in
// force, so a 2x16 file long enough for four rows is read with four.
ExactStartScreen ReadExactStartScreen(const uint8_t* data, size_t size,
                                      const uint8_t (&glyphTable)[kGlyphTableBytes]);

std::vector<uint8_t> WriteExactStartScreen(const ExactStartScreen& file);

// The same document as the editor would save it: the whole text, nothing after it.
ExactStartScreen WholeStartScreen(const ScreenDocument& doc);
