#include "document/display_size.h"

const DisplaySize* FindDisplaySize(uint32_t code) {
    for (const DisplaySize& size : kDisplaySizes) {
        if (size.code == code) return &size;
    }
    return nullptr;
}

const DisplaySize* FindDisplaySize(std::string_view name) {
    for (const DisplaySize& size : kDisplaySizes) {
        if (name == size.name) return &size;
    }
    return nullptr;
}

const char* GeometryName(uint32_t sizeCode) {
    const DisplaySize* size = FindDisplaySize(sizeCode);
    return size != nullptr ? size->name : nullptr;
}
