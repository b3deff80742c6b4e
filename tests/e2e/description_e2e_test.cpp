// Printer descriptions through the real spooler, the platform's PostScript
// driver under Wine and the stand-in information library: a printer that
// simsetup.exe installed is described by its driver's library, and one whose
// library is missing on disk shows the damaged-driver message and is
// described from the standard queries.

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <future>
#include <string>
#include <tuple>

#include "catalogue/driver_info.h"
#include "catalogue/printer_enum.h"
#include "core/info_library.h"
#include "description/printer_description.h"
#include "e2e_support.h"
#include "platform/registry.h"
#include "platform/ui.h"
#include "uidriver/ui_driver.h"

namespace {

using e2e::TempPath;

const std::string kPrinter = "Shipping Labels";

void SetInfoDll(const std::string& path)
{
    const auto key = platform::RegistryKey::Create(
        platform::RegistryRoot::LocalMachine,
        std::string("SOFTWARE\\") + REGISTRY_KEY_NAME + "\\Tapemark\\Driver\\3.0\\" + std::string(kSupportedDriverName),
        platform::REGISTRY_ACCESS_WRITE);
    ASSERT_TRUE(key.SetStringValue(INFO_DLL_VALUE, path));
}

class DescriptionE2eTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const auto scenario = TempPath("description_e2e.ini");
        std::ofstream(scenario) << "printer_id = 0x3831\ninfo.flags = 0x10800000\n";
        ::SetEnvironmentVariableA("VR38SIM_SCENARIO", scenario.c_str());
        ::SetEnvironmentVariableA("VR38SIM_LOG", TempPath("description_e2e.log").c_str());
        ASSERT_EQ(e2e::InstallPrinters(sim::kInfoLibraryName, "--printer " + e2e::Quoted(kPrinter)), 0);
    }
};

TEST_F(DescriptionE2eTest, InstalledPrinterIsDescribedByItsDriversLibrary)
{
    PrinterDescription description;
    ASSERT_TRUE(description.InitFromName(kPrinter.c_str(), 0));
    ASSERT_EQ(description.m_aMedia.size(), 4u);
    EXPECT_EQ(std::tuple(description.GetModelId(), description.m_aMedia[0].Id(), description.m_wMediaClass),
              std::tuple(0x3831u, sim::kTape12mm, 10));
    EXPECT_STREQ(description.m_szDriver.data(), std::string(kSupportedDriverName).c_str());
    // Wine's PostScript driver keeps only a few private bytes: no user media
    // and no options are read from them.
    EXPECT_LT(description.DevMode().PrivateBlock().size(), 30u);
    EXPECT_TRUE(description.m_aUserMedia.empty());
    EXPECT_GT(description.m_nResX, 0);
}

TEST_F(DescriptionE2eTest, MissingLibraryShowsTheDamagedDriverMessageAndFallsBack)
{
    SetInfoDll("C:\\Program Files\\Corvane\\missing\\vr380info.dll");
    // The message box is modal; a user answers it.
    auto answer = std::async(std::launch::async, [] {
        const auto box = uidriver::WaitForMessageBox(::GetCurrentProcessId());
        if (box) {
            uidriver::Answer(*box, IDOK);
        }
        return box;
    });
    PrinterDescription description;
    ASSERT_TRUE(description.InitFromName(kPrinter.c_str(), 0));
    const auto box = answer.get();
    ASSERT_TRUE(box);
    EXPECT_EQ(std::tie(box->text, box->caption),
              std::tuple("The driver is damage. Reinstall the driver.", platform::ApplicationName()));
    // The standard-query description.
    EXPECT_EQ(std::tuple(description.m_wMediaClass, description.GetModelId()), std::tuple(2, 0u));
    EXPECT_FALSE(description.m_aMedia.empty());
}

}  // namespace
