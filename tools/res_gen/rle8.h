#pragma once
// RLE8 compression of 8-bit bitmaps, as Windows bitmaps and AVI clips carry
// it. A count byte of 1 to 255 repeats the byte after it; a zero byte starts
// an escape: end of line, end of bitmap, a position delta (never written
// here), or 3 to 255 pixels copied as they are, padded to an even length.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "res_gen/indexed_image.h"

namespace rle8 {

inline constexpr std::uint8_t ESCAPE = 0;
inline constexpr std::uint8_t END_OF_LINE = 0;
inline constexpr std::uint8_t END_OF_BITMAP = 1;
inline constexpr std::size_t MAX_COUNT = 255;
// Escapes 0 to 2 are taken, so pixels copied as they are come 3 or more at once.
inline constexpr std::size_t MIN_ABSOLUTE_COUNT = 3;

}  // namespace rle8

namespace res_gen {

// Encodes the picture bottom row first, as a bottom-up bitmap lies. Every
// pixel is written and every row closed by end of line, then the bitmap by
// end of bitmap, so each result is a complete picture by itself.
std::vector<std::uint8_t> EncodeRle8(const IndexedImage& image);

}  // namespace res_gen
