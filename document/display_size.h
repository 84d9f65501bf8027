#pragma once
#include <cstdint>
#include <string_view>

// One of the three module geometries. Its code is at once the menu command that chooses it, the
// document's sizeCode and the start-screen file's header.
struct DisplaySize {
    uint16_t code;
    const char* name;  // the menu's text, and what the module's buyers call it
    uint32_t columns;
    uint32_t rows;  // 0: the size keeps the row count in force
    int32_t paletteOffset;
};

inline constexpr uint16_t kSize2x20 = 0x8008;
inline constexpr uint16_t kSize2x16 = 0x8009;
inline constexpr uint16_t kSize4x20 = 0x800A;

inline constexpr DisplaySize kDisplaySizes[] = {
    {kSize2x20, "2x20", 20, 2, 50},
    {kSize2x16, "2x16", 16, 0, 16},
    {kSize4x20, "4x20", 20, 4, 50},
};

// Null for a code or a name that names no geometry.
const DisplaySize* FindDisplaySize(uint32_t code);
const DisplaySize* FindDisplaySize(std::string_view name);

// "2x20", "2x16" or "4x20"; null for a code that names no geometry.
const char* GeometryName(uint32_t sizeCode);
