#pragma once
#include <cstdint>

#include "document/display_size.h"
#include "resources/frame_ids.h"

// The size commands of the menu are the document's size codes, which the file header carries.
static_assert(ID_SIZE_2X20 == kSize2x20 && ID_SIZE_2X16 == kSize2x16 && ID_SIZE_4X20 == kSize4x20);

// Outer size of the main window for a geometry, in pixels: the preview's cell pitch plus the
// frame, menu, status bar and palette around it.
constexpr int FrameWidthFor(uint32_t columns) { return static_cast<int>(columns) * 17 + 11; }
constexpr int FrameHeightFor(uint32_t rows) { return static_cast<int>(rows) * 26 + 128; }
