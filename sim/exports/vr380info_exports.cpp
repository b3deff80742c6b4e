// Exports of the stand-in driver information library "vr380info.dll".

#include "catalogue/info_library.h"
#include "exports/stand_in_exports.h"
#include "host/active_printer.h"

DECLARE_STAND_IN(MyDeviceCapabilities)

extern "C" {

std::int32_t DRIVER_CALL MyDeviceCapabilities(const char* device, const char* port, std::uint16_t capability,
                                              char* output, const void* devMode)
{
    return sim::ActivePrinter().MyDeviceCapabilities(device, port, capability, output, devMode);
}

}  // extern "C"

CHECK_STAND_IN(MyDeviceCapabilities)
