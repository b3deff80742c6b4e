#include "platform/profile.h"

#include <algorithm>
#include <vector>

#include "platform/registry.h"
#include "platform/ui.h"

namespace platform {
namespace {

std::string& RegistryKeyStorage()
{
    static std::string company;
    return company;
}

// Profile values are names of a few hundred characters at most; a larger
// value is not read into memory.
constexpr std::uint32_t kLargestValue = 64 * 1024;

}  // namespace

void SetRegistryKey(const std::string& company)
{
    RegistryKeyStorage() = company;
}

const std::string& RegistryKeyName()
{
    return RegistryKeyStorage();
}

std::string ProfileSectionPath(const std::string& section)
{
    return "Software\\" + RegistryKeyName() + "\\" + ApplicationName() + "\\" + section;
}

std::optional<std::string> ReadStringValue(const RegistryKey& key, const std::string& valueName)
{
    const auto size = key.QueryValueSize(valueName);
    if (!size || *size == 0 || *size > kLargestValue) {
        return std::nullopt;
    }
    std::vector<char> data(*size);
    std::uint32_t length = 0;
    std::uint32_t type = 0;
    if (!key.QueryValue(valueName, data, length, &type) || type != REGISTRY_TYPE_STRING) {
        return std::nullopt;
    }
    // Up to the terminator, or the whole data when it has none.
    const auto end = std::find(data.begin(), data.begin() + std::min<std::size_t>(length, data.size()), '\0');
    return std::string(data.begin(), end);
}

std::string GetProfileString(const std::string& section, const std::string& key, const std::string& defaultValue)
{
    const auto profile =
        RegistryKey::Open(RegistryRoot::CurrentUser, ProfileSectionPath(section), REGISTRY_ACCESS_READ);
    if (!profile) {
        return defaultValue;
    }
    return ReadStringValue(profile, key).value_or(defaultValue);
}

bool WriteProfileString(const std::string& section, const std::string& key, const std::string& value)
{
    const auto profile =
        RegistryKey::Create(RegistryRoot::CurrentUser, ProfileSectionPath(section), REGISTRY_ACCESS_WRITE);
    return profile && profile.SetStringValue(key, value);
}

}  // namespace platform
