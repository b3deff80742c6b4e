#pragma once
// The simulated printer's firmware data files: the 64-byte header the program
// reads (printer id at 2, data length at 16) plus what the simulated transfer
// library itself looks at: a signature at 0 and the version text at 4.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sim::firmware_image {

inline constexpr std::size_t HEADER_SIZE = 64;
inline constexpr std::array<std::uint8_t, 2> SIGNATURE{0x90, 0x40};
inline constexpr std::size_t PRINTER_ID_OFFSET = 2;
inline constexpr std::size_t VERSION_OFFSET = 4;
inline constexpr std::size_t VERSION_LENGTH = 4;
inline constexpr std::size_t DATA_LENGTH_OFFSET = 16;

// A whole data file: header, then dataLength bytes of a repeating pattern,
// then trailing bytes that are not part of the data.
std::vector<std::uint8_t> MakeFirmwareFile(std::uint16_t printerId, const std::string& version, std::int32_t dataLength,
                                           std::size_t actualDataBytes, std::size_t trailingBytes = 0);

}  // namespace sim::firmware_image
