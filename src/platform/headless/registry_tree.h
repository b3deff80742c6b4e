#pragma once
// The headless stand-in for the registry: an in-memory tree per root that
// tests build and read back. Key and value names are found without regard to
// letter case, as the platform does, and keep the spelling they were created
// with; subkeys enumerate sorted by name without regard to case, as the
// platform enumerates them.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace platform::headless {

// Creates every missing key of the path ('\'-separated) with the spelling
// given; existing keys are reused whatever their spelling.
void AddRegistryKey(RegistryRoot root, std::string_view path);

// Sets a value of the key at path (created if missing) to raw data.
void SetRegistryValue(RegistryRoot root, std::string_view path, const std::string& valueName, std::uint32_t type,
                      std::string data);
// Sets a string value, its terminator included.
void SetRegistryString(RegistryRoot root, std::string_view path, const std::string& valueName, std::string_view text);

// The names of the subkeys of path as stored, in enumeration order; empty
// when the key does not exist.
std::vector<std::string> RegistrySubKeys(RegistryRoot root, std::string_view path);

// Every open request (Open, Create and OpenSubKey), in order: the path asked
// for (relative to the key it was asked of) and the access mask.
struct RegistryOpenRequest {
    std::string path;
    std::uint32_t access = 0;
    bool operator==(const RegistryOpenRequest&) const = default;
};
std::vector<RegistryOpenRequest> RegistryOpenRequests();

// How many keys are open right now.
int OpenRegistryKeyCount();

// Empties both trees and forgets the open requests.
void ResetRegistry();

}  // namespace platform::headless
