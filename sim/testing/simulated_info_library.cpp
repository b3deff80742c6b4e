#include "testing/simulated_info_library.h"

#include "catalogue/info_library.h"
#include "exports/stand_in_exports.h"
#include "platform/headless/library_table.h"

DECLARE_STAND_IN(MyDeviceCapabilities)

namespace sim::testing {

SimulatedInfoLibrary::SimulatedInfoLibrary(std::string path, bool withExport) : m_path(std::move(path))
{
    platform::headless::ExportTable exports;
    if (withExport) {
        exports[MY_DEVICE_CAPABILITIES_EXPORT] =
            platform::headless::ExportAddress<MyDeviceCapabilitiesProc>(&MyDeviceCapabilities);
    }
    platform::headless::RegisterLibrary(m_path, std::move(exports));
}

SimulatedInfoLibrary::~SimulatedInfoLibrary()
{
    platform::headless::UnregisterLibrary(m_path);
}

}  // namespace sim::testing
