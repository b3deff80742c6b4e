#include "channel/printer_channel.h"

#include <algorithm>

#include "channel/raw_io.h"

using namespace printer_commands;

bool StatusReply::IsSupportedModel() const
{
    return std::equal(STATUS_IDENTIFICATION.begin(), STATUS_IDENTIFICATION.end(), bytes.begin() + STATUS_ID_OFFSET);
}

std::optional<StatusReply> RequestPrinterStatus(std::string_view printer)
{
    if (!RawWrite(printer, CMD_STATUS)) {
        return std::nullopt;
    }
    StatusReply reply;
    if (!RawRead(printer, reply.bytes, reply.bytes.size())) {
        return std::nullopt;
    }
    return reply;
}

VersionExchange RequestFirmwareVersion(std::string_view printer)
{
    VersionExchange exchange;
    if (!RawWrite(printer, CMD_MODE) || !RawWrite(printer, CMD_VERSION)) {
        return exchange;
    }
    exchange.sent = true;
    std::array<std::uint8_t, VERSION_REPLY_BUFFER_SIZE> reply{};
    if (RawRead(printer, reply, VERSION_REPLY_READ_SIZE)) {
        const auto first = reply.begin() + VERSION_TEXT_OFFSET;
        const auto last = std::find(first, first + VERSION_TEXT_LENGTH, std::uint8_t{0});
        exchange.version = std::string(first, last);
    }
    return exchange;
}

bool CheckPrinterModel(std::string_view printer)
{
    if (!RawWrite(printer, CMD_MODEL)) {
        return false;
    }
    std::array<std::uint8_t, MODEL_REPLY_SIZE> reply{};
    if (!RawRead(printer, reply, reply.size())) {
        return false;
    }
    return reply[MODEL_BYTE_OFFSET] == MODEL_BYTE_SUPPORTED;
}

bool CheckPrinterSystem(std::string_view printer)
{
    if (!RawWrite(printer, CMD_MODE) || !RawWrite(printer, CMD_SYS_READ)) {
        return false;
    }
    std::array<std::uint8_t, SYSTEM_REPLY_SIZE> reply{};
    if (RawRead(printer, reply, reply.size())) {
        // The answer written back is the opposite of the value reported.
        switch (reply[0]) {
            case SYSTEM_REPLY_A:
                if (!RawWrite(printer, CMD_SYS_WRITE_A)) {
                    return false;
                }
                break;
            case SYSTEM_REPLY_B:
                if (!RawWrite(printer, CMD_SYS_WRITE_B)) {
                    return false;
                }
                break;
            default:
                return false;
        }
    }
    return RawWrite(printer, CMD_SYS_FINAL);
}
