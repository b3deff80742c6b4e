#pragma once
// The firmware data file: a 64-byte header, passed whole to the transfer
// library, followed by the data. The program itself reads two header fields;
// multi-byte values are little-endian.

#include <array>
#include <cstddef>
#include <cstdint>

// The data file the program sends: looked for beside the program at start-up
// and opened later by this bare name, relative to the current directory.
inline constexpr char FIRMWARE_DATA_FILE[] = "VR380MX_510.pd3";

inline constexpr std::size_t FIRMWARE_HEADER_SIZE = 64;

namespace firmware_format {

inline constexpr std::size_t PRINTER_ID_OFFSET = 2;    // unsigned 16-bit
inline constexpr std::size_t DATA_LENGTH_OFFSET = 16;  // signed 32-bit count of data bytes
inline constexpr std::size_t DATA_OFFSET = FIRMWARE_HEADER_SIZE;

// A header made for a new file: zero bytes but for these first two.
inline constexpr std::array<std::uint8_t, 2> HEADER_DEFAULT_START{0x90, 0x40};

}  // namespace firmware_format
