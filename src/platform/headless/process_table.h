#pragma once
// The headless stand-in for the running program: tests name the executable's
// file name, the process's ANSI code page, the user's local application-data
// folder and the time, and refuse to start threads.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/clock.h"

namespace platform::headless {

// In UTF-8, as the wide interface gives it. Default:
// "C:\Program Files\Corvane\VR38Update\VR38Update.exe".
void SetExecutableFileName(std::optional<std::string> name);
// The ANSI code page: Shift JIS (932, lead bytes 0x81-0x9F and 0xE0-0xFC)
// when on, else Windows-1252 (see code_page_headless.cpp).
void SetDoubleByteCodePage(bool shiftJis);
// No worker thread starts, as when the process is out of resources.
void RefuseThreads(bool refuse);
// The folder LocalAppDataFolder gives, a host path; by default none, as for
// a user without a profile, so that nothing is written there unasked.
void SetLocalAppDataFolder(std::optional<std::string> folder);
// The local time and the steady clock, which stand still until set again.
inline constexpr LocalTime kDefaultLocalTime{2026, 1, 1, 0, 0, 0, 0};
void SetClock(const LocalTime& local, std::uint64_t steadyMilliseconds = 0);
void ResetProcess();

}  // namespace platform::headless
