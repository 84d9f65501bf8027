#pragma once
#include <cstdint>
#include <string>

// "2x20", "2x16", "4x20" as the module's buyers name them; null for a code that names no size.
const char* GeometryName(uint32_t sizeCode);
// 0 for a name that is not one of the three.
uint16_t SizeCodeForName(const std::string& name);
