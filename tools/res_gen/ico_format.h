#pragma once
// Layout of .ico files: a directory of images, each a bitmap without file
// header whose height counts the colour image and the transparency mask
// beneath it together.

#include <cstddef>
#include <cstdint>

namespace ico_format {

inline constexpr std::size_t DIRECTORY_HEADER_SIZE = 6;  // reserved, type, count
inline constexpr std::size_t DIRECTORY_ENTRY_SIZE = 16;
inline constexpr std::uint16_t RESOURCE_TYPE_ICON = 1;
// An entry's width and height are one byte each; 0 stands for 256.
inline constexpr int MAX_ENTRY_DIMENSION = 256;

inline constexpr std::size_t BITMAP_INFO_HEADER_SIZE = 40;
inline constexpr std::uint16_t BITMAP_PLANES = 1;
inline constexpr std::uint16_t BITS_PER_PIXEL_32 = 32;  // blue, green, red, alpha
inline constexpr std::uint32_t BI_RGB = 0;
inline constexpr std::size_t BYTES_PER_PIXEL = 4;

// The mask has one bit per pixel, leftmost pixel in the top bit, set where
// the background shows through; its rows are padded to 32 bits.
inline constexpr std::size_t MASK_ROW_ALIGNMENT = 4;

}  // namespace ico_format
