#include "testing/simulated_info_library.h"

#include "catalogue/info_library.h"
#include "exports/stand_in_exports.h"
#include "platform/headless/library_table.h"

DECLARE_STAND_IN(MyDeviceCapabilities)

namespace sim::testing {

namespace {

constexpr const char* kHelperLibrary = "vr380help.dll";

}  // namespace

SimulatedInfoLibrary::SimulatedInfoLibrary(std::string path, bool withExport)
    : m_path(std::move(path)), m_helperPath(m_path.substr(0, m_path.find_last_of("\\/") + 1) + kHelperLibrary)
{
    platform::headless::RegisterLibrary(m_helperPath, {});
    platform::headless::ExportTable exports;
    if (withExport) {
        exports[MY_DEVICE_CAPABILITIES_EXPORT] =
            platform::headless::ExportAddress<MyDeviceCapabilitiesProc>(&MyDeviceCapabilities);
    }
    platform::headless::RegisterLibrary(m_path, std::move(exports), {kHelperLibrary});
}

SimulatedInfoLibrary::~SimulatedInfoLibrary()
{
    platform::headless::UnregisterLibrary(m_path);
    platform::headless::UnregisterLibrary(m_helperPath);
}

}  // namespace sim::testing
