// VR38Update.exe under Wine, driven from outside, on what guards a user's
// machine: Windows may not end the session while the firmware is sent, and
// the program loads no library that only its current folder holds.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/firmware_image.h"
#include "core/scenario.h"
#include "e2e_support.h"
#include "probe_info_library.h"
#include "res/resource.h"
#include "roads/update_road.h"
#include "uidriver/ui_driver.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kPrinter = "VR-380MX";
// A transfer slow enough to be asked during.
constexpr const char* kScenario =
    "version = 5.00\nprinter_id = 0x3831\ninfo.flags = 0x10800000\nprogress.step = 25\nprogress.delay_ms = 200\n";

// What each visible window of the program answers when Windows asks whether
// the session may end: TRUE, FALSE, or -1 when it did not answer.
std::vector<LRESULT> EndSessionAnswers(DWORD processId)
{
    std::vector<LRESULT> answers;
    for (const auto& window : uidriver::TopLevelWindows(processId)) {
        DWORD_PTR answer = 0;
        const bool answered =
            ::SendMessageTimeoutA(window.handle, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer) != 0;
        answers.push_back(answered ? static_cast<LRESULT>(answer) : -1);
    }
    return answers;
}

// One VR-380MX whose driver's information library is the probe; the
// program's folder with the driver's libraries, the data file and the library
// the probe finds beside the program; a current folder elsewhere that holds
// the library planted there.
class AppGuardsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const fs::path build = e2e::ProgramDirectory();
        const auto command = e2e::Quoted((build / "simsetup.exe").string()) + " --info-dll " +
                             e2e::Quoted((build / kProbeInfoLibrary).string()) + " --printer " + e2e::Quoted(kPrinter);
        ASSERT_EQ(e2e::RunToTheEnd(command), 0) << command;
    }

    void SetUp() override
    {
        const fs::path build = e2e::ProgramDirectory();
        fs::remove_all(m_folder);
        fs::create_directories(m_program);
        fs::create_directories(m_current);
        for (const char* file : {"VR38Update.exe", "TrDrv.dll", "tmfilo.dll"}) {
            fs::copy_file(build / file, m_program / file);
        }
        // Any library will do for the two the probe asks for.
        fs::copy_file(build / "tmfilo.dll", m_program / kBesideLibrary);
        fs::copy_file(build / "tmfilo.dll", m_current / kPlantedLibrary);
        const auto data = sim::firmware_image::MakeFirmwareFile(sim::kDefaultPrinterId, "5.10", 4000, 4000);
        std::ofstream(m_program / "VR380MX_510.pd3", std::ios::binary)
            .write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
        std::ofstream(m_folder / "printer.ini") << kScenario;
        ::SetEnvironmentVariableA("VR38SIM_SCENARIO", (m_folder / "printer.ini").string().c_str());
        ::SetEnvironmentVariableA("VR38SIM_LOG", (m_folder / "calls.log").string().c_str());
    }

    uidriver::Process Start(const fs::path& currentFolder)
    {
        auto started = uidriver::Process::Start((m_program / "VR38Update.exe").string(), currentFolder.string());
        if (!started) {
            throw std::runtime_error("VR38Update.exe did not start");
        }
        return std::move(*started);
    }

    fs::path m_folder = fs::temp_directory_path() / "vr38-guards";
    fs::path m_program = m_folder / "program";
    fs::path m_current = m_folder / "current";
};

TEST_F(AppGuardsTest, EndOfSession_IsRefusedWhileTheFirmwareIsSentAndAllowedAfter)
{
    const auto program = Start(m_program);
    std::vector<LRESULT> during;
    std::vector<LRESULT> after;
    const auto road = roads::DriveWholeUpdate(program, kPrinter, [&](roads::Step step, HWND) {
        if (step == roads::Step::Transfer) {
            during = EndSessionAnswers(program.Id());
        } else if (step == roads::Step::Completed) {
            after = EndSessionAnswers(program.Id());
        }
    });
    ASSERT_EQ(road.failure, "");
    // The main dialog and the progress dialog; then the main dialog and the
    // closing message.
    EXPECT_EQ(during, (std::vector<LRESULT>{FALSE, FALSE}));
    EXPECT_EQ(after, (std::vector<LRESULT>{TRUE, TRUE}));
}

TEST_F(AppGuardsTest, LibraryOnlyTheCurrentFolderHolds_IsNotLoadedButThoseBesideTheProgramAre)
{
    const auto program = Start(m_current);
    const auto warning = uidriver::WaitForDialog(program.Id(), roads::kWarningTitle);
    ASSERT_TRUE(warning);
    uidriver::Click(warning->handle, IDOK);
    const auto main = uidriver::WaitForDialog(program.Id(), roads::kMainTitle);
    ASSERT_TRUE(main);
    // Listing the printer asked the probe.
    EXPECT_EQ(uidriver::ComboEntries(main->handle, IDC_PRINTER_COMBO), std::vector<std::string>{kPrinter});

    EXPECT_TRUE(e2e::HasLoaded(program.Handle(), "TrDrv.dll"));
    EXPECT_TRUE(e2e::HasLoaded(program.Handle(), "tmfilo.dll"));
    EXPECT_TRUE(e2e::HasLoaded(program.Handle(), kBesideLibrary));
    EXPECT_FALSE(e2e::HasLoaded(program.Handle(), kPlantedLibrary));

    uidriver::Click(main->handle, IDC_EXIT);
    EXPECT_EQ(program.WaitForExit(), 0u);
}

}  // namespace
