#include "platform/system_info.h"

#include <windows.h>

namespace platform {

static_assert(OS_PLATFORM_WIN32_WINDOWS == VER_PLATFORM_WIN32_WINDOWS);
static_assert(OS_PLATFORM_WIN32_NT == VER_PLATFORM_WIN32_NT);
static_assert(sizeof(OSVERSIONINFOA) == 148);

std::optional<OsVersion> GetOsVersion()
{
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!::GetVersionExA(&info)) {
        return std::nullopt;
    }
    return OsVersion{info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber, info.dwPlatformId};
}

void* CurrentProcess()
{
    return ::GetCurrentProcess();
}

}  // namespace platform
