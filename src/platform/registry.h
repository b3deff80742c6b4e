#pragma once
// The registry: keys opened or created under HKEY_CURRENT_USER or
// HKEY_LOCAL_MACHINE with an access mask, subkeys enumerated by index, values
// read into the caller's buffer and string values written. One owner per open
// key; closing happens on destruction.
//
// Key names open without regard to letter case and enumerate as stored.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/unique_handle.h"

namespace platform {

enum class RegistryRoot { CurrentUser, LocalMachine };

// Access rights (the platform's KEY_READ, KEY_WRITE and KEY_WOW64_64KEY).
inline constexpr std::uint32_t REGISTRY_ACCESS_READ = 0x00020019;
inline constexpr std::uint32_t REGISTRY_ACCESS_WRITE = 0x00020006;
// Asks for the 64-bit view of the registry from a 32-bit process on 64-bit
// Windows; without it such a process sees the redirected 32-bit view.
inline constexpr std::uint32_t REGISTRY_ACCESS_WOW64_64KEY = 0x00000100;

// Value types (REG_SZ, REG_DWORD).
inline constexpr std::uint32_t REGISTRY_TYPE_STRING = 1;
inline constexpr std::uint32_t REGISTRY_TYPE_DWORD = 4;

class RegistryKey {
public:
    RegistryKey() = default;

    // Opens an existing key; path is relative to the root, its components
    // separated by '\'. Empty when the key does not exist or access is denied.
    static RegistryKey Open(RegistryRoot root, const std::string& path, std::uint32_t access);
    // Opens the key, creating every missing component.
    static RegistryKey Create(RegistryRoot root, const std::string& path, std::uint32_t access);

    // Opens an existing key below this one.
    RegistryKey OpenSubKey(const std::string& path, std::uint32_t access) const;

    bool IsOpen() const { return static_cast<bool>(m_handle); }
    explicit operator bool() const { return IsOpen(); }
    void Close() { m_handle.Reset(); }

    // The name of the subkey at index, as stored, zero-terminated in name.
    // False past the last subkey, and when the name and its terminator do
    // not fit in name.size() characters.
    bool EnumSubKey(std::uint32_t index, std::span<char> name) const;

    // Reads a value's data into the buffer. length receives the data's size
    // in bytes; the read fails when the data does not fit. The data is
    // returned as stored: a string value need not end in a terminator.
    bool QueryValue(const std::string& valueName, std::span<char> data, std::uint32_t& length,
                    std::uint32_t* type = nullptr) const;

    // The size in bytes of a value's data; empty when there is no such value.
    std::optional<std::uint32_t> QueryValueSize(const std::string& valueName) const;

    // Writes a string value (its terminator included).
    bool SetStringValue(const std::string& valueName, const std::string& text) const;

private:
    explicit RegistryKey(void* handle) : m_handle(handle) {}
    static void ReleaseHandle(void* handle);
    UniqueHandle<void*, &RegistryKey::ReleaseHandle> m_handle;
};

}  // namespace platform
