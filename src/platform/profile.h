#pragma once
// The application's profile in the registry, as the application framework
// keeps it: once the registry key is set, every value of a section lives
// under HKEY_CURRENT_USER\Software\<registry key>\<application name>\<section>.

#include <optional>
#include <string>

namespace platform {

void SetRegistryKey(const std::string& company);
const std::string& RegistryKeyName();

// "Software\<registry key>\<application name>\<section>".
std::string ProfileSectionPath(const std::string& section);

// A string value of the profile; the default when there is none.
std::string GetProfileString(const std::string& section, const std::string& key, const std::string& defaultValue = {});
bool WriteProfileString(const std::string& section, const std::string& key, const std::string& value);

// A string value as stored, up to its first terminator; empty when the key
// cannot be read or the value is no string that fits the size it announces.
std::optional<std::string> ReadStringValue(const class RegistryKey& key, const std::string& valueName);

}  // namespace platform
