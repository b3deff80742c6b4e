// Finding a driver's information library in the registry, the special-tape
// question, and the platform probes.

#include <array>
#include <cstring>

#include "catalogue/info_library.h"
#include "catalogue_fixture.h"
#include "driver/driver_call.h"

namespace {

using catalogue_testing::CatalogueTest;
using catalogue_testing::DriverListPath;
using catalogue_testing::kDriver;
using catalogue_testing::kInfoDll;
using platform::RegistryRoot;

using PathBuffer = std::array<char, platform::MAX_PATH_CHARS>;

class DriverInfoTest : public CatalogueTest {
protected:
    // What the lookup answers and writes into a buffer full of '#'.
    static std::pair<int, std::string> Lookup(const std::string& driver)
    {
        PathBuffer path;
        path.fill('#');
        const int kind = LookupDriverInfoLibrary(driver, path);
        return {kind, std::string(path.data(), strnlen(path.data(), path.size()))};
    }
};

TEST_F(DriverInfoTest, Lookup_ReadsTheRegisteredPathAndAsksTheLibraryWithTheDriverName_FoundEvenWithoutAnswer)
{
    RegisterDriver(kDriver);
    EXPECT_EQ(Lookup(kDriver).first, INFO_LIBRARY_FOUND);  // the library not loadable
    auto& printer = InstallSimulatedDriver("info.special_tape = 0");
    EXPECT_EQ(Lookup(kDriver), std::pair(INFO_LIBRARY_FOUND, kInfoDll));

    printer.SetScenario(sim::Scenario::Parse("info.special_tape = 1"));
    printer.ClearLog();
    EXPECT_EQ(Lookup(kDriver).first, INFO_LIBRARY_SPECIAL_TAPE);
    const auto log = printer.Log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(std::tie(log[0].printer, log[0].length, log[0].note), std::tuple(kDriver, MDC_FLAGS, "port=\"\""));

    InstallSimulatedDriver("info.special_tape = 1", false);
    EXPECT_EQ(Lookup(kDriver).first, INFO_LIBRARY_FOUND);  // no export

    // -1 (all bits set) is no answer, not a capability word with the bit.
    InstallSimulatedDriver("info.flags = -1\ninfo.special_tape = 1");
    EXPECT_EQ(Lookup(kDriver).first, INFO_LIBRARY_FOUND);
    EXPECT_FALSE(DriverSupportsSpecialTape(kDriver, kInfoDll));
}

TEST_F(DriverInfoTest, Lookup_ForeignPrefix_LeavesTheRegistryAlone_NamesThatDifferInCase_AreNotFound)
{
    for (const char* name : {"ORACLE Label", "Tav", "Pelikan Driver", "WUS-9", "GV Trails 4", "KOF", "ZUL 1"}) {
        RegisterDriver(name);
        EXPECT_EQ(Lookup(name).first, INFO_LIBRARY_NONE) << name;
    }
    EXPECT_TRUE(platform::headless::RegistryOpenRequests().empty());

    // Only the first three characters count, letter case included.
    EXPECT_FALSE(HasForeignPrinterPrefix("OR") || HasForeignPrinterPrefix("ora label") ||
                 HasForeignPrinterPrefix("GV-Trails"));

    RegisterDriver("Corvane VR-380mx");
    EXPECT_EQ(Lookup(kDriver).first, INFO_LIBRARY_NONE);  // the platform would open it
}

TEST_F(DriverInfoTest, Lookup_TheValueAndTheKeyPathMustFitTheirBuffers)
{
    InstallSimulatedDriver();
    const std::string longest(platform::MAX_PATH_CHARS - 1, 'p');
    RegisterDriver(kDriver, longest);
    EXPECT_EQ(Lookup(kDriver), std::pair(INFO_LIBRARY_FOUND, longest));

    const auto valuePath = DriverListPath() + "\\" + kDriver;
    // Stored without a terminator: terminated after its data.
    platform::headless::SetRegistryValue(RegistryRoot::LocalMachine, valuePath, INFO_DLL_VALUE,
                                         platform::REGISTRY_TYPE_STRING, "C:\\x.dll");
    EXPECT_EQ(Lookup(kDriver), std::pair(INFO_LIBRARY_FOUND, std::string("C:\\x.dll")));

    // Filling the whole buffer without one, or not fitting: not found.
    platform::headless::SetRegistryValue(RegistryRoot::LocalMachine, valuePath, INFO_DLL_VALUE,
                                         platform::REGISTRY_TYPE_STRING, std::string(platform::MAX_PATH_CHARS, 'p'));
    EXPECT_EQ(Lookup(kDriver).first, INFO_LIBRARY_NONE);
    RegisterDriver(kDriver, std::string(platform::MAX_PATH_CHARS, 'p'));
    EXPECT_EQ(Lookup(kDriver).first, INFO_LIBRARY_NONE);

    // A driver name whose key path does not fit fails cleanly: "Corvane Industries, Ltd.\Tapemark\Driver\3.0\" takes 45
    // of the 143 characters a key path can have.
    const std::string fits(REGISTRY_NAME_SIZE - 1 - 45, 'D');
    const std::string longestKey(REGISTRY_NAME_SIZE - 1, 'K');
    for (const auto& name : {fits, fits + "D", longestKey}) {
        RegisterDriver(name);
    }
    EXPECT_EQ(std::tuple(Lookup(fits).first, Lookup(fits + "D").first, Lookup(longestKey).first),
              std::tuple(INFO_LIBRARY_FOUND, INFO_LIBRARY_NONE, INFO_LIBRARY_NONE));
}

TEST_F(DriverInfoTest, Lookup_WalksAtMost3000SoftwareKeysAnd300Drivers)
{
    // Among the first 3000 names the company's key must have our spelling;
    // past them the walk gives up looking and opens the path by name.
    InstallSimulatedDriver();
    // Enumerated before the company's key, which sorts after them.
    for (std::uint32_t i = 0; i < MAX_SOFTWARE_SUBKEYS - 2; ++i) {
        platform::headless::AddRegistryKey(RegistryRoot::LocalMachine, "SOFTWARE\\Aardvark " + std::to_string(i));
    }
    platform::headless::SetRegistryString(RegistryRoot::LocalMachine,
                                          "SOFTWARE\\CORVANE INDUSTRIES, LTD.\\Tapemark\\Driver\\3.0\\" + kDriver,
                                          INFO_DLL_VALUE, kInfoDll);
    EXPECT_EQ(Lookup(kDriver).first, INFO_LIBRARY_NONE);  // the 2999th name
    platform::headless::AddRegistryKey(RegistryRoot::LocalMachine, "SOFTWARE\\Aardvark last");
    EXPECT_EQ(Lookup(kDriver).first, INFO_LIBRARY_FOUND);  // the 3000th

    platform::headless::ResetRegistry();
    // "Driver 000" to "Driver 300", enumerated in that order.
    for (std::uint32_t i = 0; i <= MAX_DRIVER_SUBKEYS; ++i) {
        RegisterDriver("Driver " + std::string(i < 10 ? "00" : i < 100 ? "0" : "") + std::to_string(i));
    }
    EXPECT_EQ(Lookup("Driver 299").first, INFO_LIBRARY_FOUND);
    EXPECT_EQ(Lookup("Driver 300").first, INFO_LIBRARY_NONE);
}

// A "kernel32" whose IsWow64Process says the process runs under WOW64.
std::int32_t DRIVER_CALL IsWow64ProcessYes(void* process, std::int32_t* wow64)
{
    *wow64 = process == platform::CurrentProcess() ? 1 : 0;
    return 1;
}

TEST_F(DriverInfoTest, Lookup_UnderWow64_ReadsThe64BitView)
{
    InstallSimulatedDriver();
    RegisterDriver(kDriver);
    EXPECT_FALSE(IsRunningUnderWow64());  // no kernel32 at all
    platform::headless::RegisterLibrary("kernel32", {});
    EXPECT_FALSE(IsRunningUnderWow64());  // an old one, without the probe

    platform::headless::RegisterLibrary(
        "KERNEL32",
        {{"IsWow64Process", platform::headless::ExportAddress<decltype(&IsWow64ProcessYes)>(&IsWow64ProcessYes)}});
    EXPECT_TRUE(IsRunningUnderWow64());
    EXPECT_EQ(Lookup(kDriver).first, INFO_LIBRARY_FOUND);
    const auto opens = platform::headless::RegistryOpenRequests();
    ASSERT_EQ(opens.size(), 3u);  // SOFTWARE, the driver list, the driver
    EXPECT_EQ(std::tuple(opens[0].access, opens[1].access, opens[2].access), std::tuple(0x20119u, 0x20119u, 0x20119u));
}

TEST(PlatformClass, FollowsTheVersionTable)
{
    struct Case {
        std::optional<platform::OsVersion> version;
        int expected;
    };
    // Other 1, Windows 9x 2, NT 3, NT 3.51 4; platform ids: 9x 1, NT 2.
    const Case cases[] = {
        {std::nullopt, 1},
        {platform::OsVersion{3, 51, 1057, 2}, 4},
        {platform::OsVersion{3, 10, 528, 2}, 1},
        {platform::OsVersion{4, 0, 1381, 2}, 3},
        {platform::OsVersion{10, 0, 19045, 2}, 3},
        {platform::OsVersion{4, 10, 2222, 1}, 2},
        {platform::OsVersion{4, 0, 0, 0}, 1},
    };
    for (const auto& c : cases) {
        platform::headless::SetOsVersion(c.version);
        EXPECT_EQ(GetPlatformClass(), c.expected) << (c.version ? c.version->major * 100 + c.version->minor : -1);
    }
    platform::headless::ResetSystemInfo();
}

}  // namespace
