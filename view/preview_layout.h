#pragma once
#include <windows.h>

#include <cstdint>

#include "render/preview_geometry.h"

// The preview's colours as GDI wants them, for the few things still painted with brushes.
constexpr COLORREF ColorRefOf(uint32_t pixel) {
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}
