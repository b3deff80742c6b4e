#pragma once
// Where a driver's information library is registered, whether the driver
// supports the special-tape mode, and two platform probes: WOW64 and the
// family of Windows. Free functions without state; every key and library
// they open is closed or freed before they return.
//
// A driver of this printer family registers its information library under
// HKEY_LOCAL_MACHINE:
//   "SOFTWARE" \ <registry key> \ "Tapemark" \ "Driver" \ "3.0" \ <driver> : "Info Dll"
// A driver without that entry is not one of the maker's.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/max_path.h"

// The application's registry key: the company name that start-up sets as the
// root of the program's own settings (string resource 1010).
inline constexpr const char* REGISTRY_KEY_NAME = "Corvane Industries, Ltd.";

inline constexpr const char* REGISTRY_SOFTWARE_KEY = "SOFTWARE";
inline constexpr const char* REGISTRY_TAPEMARK_KEY = "Tapemark";
inline constexpr const char* REGISTRY_DRIVER_KEY = "Driver";
inline constexpr const char* REGISTRY_VERSION_KEY = "3.0";
inline constexpr const char* INFO_DLL_VALUE = "Info Dll";

// Key paths below "SOFTWARE": the driver list (registry key, "Tapemark",
// "Driver", "3.0") and one driver's key (the same and the driver's name).
inline constexpr const char* DRIVER_LIST_PATH_FORMAT = "%s\\%s\\%s\\%s";
inline constexpr const char* DRIVER_KEY_PATH_FORMAT = "%s\\%s\\%s\\%s\\%s";

// Subkey names are read into, and key paths composed in, buffers of this
// many characters; a path that does not fit fails the lookup.
inline constexpr std::size_t REGISTRY_NAME_SIZE = 144;
inline constexpr std::uint32_t MAX_SOFTWARE_SUBKEYS = 3000;
inline constexpr std::uint32_t MAX_DRIVER_SUBKEYS = 300;

// Printer-name and driver-name prefixes of other makers. Only the first three
// characters of a row count, case-sensitive.
inline constexpr std::size_t FOREIGN_PREFIX_LENGTH = 3;
inline constexpr std::array<std::string_view, 7> kForeignPrinterPrefixes{
    "ORA", "Tav", "Pel", "WUSK", "GV Trails", "KOFR", "ZULT",
};

// Results of LookupDriverInfoLibrary (and of the printer probe built on it).
inline constexpr int INFO_LIBRARY_NONE = 0;
inline constexpr int INFO_LIBRARY_FOUND = 1;
inline constexpr int INFO_LIBRARY_SPECIAL_TAPE = 2;

// Platform classes of GetPlatformClass.
inline constexpr int PLATFORM_OTHER = 1;
inline constexpr int PLATFORM_WIN9X = 2;
inline constexpr int PLATFORM_NT = 3;
inline constexpr int PLATFORM_NT351 = 4;

// True when the first three characters of name equal those of a row of
// kForeignPrinterPrefixes.
bool HasForeignPrinterPrefix(std::string_view name);

// True when the process runs as a 32-bit process on 64-bit Windows.
bool IsRunningUnderWow64();

// Finds the information library registered for a driver key name and writes
// its path, zero-terminated, into infoLibrary (260 characters at every
// call). Returns INFO_LIBRARY_NONE (0), INFO_LIBRARY_FOUND (1) or
// INFO_LIBRARY_SPECIAL_TAPE (2: found, and the driver supports the
// special-tape mode).
int LookupDriverInfoLibrary(const std::string& driverKeyName, std::span<char> infoLibrary);

// Asks the information library at path for MDC_FLAGS with device as the
// device name; true when the answer has MDC_FLAG_SPECIAL_TAPE.
bool DriverSupportsSpecialTape(const std::string& device, const std::string& infoLibrary);

// One of the PLATFORM_ classes.
int GetPlatformClass();
