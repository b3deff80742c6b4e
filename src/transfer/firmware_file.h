#pragma once
// A firmware data file opened with its 64-byte header read.

#include <array>
#include <cstdint>
#include <string>

#include "platform/file.h"
#include "transfer/firmware_format.h"

struct FirmwareHeader {
    std::array<std::uint8_t, FIRMWARE_HEADER_SIZE> bytes{};

    FirmwareHeader();
    std::uint16_t PrinterId() const;
    std::int32_t DataLength() const;
};

class CFirmwareFile : public platform::File {
public:
    // Opens the file (throws platform::FileException when it cannot) and,
    // unless it is being created, reads the header; a file shorter than the
    // header leaves the rest of it at the defaults. Leaves the file at offset 0.
    CFirmwareFile(const std::string& path, unsigned openFlags);
    ~CFirmwareFile() override;

    FirmwareHeader m_header;
};
