#include <windows.h>

#include "platform/clock.h"

namespace platform {

namespace {

constexpr LONGLONG kFileTimeUnitsPerMinute = 60LL * 10'000'000;

LONGLONG Units(const FILETIME& time)
{
    return static_cast<LONGLONG>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

}  // namespace

LocalTime CurrentLocalTime()
{
    // The UTC moment cut to the second, and the same moment on the local
    // calendar (the time zone's rule for that date, daylight saving
    // included): their difference is the offset, in whole minutes.
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    SYSTEMTIME utc{};
    ::FileTimeToSystemTime(&now, &utc);
    utc.wMilliseconds = 0;
    SYSTEMTIME local = utc;
    ::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
    FILETIME utcUnits{};
    FILETIME localUnits{};
    ::SystemTimeToFileTime(&utc, &utcUnits);
    ::SystemTimeToFileTime(&local, &localUnits);
    return {local.wYear,
            local.wMonth,
            local.wDay,
            local.wHour,
            local.wMinute,
            local.wSecond,
            static_cast<int>((Units(localUnits) - Units(utcUnits)) / kFileTimeUnitsPerMinute)};
}

std::uint64_t SteadyMilliseconds()
{
    return ::GetTickCount64();
}

}  // namespace platform
