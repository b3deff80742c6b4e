// Exports of the stand-in driver information library "vr380info.dll".

#include <type_traits>

#include "catalogue/info_library.h"
#include "host/active_printer.h"

extern "C" {

std::int32_t DRIVER_CALL MyDeviceCapabilities(const char* device, const char* port, std::uint16_t capability,
                                              char* output, const void* devMode)
{
    return sim::ActivePrinter().MyDeviceCapabilities(device, port, capability, output, devMode);
}

}  // extern "C"

// The export has exactly the call shape the program binds it with.
static_assert(std::is_same_v<decltype(&MyDeviceCapabilities), MyDeviceCapabilitiesProc>);
