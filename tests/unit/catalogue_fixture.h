#pragma once
// A machine for the printer catalogue's tests, built in the headless
// platform: a registry with the maker's driver list, a spooler with
// printers, and the simulated driver's information library at a path. Every
// test starts from an empty machine and leaves one behind.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/driver_info.h"
#include "catalogue/printer_enum.h"
#include "platform/headless/library_table.h"
#include "platform/headless/registry_tree.h"
#include "platform/headless/spooler_table.h"
#include "platform/headless/system_table.h"
#include "testing/simulated_driver.h"
#include "testing/simulated_info_library.h"

namespace catalogue_testing {

inline const std::string kInfoDll = "C:\\Program Files\\Corvane\\VR380\\vr380info.dll";
inline const std::string kDriver{kSupportedDriverName};

// "Corvane Industries, Ltd.\Tapemark\Driver\3.0" below "SOFTWARE".
inline std::string DriverListPath()
{
    return std::string(REGISTRY_SOFTWARE_KEY) + "\\" + REGISTRY_KEY_NAME + "\\Tapemark\\Driver\\3.0";
}

class CatalogueTest : public ::testing::Test {
protected:
    void SetUp() override { ResetMachine(); }

    void TearDown() override
    {
        m_infoLibrary.reset();
        m_driver.reset();
        EXPECT_EQ(platform::headless::OpenRegistryKeyCount(), 0) << "a registry key was left open";
        EXPECT_EQ(platform::headless::OpenPrinterCount(), 0) << "a printer was left open";
        EXPECT_EQ(platform::headless::LoadedLibraryCount(), 0) << "a library was left loaded";
        ResetMachine();
    }

    static void ResetMachine()
    {
        platform::headless::ResetRegistry();
        platform::headless::ResetSpooler();
        platform::headless::ResetLibraries();
        platform::headless::ResetSystemInfo();
    }

    // Registers an information library for a driver key, as the maker's
    // driver set-up does.
    static void RegisterDriver(const std::string& driverKey, const std::string& infoDll = kInfoDll)
    {
        platform::headless::SetRegistryString(platform::RegistryRoot::LocalMachine, DriverListPath() + "\\" + driverKey,
                                              INFO_DLL_VALUE, infoDll);
    }

    // The simulated driver with its information library at kInfoDll.
    sim::Printer& InstallSimulatedDriver(std::string_view scenarioText = {}, bool withExport = true)
    {
        std::vector<std::string> errors;
        m_infoLibrary.reset();
        m_driver.emplace(sim::Scenario::Parse(scenarioText, &errors));
        EXPECT_TRUE(errors.empty()) << scenarioText;
        m_infoLibrary.emplace(kInfoDll, withExport);
        return m_driver->printer();
    }

    static void InstallPrinter(const std::string& name, const std::string& driver = kDriver,
                               std::uint32_t attributes = 0, const std::string& port = "USB001")
    {
        platform::headless::InstallPrinter(platform::headless::MakeSpoolerPrinter(name, driver, attributes, port));
    }

    static std::vector<std::string> Names(const std::vector<PrinterEntry>& entries)
    {
        std::vector<std::string> names;
        std::ranges::transform(entries, std::back_inserter(names), &PrinterEntry::name);
        return names;
    }

    // A counting call, then a filling call into as many entries.
    static std::vector<PrinterEntry> List(std::uint32_t request = ENUM_MODEL_PRINTERS)
    {
        const int count = EnumPrinterEntries(request);
        std::vector<PrinterEntry> entries(static_cast<std::size_t>(count));
        EXPECT_EQ(EnumPrinterEntries(request, entries), count);
        return entries;
    }

    std::optional<sim::testing::SimulatedDriver> m_driver;
    std::optional<sim::testing::SimulatedInfoLibrary> m_infoLibrary;
};

}  // namespace catalogue_testing
