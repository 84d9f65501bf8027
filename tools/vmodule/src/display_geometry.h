#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vmodule {

inline constexpr int kMaxRows = 4;
inline constexpr int kMaxColumns = 20;

struct DisplayGeometry {
    int rows;
    int columns;

    friend bool operator==(const DisplayGeometry&, const DisplayGeometry&) = default;
};

inline constexpr DisplayGeometry kGeometry2x20{2, 20};
inline constexpr DisplayGeometry kGeometry2x16{2, 16};
inline constexpr DisplayGeometry kGeometry4x20{4, 20};

// Accepts only the three geometries the editor knows: "2x20", "2x16", "4x20".
std::optional<DisplayGeometry> ParseGeometry(std::string_view name);
std::string GeometryName(DisplayGeometry geometry);

}  // namespace vmodule
