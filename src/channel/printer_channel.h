#pragma once
// The exchanges with the printer over the raw I/O library: the status request
// that identifies it, the firmware version query, and the model and system
// checks. Each names the printer by its display name; nothing is retried.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "channel/printer_commands.h"

struct StatusReply {
    std::array<std::uint8_t, printer_commands::STATUS_REPLY_SIZE> bytes{};

    // Bytes 2 to 4 carry the identification "K0V" of the supported model.
    bool IsSupportedModel() const;
};

// Status exchange: CMD_STATUS, then a 32-byte reply. Empty when the write or
// the read fails (the caller shows nothing then).
std::optional<StatusReply> RequestPrinterStatus(std::string_view printer);

struct VersionExchange {
    bool sent = false;                   // both writes succeeded
    std::optional<std::string> version;  // the version text, when a reply came
};

// Version exchange: CMD_MODE, CMD_VERSION, then up to 16 bytes of reply. The
// version text is bytes 11 to 14 of the reply, up to the first zero byte. A
// failed read is no failure of the exchange: it only leaves no version.
VersionExchange RequestFirmwareVersion(std::string_view printer);

// CMD_MODEL and a 32-byte reply whose byte 5 must be "0".
bool CheckPrinterModel(std::string_view printer);

// CMD_MODE, CMD_SYS_READ and a 1-byte reply; the reply is answered with
// CMD_SYS_WRITE_A (0) or CMD_SYS_WRITE_B (1), and CMD_SYS_FINAL ends the
// exchange. Any other reply byte fails at once; an unanswered read goes
// straight on to CMD_SYS_FINAL.
bool CheckPrinterSystem(std::string_view printer);
