// Exports of the stand-in raw I/O library "tmfilo.dll".

#include "exports/stand_in_exports.h"
#include "host/active_printer.h"

TMFILO_EXPORTS(DECLARE_STAND_IN)

extern "C" {

std::int32_t DRIVER_CALL TMWriteFile(char* printer, std::int32_t reserved, std::uint8_t* data, std::int32_t length,
                                     std::int32_t* count, std::int32_t timeoutMs)
{
    return sim::ActivePrinter().TMWriteFile(printer, reserved, data, length, count, timeoutMs);
}

std::int32_t DRIVER_CALL TMReadFile(char* printer, std::int32_t reserved, std::uint8_t* data, std::int32_t length,
                                    std::int32_t* count, std::int32_t timeoutMs)
{
    return sim::ActivePrinter().TMReadFile(printer, reserved, data, length, count, timeoutMs);
}

}  // extern "C"

TMFILO_EXPORTS(CHECK_STAND_IN)
