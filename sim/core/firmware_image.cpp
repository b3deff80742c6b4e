#include "core/firmware_image.h"

#include <algorithm>

namespace sim::firmware_image {

std::vector<std::uint8_t> MakeFirmwareFile(std::uint16_t printerId, const std::string& version, std::int32_t dataLength,
                                           std::size_t actualDataBytes, std::size_t trailingBytes)
{
    std::vector<std::uint8_t> file(HEADER_SIZE, 0);
    std::ranges::copy(SIGNATURE, file.begin());
    file[PRINTER_ID_OFFSET] = static_cast<std::uint8_t>(printerId & 0xFF);
    file[PRINTER_ID_OFFSET + 1] = static_cast<std::uint8_t>(printerId >> 8);
    std::copy_n(version.begin(), std::min(version.size(), VERSION_LENGTH), file.begin() + VERSION_OFFSET);
    const auto length = static_cast<std::uint32_t>(dataLength);
    for (std::size_t i = 0; i < 4; ++i) {
        file[DATA_LENGTH_OFFSET + i] = static_cast<std::uint8_t>(length >> (8 * i));
    }
    for (std::size_t i = 0; i < actualDataBytes; ++i) {
        file.push_back(static_cast<std::uint8_t>((i * 7 + 3) & 0xFF));
    }
    file.insert(file.end(), trailingBytes, 0xEE);
    return file;
}

}  // namespace sim::firmware_image
