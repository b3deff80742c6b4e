// Exports of the stand-in transfer library "TrDrv.dll".

#include "exports/stand_in_exports.h"
#include "host/active_printer.h"

TRDRV_EXPORTS(DECLARE_STAND_IN)

extern "C" {

std::int32_t DRIVER_CALL TRInitPrinter(const char* printer, std::uint8_t* initInfo10)
{
    return sim::ActivePrinter().TRInitPrinter(printer, initInfo10);
}

std::int32_t DRIVER_CALL TRCheckSupportPrinter(const char* printer)
{
    return sim::ActivePrinter().TRCheckSupportPrinter(printer);
}

std::int32_t DRIVER_CALL TRCmdInit(std::int32_t limit)
{
    return sim::ActivePrinter().TRCmdInit(limit);
}

std::int32_t DRIVER_CALL TRGetStatus(std::uint8_t* status32, std::int32_t limit)
{
    return sim::ActivePrinter().TRGetStatus(status32, limit);
}

std::int32_t DRIVER_CALL TRGetFileList(char* list, std::int32_t capacity, std::int32_t* count)
{
    return sim::ActivePrinter().TRGetFileList(list, capacity, count);
}

std::int32_t DRIVER_CALL TRSendFile(const std::uint8_t* header64, const std::uint8_t* data, std::int32_t* length,
                                    std::uint8_t* status32, std::int32_t limit, TransferProgressProc progress)
{
    return sim::ActivePrinter().TRSendFile(header64, data, length, status32, limit, progress);
}

std::int32_t DRIVER_CALL TRReceiveFile(const char* name, std::uint8_t* buffer, std::int32_t* length)
{
    return sim::ActivePrinter().TRReceiveFile(name, buffer, length);
}

std::int32_t DRIVER_CALL TRDeleteFile(const char* name)
{
    return sim::ActivePrinter().TRDeleteFile(name);
}

}  // extern "C"

TRDRV_EXPORTS(CHECK_STAND_IN)
