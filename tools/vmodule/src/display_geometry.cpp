#include "tools/vmodule/src/display_geometry.h"

namespace vmodule {

std::optional<DisplayGeometry> ParseGeometry(std::string_view name) {
    if (name == "2x20") return kGeometry2x20;
    if (name == "2x16") return kGeometry2x16;
    if (name == "4x20") return kGeometry4x20;
    return std::nullopt;
}

std::string GeometryName(DisplayGeometry geometry) {
    return std::to_string(geometry.rows) + "x" + std::to_string(geometry.columns);
}

}  // namespace vmodule
