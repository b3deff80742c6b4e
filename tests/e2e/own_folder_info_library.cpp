// An information library that needs a library of its driver beside it, and
// that library: two DLLs built from this file into a folder of their own
// (bin/own-folder), where only a search of the information library's own
// folder finds the second.

#include <type_traits>

#include "catalogue/info_library.h"

#if defined(VR38_OWN_FOLDER_HELPER)

extern "C" __declspec(dllexport) std::int32_t OwnFolderFlags()
{
    return MDC_FLAG_SPECIAL_TAPE;
}

#else

extern "C" __declspec(dllimport) std::int32_t OwnFolderFlags();

extern "C" __declspec(dllexport) std::int32_t DRIVER_CALL
    MyDeviceCapabilities(const char*, const char*, std::uint16_t capability, char*, const void*)
{
    return capability == MDC_FLAGS ? OwnFolderFlags() : MDC_NO_ANSWER;
}

static_assert(std::is_same_v<decltype(&MyDeviceCapabilities), MyDeviceCapabilitiesProc>);

#endif
