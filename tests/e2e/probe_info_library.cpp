// Exports of vr38probeinfo.dll (see probe_info_library.h).

#include <windows.h>

#include <type_traits>

#include "catalogue/info_library.h"
#include "host/active_printer.h"
#include "probe_info_library.h"

extern "C" {

std::int32_t DRIVER_CALL MyDeviceCapabilities(const char* device, const char* port, std::uint16_t capability,
                                              char* output, const void* devMode)
{
    // Never freed: the test looks for them among the program's modules.
    ::LoadLibraryA(kPlantedLibrary);
    ::LoadLibraryA(kBesideLibrary);
    return sim::ActivePrinter().MyDeviceCapabilities(device, port, capability, output, devMode);
}

}  // extern "C"

static_assert(std::is_same_v<decltype(&MyDeviceCapabilities), MyDeviceCapabilitiesProc>);
