#pragma once
// The application icon: a label printer with a strip of label tape coming
// out of its top.

#include <array>
#include <cstdint>
#include <vector>

namespace res_gen {

// Each a multiple of 16, the grid the icon is drawn on.
inline constexpr std::array<int, 3> APP_ICON_SIZES{16, 32, 48};

// The .ico file holding the icon at every size in APP_ICON_SIZES, as 32-bit
// images with alpha and a matching transparency mask for old renderers.
std::vector<std::uint8_t> BuildAppIcon();

}  // namespace res_gen
