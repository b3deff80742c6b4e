// Exports of the stand-in raw I/O library "tmfilo.dll".

#include "driver/driver_exports.h"
#include "host/active_printer.h"

// Declared from the call shapes, so a definition below that differs does not compile.
TMFILO_EXPORTS(DRIVER_EXPORT_DECLARE_FUNCTION)

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

TMFILO_EXPORTS(DRIVER_EXPORT_CHECK_SHAPE)
