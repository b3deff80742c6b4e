#include "catalogue/info_library.h"

#include <algorithm>
#include <cstring>

namespace {

bool IsListCount(std::int32_t count)
{
    return count >= 0 && count <= MDC_MAX_LIST_ENTRIES;
}

}  // namespace

platform::Library LoadInfoLibrary(const std::string& path)
{
    return platform::Library::LoadFromOwnFolder(path);
}

std::optional<std::vector<std::uint8_t>> QueryCapabilityList(MyDeviceCapabilitiesProc query, const char* countDevice,
                                                             const char* fillDevice, const char* port,
                                                             std::uint16_t capability, std::size_t entrySize,
                                                             const void* devMode)
{
    const std::int32_t count = query(countDevice, port, capability, nullptr, devMode);
    if (!IsListCount(count)) {
        return std::nullopt;
    }
    // The filling call writes the list the driver keeps under fillDevice,
    // which may be longer than the one counted under countDevice.
    std::int32_t filled = count;
    if (count > 0 && std::strcmp(countDevice, fillDevice) != 0) {
        filled = query(fillDevice, port, capability, nullptr, devMode);
        if (!IsListCount(filled)) {
            return std::nullopt;
        }
    }
    std::vector<std::uint8_t> entries(static_cast<std::size_t>(filled) * entrySize);
    if (!entries.empty()) {
        query(fillDevice, port, capability, reinterpret_cast<char*>(entries.data()), devMode);
    }
    entries.resize(static_cast<std::size_t>(std::min(count, filled)) * entrySize);
    return entries;
}
