#include "cli/geometry_names.h"

#include "document/display_size.h"

namespace {

struct GeometryNameEntry {
    uint16_t code;
    const char* name;
};

constexpr GeometryNameEntry kGeometryNames[] = {{kSize2x20, "2x20"}, {kSize2x16, "2x16"}, {kSize4x20, "4x20"}};

}  // namespace

const char* GeometryName(uint32_t sizeCode) {
    for (const GeometryNameEntry& entry : kGeometryNames) {
        if (entry.code == sizeCode) return entry.name;
    }
    return nullptr;
}

uint16_t SizeCodeForName(const std::string& name) {
    for (const GeometryNameEntry& entry : kGeometryNames) {
        if (name == entry.name) return entry.code;
    }
    return 0;
}
