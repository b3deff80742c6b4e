#include "catalogue/info_library.h"

std::optional<std::vector<std::uint8_t>> QueryCapabilityList(MyDeviceCapabilitiesProc query, const char* countDevice,
                                                             const char* fillDevice, const char* port,
                                                             std::uint16_t capability, std::size_t entrySize,
                                                             const void* devMode)
{
    const std::int32_t count = query(countDevice, port, capability, nullptr, devMode);
    if (count < 0 || count > MDC_MAX_LIST_ENTRIES) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> entries(static_cast<std::size_t>(count) * entrySize);
    if (!entries.empty()) {
        query(fillDevice, port, capability, reinterpret_cast<char*>(entries.data()), devMode);
    }
    return entries;
}
