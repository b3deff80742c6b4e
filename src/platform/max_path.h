#pragma once
// The platform's MAX_PATH: the size, terminator included, of the fixed
// buffers in which the program holds paths and printer names.

#include <cstddef>

namespace platform {

inline constexpr std::size_t MAX_PATH_CHARS = 260;

}  // namespace platform
