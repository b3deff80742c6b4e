#include <cstdint>
#include <mutex>

#include "platform/headless/system_table.h"
#include "platform/system_info.h"

namespace platform::headless {
namespace {

constexpr OsVersion kDefaultVersion{10, 0, 19045, OS_PLATFORM_WIN32_NT};

struct SystemState {
    std::mutex mutex;
    std::optional<OsVersion> version = kDefaultVersion;
};

SystemState& State()
{
    static SystemState state;
    return state;
}

}  // namespace

void SetOsVersion(std::optional<OsVersion> version)
{
    std::lock_guard lock(State().mutex);
    State().version = version;
}

void ResetSystemInfo()
{
    SetOsVersion(kDefaultVersion);
}

}  // namespace platform::headless

namespace platform {

std::optional<OsVersion> GetOsVersion()
{
    std::lock_guard lock(headless::State().mutex);
    return headless::State().version;
}

// The same pseudo-handle value as the platform's.
void* CurrentProcess()
{
    return reinterpret_cast<void*>(static_cast<std::intptr_t>(-1));
}

}  // namespace platform
