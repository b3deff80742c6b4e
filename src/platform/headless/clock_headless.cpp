// The headless clock: it stands where a test sets it, and moves only when a
// test moves it.

#include <mutex>

#include "platform/clock.h"
#include "platform/headless/process_table.h"

namespace platform::headless {
namespace {

struct Clock {
    std::mutex mutex;
    LocalTime local{kDefaultLocalTime};
    std::uint64_t steady = 0;
};

Clock& State()
{
    static Clock clock;
    return clock;
}

}  // namespace

void SetClock(const LocalTime& local, std::uint64_t steadyMilliseconds)
{
    std::lock_guard lock(State().mutex);
    State().local = local;
    State().steady = steadyMilliseconds;
}

}  // namespace platform::headless

namespace platform {

LocalTime CurrentLocalTime()
{
    std::lock_guard lock(headless::State().mutex);
    return headless::State().local;
}

std::uint64_t SteadyMilliseconds()
{
    std::lock_guard lock(headless::State().mutex);
    return headless::State().steady;
}

}  // namespace platform
