#include <mutex>

#include "platform/headless/power_log.h"
#include "platform/power.h"

namespace platform::headless {
namespace {

struct PowerLog {
    std::mutex mutex;
    std::vector<PowerCall> calls;
};

PowerLog& Log()
{
    static PowerLog log;
    return log;
}

void Record(PowerCall call)
{
    std::lock_guard lock(Log().mutex);
    Log().calls.push_back(std::move(call));
}

}  // namespace

std::vector<PowerCall> PowerCalls()
{
    std::lock_guard lock(Log().mutex);
    return Log().calls;
}

void ResetPowerCalls()
{
    std::lock_guard lock(Log().mutex);
    Log().calls.clear();
}

}  // namespace platform::headless

namespace platform {

void SetExecutionState(std::uint32_t flags)
{
    headless::Record({"SetThreadExecutionState", flags, {}, nullptr});
}

bool CreateShutdownBlockReason(DialogHandle window, const std::string& reason)
{
    headless::Record({"ShutdownBlockReasonCreate", 0, reason, window});
    return true;
}

void DestroyShutdownBlockReason(DialogHandle window)
{
    headless::Record({"ShutdownBlockReasonDestroy", 0, {}, window});
}

}  // namespace platform
