#pragma once
// The headless stand-in for the platform probes: the version that
// GetOsVersion reports, set by tests. The WOW64 probe needs no control here:
// it asks "kernel32" for IsWow64Process, so tests register a "kernel32" in
// the headless library table (library_table.h).

#include <optional>

#include "platform/system_info.h"

namespace platform::headless {

// Empty: the version query fails.
void SetOsVersion(std::optional<OsVersion> version);

// Back to the default: Windows 10 on the NT platform.
void ResetSystemInfo();

}  // namespace platform::headless
