#include "catalogue/driver_info.h"

#include <cstdio>
#include <cstring>

#include "catalogue/info_library.h"
#include "driver/driver_call.h"
#include "platform/library.h"
#include "platform/registry.h"
#include "platform/system_info.h"

namespace {

using KeyName = std::array<char, REGISTRY_NAME_SIZE>;

extern "C" using IsWow64ProcessProc = std::int32_t(DRIVER_CALL*)(void* process, std::int32_t* wow64);

// Composes a key path with one of the path formats; false when it does not
// fit the buffer.
template <class... Parts>
bool ComposeKeyPath(KeyName& path, const char* format, Parts... parts)
{
    const int length = std::snprintf(path.data(), path.size(), format, parts...);
    return length >= 0 && static_cast<std::size_t>(length) < path.size();
}

// A value read as stored need not end in a terminator. Terminates it inside
// the buffer; false when the data fills the buffer without one.
bool TerminateValue(std::span<char> buffer, std::uint32_t length)
{
    if (length < buffer.size()) {
        buffer[length] = '\0';
        return true;
    }
    return std::memchr(buffer.data(), '\0', buffer.size()) != nullptr;
}

}  // namespace

bool HasForeignPrinterPrefix(std::string_view name)
{
    const auto head = name.substr(0, FOREIGN_PREFIX_LENGTH);
    for (const auto row : kForeignPrinterPrefixes) {
        if (head == row.substr(0, FOREIGN_PREFIX_LENGTH)) {
            return true;
        }
    }
    return false;
}

bool IsRunningUnderWow64()
{
    const auto kernel = platform::Library::Load("kernel32");
    if (!kernel) {
        return false;
    }
    std::int32_t wow64 = 0;
    if (const auto isWow64Process = kernel.Resolve<IsWow64ProcessProc>("IsWow64Process")) {
        isWow64Process(platform::CurrentProcess(), &wow64);
    }
    return wow64 != 0;
}

int LookupDriverInfoLibrary(const std::string& driverKeyName, std::span<char> infoLibrary)
{
    // 1. A 32-bit process on 64-bit Windows reads the 64-bit view.
    const std::uint32_t access = IsRunningUnderWow64()
                                     ? platform::REGISTRY_ACCESS_READ | platform::REGISTRY_ACCESS_WOW64_64KEY
                                     : platform::REGISTRY_ACCESS_READ;

    // 2. Other makers' drivers are not looked up.
    if (HasForeignPrinterPrefix(driverKeyName)) {
        return INFO_LIBRARY_NONE;
    }

    // 3.
    auto software = platform::RegistryKey::Open(platform::RegistryRoot::LocalMachine, REGISTRY_SOFTWARE_KEY, access);
    if (!software) {
        return INFO_LIBRARY_NONE;
    }

    // 4. The registry key counts only when stored with exactly our spelling.
    // After MAX_SOFTWARE_SUBKEYS names without it, the lookup goes on anyway.
    KeyName name{};
    for (std::uint32_t index = 0; index < MAX_SOFTWARE_SUBKEYS; ++index) {
        if (!software.EnumSubKey(index, name) || name[0] == '\0') {
            return INFO_LIBRARY_NONE;
        }
        if (std::strcmp(name.data(), REGISTRY_KEY_NAME) == 0) {
            break;
        }
    }

    // 5.
    KeyName path{};
    if (!ComposeKeyPath(path, DRIVER_LIST_PATH_FORMAT, REGISTRY_KEY_NAME, REGISTRY_TAPEMARK_KEY, REGISTRY_DRIVER_KEY,
                        REGISTRY_VERSION_KEY)) {
        return INFO_LIBRARY_NONE;
    }
    auto driverList = software.OpenSubKey(path.data(), access);
    if (!driverList) {
        return INFO_LIBRARY_NONE;
    }

    // 6. So does the driver's key.
    for (std::uint32_t index = 0;; ++index) {
        if (index == MAX_DRIVER_SUBKEYS || !driverList.EnumSubKey(index, name) || name[0] == '\0') {
            return INFO_LIBRARY_NONE;
        }
        if (driverKeyName == name.data()) {
            break;
        }
    }

    // 7.
    driverList.Close();
    if (!ComposeKeyPath(path, DRIVER_KEY_PATH_FORMAT, REGISTRY_KEY_NAME, REGISTRY_TAPEMARK_KEY, REGISTRY_DRIVER_KEY,
                        REGISTRY_VERSION_KEY, name.data())) {
        return INFO_LIBRARY_NONE;
    }
    auto driverKey = software.OpenSubKey(path.data(), access);
    if (!driverKey) {
        return INFO_LIBRARY_NONE;
    }

    // 8. The value's type is not examined; the path must end inside the buffer.
    std::uint32_t length = 0;
    const int result = driverKey.QueryValue(INFO_DLL_VALUE, infoLibrary, length) && TerminateValue(infoLibrary, length)
                           ? INFO_LIBRARY_FOUND
                           : INFO_LIBRARY_NONE;
    driverKey.Close();
    software.Close();

    // 9.
    if (result == INFO_LIBRARY_FOUND && DriverSupportsSpecialTape(driverKeyName, infoLibrary.data())) {
        return INFO_LIBRARY_SPECIAL_TAPE;
    }
    return result;
}

bool DriverSupportsSpecialTape(const std::string& device, const std::string& infoLibrary)
{
    const auto library = LoadInfoLibrary(infoLibrary);
    if (!library) {
        return false;
    }
    const auto query = library.Resolve<MyDeviceCapabilitiesProc>(MY_DEVICE_CAPABILITIES_EXPORT);
    if (query == nullptr) {
        return false;
    }
    const std::int32_t flags = query(device.c_str(), "", MDC_FLAGS, nullptr, nullptr);
    return flags != MDC_NO_ANSWER && (static_cast<std::uint32_t>(flags) & MDC_FLAG_SPECIAL_TAPE) != 0;
}

int GetPlatformClass()
{
    const auto version = platform::GetOsVersion();
    if (!version) {
        return PLATFORM_OTHER;
    }
    if (version->major == 3) {
        return version->minor == 51 ? PLATFORM_NT351 : PLATFORM_OTHER;
    }
    if (version->major < 4) {
        return PLATFORM_OTHER;
    }
    switch (version->platformId) {
        case platform::OS_PLATFORM_WIN32_WINDOWS:
            return PLATFORM_WIN9X;
        case platform::OS_PLATFORM_WIN32_NT:
            return PLATFORM_NT;
        default:
            return PLATFORM_OTHER;
    }
}
