// What the printer catalogue relies on in the registry, run against both
// backends: natively against the headless tree, and under Wine against the
// real registry of a private prefix. So the headless tree that the native
// suites build their machines in behaves as the platform does.

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "platform/registry.h"

namespace {

using platform::RegistryKey;
using platform::RegistryRoot;

constexpr const char* kBase = "Software\\VR38 Registry Contract";
constexpr std::uint32_t kReadWrite = platform::REGISTRY_ACCESS_READ | platform::REGISTRY_ACCESS_WRITE;

TEST(RegistryContract, KeysOpenWithoutRegardToCaseAndEnumerateSorted)
{
    const std::string parent = std::string(kBase) + "\\Case";
    for (const char* created : {"Zulu", "Mixed Case Key", "MIXED case KEY\\Child", "alpha"}) {
        ASSERT_TRUE(RegistryKey::Create(RegistryRoot::CurrentUser, parent + "\\" + created, kReadWrite));
    }

    const auto key = RegistryKey::Open(RegistryRoot::CurrentUser, "SOFTWARE\\vr38 registry contract\\CASE",
                                       platform::REGISTRY_ACCESS_READ);
    std::array<char, 144> name{};
    // Sorted without regard to case, not in the order of creation; the
    // second create of the mixed-case key reused it, under its first spelling.
    std::uint32_t index = 0;
    for (const char* expected : {"alpha", "Mixed Case Key", "Zulu"}) {
        ASSERT_TRUE(key.EnumSubKey(index++, name));
        EXPECT_STREQ(name.data(), expected);
    }
    EXPECT_FALSE(key.EnumSubKey(index, name));
    EXPECT_TRUE(key.OpenSubKey("mixed case key\\CHILD", platform::REGISTRY_ACCESS_READ));
    EXPECT_FALSE(key.OpenSubKey("Missing", platform::REGISTRY_ACCESS_READ));
}

TEST(RegistryContract, SubkeyNamesMustFitWithTheirTerminator)
{
    const std::string parent = std::string(kBase) + "\\Lengths";
    const std::string fits(143, 'f');
    ASSERT_TRUE(RegistryKey::Create(RegistryRoot::CurrentUser, parent + "\\" + fits, kReadWrite));
    ASSERT_TRUE(RegistryKey::Create(RegistryRoot::CurrentUser, parent + "\\" + std::string(144, 'g'), kReadWrite));

    const auto key = RegistryKey::Open(RegistryRoot::CurrentUser, parent, platform::REGISTRY_ACCESS_READ);
    // Enumerated sorted: the name that fits first, then the one that does not.
    std::array<char, 144> name{};
    ASSERT_TRUE(key.EnumSubKey(0, name));
    EXPECT_EQ(name.data(), fits);
    EXPECT_FALSE(key.EnumSubKey(1, name));
    std::array<char, 145> wider{};
    ASSERT_TRUE(key.EnumSubKey(1, wider));
    EXPECT_EQ(wider.data(), std::string(144, 'g'));
}

TEST(RegistryContract, StringValuesReadIntoTheCallersBuffer)
{
    const auto key = RegistryKey::Create(RegistryRoot::CurrentUser, std::string(kBase) + "\\Values", kReadWrite);
    ASSERT_TRUE(key.SetStringValue("Info Dll", "C:\\info.dll"));

    std::array<char, 12> data{};  // just fits
    std::uint32_t length = 0;
    std::uint32_t type = 0;
    ASSERT_TRUE(key.QueryValue("INFO DLL", data, length, &type));
    EXPECT_STREQ(data.data(), "C:\\info.dll");
    EXPECT_EQ(length, 12u);  // with its terminator
    EXPECT_EQ(type, 1u);     // REG_SZ

    std::array<char, 11> small{};
    EXPECT_FALSE(key.QueryValue("Info Dll", small, length));
    EXPECT_EQ(length, 12u);  // the size needed
    EXPECT_FALSE(key.QueryValue("Missing", data, length));
}

}  // namespace
