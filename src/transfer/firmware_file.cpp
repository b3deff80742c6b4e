#include "transfer/firmware_file.h"

#include <algorithm>

FirmwareHeader::FirmwareHeader()
{
    std::ranges::copy(firmware_format::HEADER_DEFAULT_START, bytes.begin());
}

std::uint16_t FirmwareHeader::PrinterId() const
{
    const auto at = firmware_format::PRINTER_ID_OFFSET;
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

std::int32_t FirmwareHeader::DataLength() const
{
    std::uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;) {
        value = (value << 8) | bytes[firmware_format::DATA_LENGTH_OFFSET + i];
    }
    return static_cast<std::int32_t>(value);
}

CFirmwareFile::CFirmwareFile(const std::string& path, unsigned openFlags) : platform::File(path, openFlags)
{
    if ((openFlags & modeCreate) == 0) {
        Seek(0);
        Read(m_header.bytes.data(), m_header.bytes.size());
    }
    Seek(0);
}

CFirmwareFile::~CFirmwareFile()
{
    Close();
}
