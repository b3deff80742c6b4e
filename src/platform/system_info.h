#pragma once
// Platform probes: the version of Windows the process runs on, and the
// current process's pseudo-handle, which the WOW64 probe hands to
// IsWow64Process (looked up at run time, since older systems lack it).

#include <cstdint>
#include <optional>

namespace platform {

// Platform ids of the version record (VER_PLATFORM_WIN32_WINDOWS and
// VER_PLATFORM_WIN32_NT).
inline constexpr std::uint32_t OS_PLATFORM_WIN32_WINDOWS = 1;
inline constexpr std::uint32_t OS_PLATFORM_WIN32_NT = 2;

// What GetVersionExA reports in an OSVERSIONINFOA (148 bytes).
struct OsVersion {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
    std::uint32_t platformId = 0;
};

// Empty when the platform cannot tell.
std::optional<OsVersion> GetOsVersion();

// GetCurrentProcess().
void* CurrentProcess();

}  // namespace platform
