// VR38Update.exe under Wine, driven from outside, on what guards a user's
// machine: Windows may not end the session while the firmware is sent, and
// the program loads no library that only its current folder holds.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/firmware_image.h"
#include "core/scenario.h"
#include "e2e_support.h"
#include "probe_info_library.h"
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
// the probe finds beside the program; the current folder elsewhere, with the
// data file and the library planted there.
TEST(AppGuardsTest, WholeUpdateFromAnotherFolder_RefusesTheEndOfSessionOnlyWhileSending_LoadsNothingPlanted)
{
    const fs::path build = e2e::ProgramDirectory();
    const auto setup = e2e::Quoted((build / "simsetup.exe").string()) + " --info-dll " +
                       e2e::Quoted((build / kProbeInfoLibrary).string()) + " --printer " + e2e::Quoted(kPrinter);
    ASSERT_EQ(e2e::RunToTheEnd(setup), 0) << setup;
    const auto folder = fs::temp_directory_path() / "vr38-guards";
    const auto programFolder = folder / "program";
    const auto currentFolder = folder / "current";
    fs::create_directories(programFolder);
    fs::create_directories(currentFolder);
    for (const char* file : {"VR38Update.exe", "TrDrv.dll", "tmfilo.dll"}) {
        fs::copy_file(build / file, programFolder / file);
    }
    // Any library will do for the two the probe asks for.
    fs::copy_file(build / "tmfilo.dll", programFolder / kBesideLibrary);
    fs::copy_file(build / "tmfilo.dll", currentFolder / kPlantedLibrary);
    // The data file is looked for beside the program at start-up, and opened
    // from the current folder for the update.
    const auto data = sim::firmware_image::MakeFirmwareFile(sim::kDefaultPrinterId, "5.10", 4000, 4000);
    for (const auto& place : {programFolder, currentFolder}) {
        std::ofstream(place / "VR380MX_510.pd3", std::ios::binary)
            .write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    }
    std::ofstream(folder / "printer.ini") << kScenario;
    ::SetEnvironmentVariableA("VR38SIM_SCENARIO", (folder / "printer.ini").string().c_str());
    ::SetEnvironmentVariableA("VR38SIM_LOG", (folder / "calls.log").string().c_str());

    const auto started = uidriver::Process::Start((programFolder / "VR38Update.exe").string(), currentFolder.string());
    ASSERT_TRUE(started);
    const auto& program = *started;
    std::vector<LRESULT> during;
    std::vector<LRESULT> after;
    std::vector<bool> loaded;  // TrDrv.dll, tmfilo.dll, the library beside the program, the planted one
    const auto road = roads::DriveWholeUpdate(program, kPrinter, [&](roads::Step step, HWND) {
        if (step == roads::Step::Transfer) {
            during = EndSessionAnswers(program.Id());
            for (const char* library : {"TrDrv.dll", "tmfilo.dll", kBesideLibrary, kPlantedLibrary}) {
                loaded.push_back(uidriver::HasLoaded(program, library));
            }
        } else if (step == roads::Step::Completed) {
            after = EndSessionAnswers(program.Id());
        }
    });
    ASSERT_EQ(road.failure, "");
    // The main dialog and the progress dialog; then the main dialog and the
    // closing message.
    EXPECT_EQ(during, (std::vector<LRESULT>{FALSE, FALSE}));
    EXPECT_EQ(after, (std::vector<LRESULT>{TRUE, TRUE}));
    // Listing the printer asked the probe for both by bare name.
    EXPECT_EQ(loaded, (std::vector<bool>{true, true, true, false}));
}

}  // namespace
