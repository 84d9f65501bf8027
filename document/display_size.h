#pragma once
#include <cstdint>

// One of the three module geometries. Its code is at once the menu command that chooses it, the
// document's sizeCode and the start-screen file's header.
struct DisplaySize {
    uint16_t code;
    uint32_t columns;
    uint32_t rows;  // 0: the size keeps the row count in force
    int32_t paletteOffset;
};

inline constexpr uint16_t kSize2x20 = 0x8008;
inline constexpr uint16_t kSize2x16 = 0x8009;
inline constexpr uint16_t kSize4x20 = 0x800A;

inline constexpr DisplaySize kDisplaySizes[] = {
    {kSize2x20, 20, 2, 50},
    {kSize2x16, 16, 0, 16},
    {kSize4x20, 20, 4, 50},
};

// Null for a code that names no geometry.
const DisplaySize* FindDisplaySize(uint32_t code);
