#include "document/display_size.h"

const DisplaySize* FindDisplaySize(uint32_t code) {
    for (const DisplaySize& size : kDisplaySizes) {
        if (size.code == code) return &size;
    }
    return nullptr;
}
