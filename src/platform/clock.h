#pragma once
// The time of day as the user's machine keeps it, with its offset from UTC,
// and a clock that only goes forward, for durations.

#include <cstdint>

namespace platform {

// A moment of the local calendar, to the second; local = UTC + the offset.
struct LocalTime {
    int year = 0;
    int month = 0;  // 1 to 12
    int day = 0;    // 1 to 31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int utcOffsetMinutes = 0;  // east of Greenwich positive, with daylight saving when in force
};

LocalTime CurrentLocalTime();

// Milliseconds since some fixed moment; never goes back when the time of
// day is changed.
std::uint64_t SteadyMilliseconds();

}  // namespace platform
