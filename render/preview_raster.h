#pragma once
#include <cstdint>
#include <span>

#include "document/screen_document.h"
#include "render/preview_geometry.h"

// The editor's marks over the document: the text cursor and a character being dragged.
struct PreviewMarks {
    int32_t cursorColumn = 0;
    int32_t cursorRow = 0;
    bool dragging = false;
    uint32_t draggedCode = 0;  // low byte significant
    int32_t mouseColumn = 0;
    int32_t mouseRow = 0;
};

// Caller-owned 32-bit pixels (0x00RRGGBB, rows top-down) standing for the preview area whose
// top-left corner is (left, top) in preview coordinates. Nothing outside it is written.
struct PixelTarget {
    uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;  // pixels from the start of one row to the next
    int left = 0;
    int top = 0;
};

// The whole preview: window grey over (0, 0)-(backgroundWidth, backgroundHeight), the panel,
// the cells with their glyphs, the palette of user characters and, while dragging over a cell,
// the dragged character. Without marks no box is the cursor and nothing is dragged.
void RenderPreview(const ScreenDocument& doc, const PreviewMarks* marks, int backgroundWidth, int backgroundHeight,
                   const PixelTarget& target);

// The text panel alone with no cursor: PanelWidth(doc) x PanelHeight(doc) pixels, row by row.
// Returns false, writing nothing, when the pixels do not hold that many.
bool RenderPanel(const ScreenDocument& doc, std::span<uint32_t> pixels);
