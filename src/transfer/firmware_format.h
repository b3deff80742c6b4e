#pragma once
// The firmware data file: a 64-byte header, passed whole to the transfer
// library, followed by the data. The program itself reads two header fields;
// multi-byte values are little-endian.

#include <array>
#include <cstddef>
#include <cstdint>

inline constexpr std::size_t FIRMWARE_HEADER_SIZE = 64;

namespace firmware_format {

inline constexpr std::size_t PRINTER_ID_OFFSET = 2;    // unsigned 16-bit
inline constexpr std::size_t DATA_LENGTH_OFFSET = 16;  // signed 32-bit count of data bytes
inline constexpr std::size_t DATA_OFFSET = FIRMWARE_HEADER_SIZE;

// A header made for a new file: zero bytes but for these first two.
inline constexpr std::array<std::uint8_t, 2> HEADER_DEFAULT_START{0x90, 0x40};

}  // namespace firmware_format
