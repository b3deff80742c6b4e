#include "platform/registry.h"

#include <windows.h>

#include <utility>

namespace platform {
namespace {

static_assert(REGISTRY_ACCESS_READ == KEY_READ);
static_assert(REGISTRY_ACCESS_WRITE == KEY_WRITE);
static_assert(REGISTRY_ACCESS_WOW64_64KEY == KEY_WOW64_64KEY);
static_assert(REGISTRY_TYPE_STRING == REG_SZ);
static_assert(REGISTRY_TYPE_DWORD == REG_DWORD);

HKEY RootKey(RegistryRoot root)
{
    return root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

HKEY OpenBelow(HKEY parent, const std::string& path, std::uint32_t access)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(parent, path.c_str(), 0, access, &key) != ERROR_SUCCESS) {
        return nullptr;
    }
    return key;
}

}  // namespace

RegistryKey RegistryKey::Open(RegistryRoot root, const std::string& path, std::uint32_t access)
{
    return RegistryKey(OpenBelow(RootKey(root), path, access));
}

RegistryKey RegistryKey::Create(RegistryRoot root, const std::string& path, std::uint32_t access)
{
    HKEY key = nullptr;
    if (::RegCreateKeyExA(RootKey(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key,
                          nullptr) != ERROR_SUCCESS) {
        return RegistryKey();
    }
    return RegistryKey(key);
}

RegistryKey RegistryKey::OpenSubKey(const std::string& path, std::uint32_t access) const
{
    if (!m_handle) {
        return RegistryKey();
    }
    return RegistryKey(OpenBelow(static_cast<HKEY>(m_handle.Get()), path, access));
}

void RegistryKey::ReleaseHandle(void* handle)
{
    ::RegCloseKey(static_cast<HKEY>(handle));
}

bool RegistryKey::EnumSubKey(std::uint32_t index, std::span<char> name) const
{
    if (!m_handle || name.empty()) {
        return false;
    }
    DWORD size = static_cast<DWORD>(name.size());
    return ::RegEnumKeyExA(static_cast<HKEY>(m_handle.Get()), index, name.data(), &size, nullptr, nullptr, nullptr,
                           nullptr) == ERROR_SUCCESS;
}

bool RegistryKey::QueryValue(const std::string& valueName, std::span<char> data, std::uint32_t& length,
                             std::uint32_t* type) const
{
    // Without a buffer the platform would answer the size alone, and succeed.
    if (!m_handle || data.empty()) {
        return false;
    }
    DWORD size = static_cast<DWORD>(data.size());
    DWORD valueType = REG_NONE;
    const auto status = ::RegQueryValueExA(static_cast<HKEY>(m_handle.Get()), valueName.c_str(), nullptr, &valueType,
                                           reinterpret_cast<BYTE*>(data.data()), &size);
    length = size;
    if (type != nullptr) {
        *type = valueType;
    }
    return status == ERROR_SUCCESS;
}

std::optional<std::uint32_t> RegistryKey::QueryValueSize(const std::string& valueName) const
{
    DWORD size = 0;
    if (!m_handle || ::RegQueryValueExA(static_cast<HKEY>(m_handle.Get()), valueName.c_str(), nullptr, nullptr, nullptr,
                                        &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return size;
}

bool RegistryKey::SetStringValue(const std::string& valueName, const std::string& text) const
{
    if (!m_handle) {
        return false;
    }
    return ::RegSetValueExA(static_cast<HKEY>(m_handle.Get()), valueName.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

}  // namespace platform
