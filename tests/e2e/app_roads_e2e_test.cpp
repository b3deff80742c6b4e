// VR38Update.exe itself, started as a user would start it and driven from
// outside through its windows, under Wine, against the simulated printer, on
// its roads and on what guards a user's machine (Windows may not end the
// session while the firmware is sent; no library is loaded that only the
// current folder holds; another program's window on the desktop never takes
// the activation from the program's windows):
// the program lies in a folder of its own beside the stand-in libraries and
// the data file, simsetup.exe installs the printers, and the profile is read
// back from the registry. Each road starts from a prefix without printers or
// profile.

#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <stdexcept>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "core/firmware_image.h"
#include "core/info_library.h"
#include "core/scenario.h"
#include "core/sim_log.h"
#include "e2e_support.h"
#include "probe_info_library.h"
#include "res/resource.h"
#include "roads/update_road.h"
#include "uidriver/ui_driver.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using uidriver::StandardIcon;

constexpr const char* kProfileCompany = "Software\\Corvane Industries, Ltd.";
constexpr const char* kMachineProfileKey = "Software\\Corvane Industries, Ltd.\\VR38Update";
constexpr const char* kDataFile = "VR380MX_510.pd3";
constexpr const char* kPrinter = "VR-380MX";
constexpr const char* kSecondPrinter = "Bench VR-380MX";
constexpr const char* kOtherPrinter = "Office Laser";
constexpr const char* kOtherDriver = "Generic Office PostScript";

// The simulated VR-380MX: its driver's capability word and a transfer slow
// enough to be seen.
constexpr const char* kPrinterScenario =
    "version = 5.00\nprinter_id = 0x3831\ninfo.flags = 0x10800000\nprogress.step = 25\nprogress.delay_ms = 100\n";

const std::vector<std::string> kWarningTexts{
    "Warning", "Do not operate VR-380MX or disconnect the USB cable until the update operation is completed."};
const std::string kNoCommunication =
    "Cannot communicate with the printer. Make sure that the printer is turned on and that the cables are correctly "
    "connected.";

std::string Confirmation(const std::string& version)
{
    return "The current firmware version is " + version +
           ".\n\nThis firmware update is version 5.10.\n\nOK to update the current VR-380MX firmware?\n";
}

// The printer the profile of the program of that name (in the ANSI code
// page) remembers, as DefTmPrn and as DefPrn.
using Profile = std::pair<std::optional<std::string>, std::optional<std::string>>;

Profile Remembered(const std::string& application = roads::kApplicationName)
{
    const auto key = std::string(kProfileCompany) + "\\" + application + "\\Settings";
    std::optional<std::string> values[2];
    for (int i = 0; i < 2; ++i) {
        std::array<char, 1024> value{};
        DWORD size = static_cast<DWORD>(value.size());
        if (::RegGetValueA(HKEY_CURRENT_USER, key.c_str(), i == 0 ? "DefTmPrn" : "DefPrn", RRF_RT_REG_SZ, nullptr,
                           value.data(), &size) == ERROR_SUCCESS) {
            values[i] = value.data();
        }
    }
    return {values[0], values[1]};
}

void RemoveAllPrinters()
{
    DWORD needed = 0;
    DWORD returned = 0;
    ::EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &returned);
    std::vector<BYTE> buffer(needed);
    if (needed == 0 || !::EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, buffer.data(), needed, &needed, &returned)) {
        return;
    }
    const auto* printers = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
    for (DWORD i = 0; i < returned; ++i) {
        PRINTER_DEFAULTSA access{nullptr, nullptr, PRINTER_ALL_ACCESS};
        HANDLE printer = nullptr;
        if (::OpenPrinterA(printers[i].pPrinterName, &printer, &access)) {
            ::DeletePrinter(printer);
            ::ClosePrinter(printer);
        }
    }
}

// The update record under the prefix's %LOCALAPPDATA%, and its lines joined
// by " | " without the stamp of local time and offset from UTC each must
// begin with and the CR LF each must end with.
fs::path RecordPath()
{
    return fs::path(_wgetenv(L"LOCALAPPDATA")) / L"Corvane Industries, Ltd." / L"VR38Update" / L"VR38Update.log";
}

std::string Record()
{
    std::ifstream file(RecordPath(), std::ios::binary);
    const std::regex line(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d (.*)\r\n)");
    const auto lines = std::regex_replace(std::string(std::istreambuf_iterator<char>(file), {}), line, "$1 | ");
    return lines.substr(0, lines.size() - std::min<std::size_t>(lines.size(), 3));
}

// Whether a window is centred on another, to the pixel that halving rounds.
bool CentredOn(const RECT& inner, const RECT& outer)
{
    return std::abs((inner.left + inner.right) - (outer.left + outer.right)) <= 2 &&
           std::abs((inner.top + inner.bottom) - (outer.top + outer.bottom)) <= 2;
}

// The operating dialog as seen from outside until it goes: how long it
// stayed, how slowly its thread answered meanwhile, and whether the progress
// dialog showed beside it.
struct OperatingSeen {
    std::chrono::steady_clock::duration stayed{};
    std::chrono::steady_clock::duration slowestAnswer{};
    int answers = 0;
    bool progressBeside = false;
};

OperatingSeen WatchOperating(DWORD processId, HWND operating)
{
    using Clock = std::chrono::steady_clock;
    OperatingSeen seen;
    const auto shown = Clock::now();
    while (::IsWindowVisible(operating)) {
        // Asked while the dialog surely stays (not while Wine takes it off a
        // display without a window manager, which may wait two seconds).
        if (const auto asked = Clock::now(); asked - shown < 900ms) {
            DWORD_PTR ignored = 0;
            ::SendMessageTimeoutA(operating, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
            seen.slowestAnswer = std::max(seen.slowestAnswer, Clock::now() - asked);
            ++seen.answers;
        }
        // Once the thread has answered, it has hidden the progress dialog,
        // which it does right after showing this one.
        seen.progressBeside =
            seen.progressBeside ||
            (seen.answers > 0 && uidriver::DialogWithItem(processId, IDC_TRANSFER_PERCENT) != nullptr);
        std::this_thread::sleep_for(5ms);
    }
    seen.stayed = Clock::now() - shown;
    return seen;
}

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

class AppRoadsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RemoveAllPrinters();
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kProfileCompany);
        ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kMachineProfileKey);

        m_folder = fs::temp_directory_path() /
                   ("vr38-road-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
        fs::remove_all(RecordPath().parent_path().parent_path(), ignored);
        fs::create_directories(m_folder);
        m_programFolder = m_folder;
        m_scenario = m_folder / "printer.ini";
        m_log = m_folder / "calls.log";
        ::SetEnvironmentVariableA("VR38SIM_SCENARIO", m_scenario.string().c_str());
        ::SetEnvironmentVariableA("VR38SIM_LOG", m_log.string().c_str());
        m_otherProgram.emplace();
    }

    void TearDown() override
    {
        m_program.reset();
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }

    // The program's folder as a user has it: the program beside the driver's
    // libraries and the data file, less whatever is named.
    void LayOut(const std::vector<std::string>& leftOut = {})
    {
        const auto wanted = [&](const std::string& name) {
            return std::find(leftOut.begin(), leftOut.end(), name) == leftOut.end();
        };
        fs::create_directories(m_programFolder);
        for (const char* file : {"VR38Update.exe", "TrDrv.dll", "tmfilo.dll"}) {
            if (wanted(file)) {
                fs::copy_file(
                    fs::path(e2e::ProgramDirectory()) / file,
                    m_programFolder / (file == std::string("VR38Update.exe") ? fs::path(m_programName) : file));
            }
        }
        if (wanted(kDataFile)) {
            const auto data = sim::firmware_image::MakeFirmwareFile(m_dataPrinterId, "5.10", 4000, 4000);
            std::ofstream(m_programFolder / kDataFile, std::ios::binary)
                .write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
        }
        std::ofstream(m_scenario) << kPrinterScenario << m_scenarioExtra;
    }

    // simsetup.exe installs the printers of the model, and one of another
    // driver when asked.
    void InstallPrinters(const std::vector<std::string>& names, bool withOtherPrinter = false,
                         const char* infoLibrary = sim::kInfoLibraryName)
    {
        std::string arguments;
        for (const auto& name : names) {
            arguments += " --printer " + e2e::Quoted(name);
        }
        if (withOtherPrinter) {
            arguments += " --printer " + e2e::Quoted(kOtherPrinter) + " --driver " + e2e::Quoted(kOtherDriver);
        }
        ASSERT_EQ(e2e::InstallPrinters(infoLibrary, arguments), 0) << arguments;
    }

    const uidriver::Process& Start(const fs::path& currentFolder = {})
    {
        m_program.reset();
        auto started = uidriver::Process::Start(m_programFolder / m_programName,
                                                currentFolder.empty() ? m_programFolder : currentFolder);
        if (!started) {
            throw std::runtime_error("VR38Update.exe did not start");
        }
        m_program.emplace(std::move(*started));
        return *m_program;
    }

    // Start in the warning; the main dialog once it shows.
    HWND PassTheWarning()
    {
        const auto warning = uidriver::WaitForDialog(m_program->Id(), roads::kWarningTitle);
        if (!warning) {
            ADD_FAILURE() << "no warning";
            return nullptr;
        }
        uidriver::Click(warning->handle, IDOK);
        const auto main = uidriver::WaitForDialog(m_program->Id(), roads::kMainTitle);
        if (!main) {
            ADD_FAILURE() << "no main dialog";
            return nullptr;
        }
        return main->handle;
    }

    // The road's hook: the operating dialog watched while it shows, and the
    // other program's activations noted at each box after the confirmation.
    roads::StepHook Watch(OperatingSeen* operating = nullptr)
    {
        return [this, operating](roads::Step step, HWND window) {
            if (step == roads::Step::Operating && operating != nullptr) {
                *operating = WatchOperating(m_program->Id(), window);
            } else if (step == roads::Step::Completed) {
                m_otherAtBoxes.push_back(m_otherProgram->Activations());
            }
        };
    }

    std::vector<std::string> LoggedCalls() const
    {
        std::vector<std::string> calls;
        for (const auto& entry : sim::ReadLogFile(m_log.string())) {
            calls.push_back(entry.call);
        }
        return calls;
    }

    fs::path m_folder;
    fs::path m_programFolder;  // m_folder unless a test names another
    std::wstring m_programName = L"VR38Update.exe";
    fs::path m_scenario;
    fs::path m_log;
    std::string m_scenarioExtra;
    std::uint16_t m_dataPrinterId = sim::kDefaultPrinterId;
    std::optional<uidriver::Process> m_program;
    // Another program's window, the active one when the program starts; from
    // the program's first window to its closing message the activation passes
    // from one of the program's windows to the next, never to it.
    std::optional<uidriver::BystanderWindow> m_otherProgram;
    std::vector<int> m_otherAtBoxes;
};

// Under a Western code page, from a folder named in scripts it cannot hold,
// as the program named so: the application name is the shipped one.
TEST_F(AppRoadsTest, WholeUpdate_FromAFolderNamedInAnotherScript_WritesTheProfileAndTheNextRunShowsTheNewVersion)
{
    ASSERT_EQ(::GetACP(), 1252u) << "the run's locale gives another ANSI code page";
    m_programFolder = m_folder / L"Программа 更新";
    m_programName = L"Обновление.exe";
    LayOut();
    InstallPrinters({kPrinter, kSecondPrinter}, true);

    Start();
    OperatingSeen operating;
    const auto road = roads::DriveWholeUpdate(*m_program, kPrinter, Watch(&operating));
    ASSERT_EQ(road.failure, "");
    EXPECT_EQ(m_otherAtBoxes, std::vector<int>{0});
    EXPECT_EQ(std::tie(road.warningTexts, road.printers, road.preselected),
              std::tuple(kWarningTexts, std::vector<std::string>{kSecondPrinter, kPrinter}, kSecondPrinter));
    EXPECT_EQ(std::tie(road.confirmation, road.confirmationBox.icon),
              std::tuple(Confirmation("5.00"), StandardIcon::Warning));
    // Every box over the main dialog, nothing else taking input meanwhile.
    ASSERT_EQ(road.boxes.size(), 1u);
    for (const auto& box : {road.confirmationBox, road.boxes[0]}) {
        EXPECT_EQ(std::tie(box.owner, box.windowsTakingInput), std::tuple("main", std::vector<std::string>{}));
    }
    EXPECT_EQ(road.progressCaption, roads::kApplicationName);
    EXPECT_TRUE(CentredOn(road.progressRect, road.mainRect));
    // The operating dialog stays its second after the worker (less the time
    // the road takes to notice it), and its thread is not frozen meanwhile.
    EXPECT_GE(operating.stayed, 900ms);
    EXPECT_GT(operating.answers, 0);
    EXPECT_LT(operating.slowestAnswer, 500ms);
    EXPECT_FALSE(operating.progressBeside);
    EXPECT_EQ(std::tie(road.outcome, road.exitCode), std::tuple(roads::kCompleted, 0u));
    EXPECT_EQ(Remembered(), Profile(kPrinter, kPrinter));
    // The record, its transfer holding the operating dialog's second (the
    // steps between are the native suites' business).
    EXPECT_TRUE(std::regex_match(Record(),
                                 std::regex(R"(event=update program=1\.0 printer=VR-380MX printer_id=0x3831 \| .* \| )"
                                            R"(event=header length=4000 printer_id=0x3831 \| event=transfer )"
                                            R"(result=0 duration_ms=[1-9][0-9]{3,} \| event=message id=1814)")))
        << Record();

    // The next run offers the remembered printer and its new version; No in
    // the confirmation ends the program too.
    const auto& again = Start();
    const HWND main = PassTheWarning();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(uidriver::ComboSelection(main, IDC_PRINTER_COMBO), kPrinter);
    uidriver::Click(main, IDC_UPDATE);
    const auto confirmation = uidriver::WaitForMessageBox(again.Id());
    ASSERT_TRUE(confirmation);
    EXPECT_EQ(confirmation->text, Confirmation("5.10"));
    uidriver::Answer(*confirmation, IDNO);
    EXPECT_EQ(again.WaitForExit(), 0u);
    // Its record follows the first one's.
    EXPECT_TRUE(std::regex_search(
        Record(), std::regex(R"(id=1814 \| event=update .* version=5\.10 \| event=answer answer=no$)")));
}

// The printer's information library is the probe; the program's folder
// holds the library the probe finds beside the program, the current folder
// the data file and the library planted there.
TEST_F(AppRoadsTest, UpdateFromAnotherFolder_RefusesTheEndOfSessionOnlyWhileSending_LoadsNothingPlanted)
{
    m_scenarioExtra = "progress.delay_ms = 200\n";  // slow enough to be asked during
    LayOut();
    InstallPrinters({kPrinter}, false, kProbeInfoLibrary);
    const auto current = m_folder / "current";
    fs::create_directories(current);
    // Any library will do for the two the probe asks for.
    fs::copy_file(m_folder / "tmfilo.dll", m_folder / kBesideLibrary);
    fs::copy_file(m_folder / "tmfilo.dll", current / kPlantedLibrary);
    // The data file is looked for beside the program at start-up, and opened
    // from the current folder for the update.
    fs::copy_file(m_folder / kDataFile, current / kDataFile);
    // The record held open without sharing: the update goes on as ever.
    fs::create_directories(RecordPath().parent_path());
    const HANDLE locked = ::CreateFileW(RecordPath().c_str(), GENERIC_READ, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);

    const auto& program = Start(current);
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
    EXPECT_EQ(std::tie(road.outcome, road.exitCode), std::tuple(roads::kCompleted, 0u));
    ::CloseHandle(locked);
    EXPECT_EQ(fs::file_size(RecordPath()), 0u);
}

// Run again under a Japanese locale (ANSI code page 932), from a folder in
// whose name ソ and 表 end in the byte of '\\': the program named 表 keeps that
// name for its profile.
TEST_F(AppRoadsTest, DoubleByteCodePage_WholeUpdate_FromAFolderWhoseTrailBytesAreBackslashes)
{
    ASSERT_EQ(::GetACP(), 932u) << "the run's locale gives another ANSI code page";
    m_programFolder = m_folder / L"ソフト 表";
    m_programName = L"表.exe";
    LayOut();
    InstallPrinters({kPrinter});
    const auto road = roads::DriveWholeUpdate(Start(), kPrinter);
    ASSERT_EQ(road.failure, "");
    EXPECT_EQ(std::tie(road.outcome, road.exitCode), std::tuple(roads::kCompleted, 0u));
    EXPECT_EQ(Remembered("\x95\x5C"), Profile(kPrinter, kPrinter));
    EXPECT_TRUE(Record().ends_with("event=message id=1814"));  // in the shipped program's folder
}

TEST_F(AppRoadsTest, DataFileForAnotherPrinter_TheWorkersBoxBelongsToTheProgressDialog)
{
    m_dataPrinterId = 0x1234;
    LayOut();
    InstallPrinters({kPrinter});

    const auto road = roads::DriveWholeUpdate(Start(), {}, Watch());
    ASSERT_EQ(road.failure, "");
    EXPECT_EQ(m_otherAtBoxes, (std::vector<int>{0, 0}));
    // The texts are the native suites' business; the owners are Windows'.
    std::vector<std::string> owners;
    for (const auto& box : road.boxes) {
        owners.push_back(box.owner);
        EXPECT_EQ(box.windowsTakingInput, std::vector<std::string>{}) << box.text;
    }
    EXPECT_EQ(owners, (std::vector<std::string>{"progress", "main"}));
    EXPECT_EQ(road.exitCode, 0u);
}

// 100 % before the dialog manager has first been idle: the hidden progress
// dialog stays hidden.
TEST_F(AppRoadsTest, TransferAtOnce_TheProgressDialogStaysHidden)
{
    m_scenarioExtra = "progress.step = 100\n";
    LayOut();
    InstallPrinters({kPrinter});
    Start();
    OperatingSeen operating;
    const auto road = roads::DriveWholeUpdate(*m_program, kPrinter, Watch(&operating));
    ASSERT_EQ(road.failure, "");
    EXPECT_EQ(std::tie(road.operatingShown, operating.progressBeside, road.outcome, m_otherAtBoxes),
              std::tuple(true, false, roads::kCompleted, std::vector<int>{0}));
}

// Cancel counts only before the file is under way: pressed before the first
// report, it ends the transfer.
TEST_F(AppRoadsTest, CancelBeforeTheFirstReport_EndsCancelledOverTheMainDialog)
{
    m_scenarioExtra = "progress.delay_ms = 1500\n";
    LayOut();
    InstallPrinters({kPrinter});
    const auto& program = Start();
    const HWND main = PassTheWarning();
    ASSERT_NE(main, nullptr);
    uidriver::Click(main, IDC_UPDATE);
    const auto confirmation = uidriver::WaitForMessageBox(program.Id());
    ASSERT_TRUE(confirmation);
    uidriver::Answer(*confirmation, IDYES);
    HWND progress = nullptr;
    ASSERT_TRUE(uidriver::WaitUntil(
        [&] { return (progress = uidriver::DialogWithItem(program.Id(), IDC_TRANSFER_PERCENT)) != nullptr; }));
    uidriver::Click(progress, IDCANCEL);

    const auto box = uidriver::WaitForMessageBox(program.Id());
    ASSERT_TRUE(box);
    EXPECT_EQ(std::tie(box->text, box->owner), std::tuple("Transferring cancelled.", main));
    EXPECT_EQ(m_otherProgram->Activations(), 0);
    EXPECT_TRUE(uidriver::WindowsTakingInput(program.Id(), box->handle).empty());
    uidriver::Answer(*box, IDOK);
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(Remembered(), Profile(kPrinter, kPrinter));
}

TEST_F(AppRoadsTest, PrinterThatIsNotTheModel_ReportsItAndTheDialogStays)
{
    m_scenarioExtra = "identification = K0W\n";
    LayOut();
    InstallPrinters({kPrinter});
    const auto& program = Start();
    const HWND main = PassTheWarning();
    ASSERT_NE(main, nullptr);

    // The About box from the system menu, centred on the main dialog.
    ::PostMessageA(main, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    const auto about = uidriver::WaitForDialog(program.Id(), "About");
    ASSERT_TRUE(about);
    RECT aboutRect{};
    RECT mainRect{};
    ::GetWindowRect(about->handle, &aboutRect);
    ::GetWindowRect(main, &mainRect);
    EXPECT_TRUE(CentredOn(aboutRect, mainRect));
    EXPECT_FALSE(::IsWindowEnabled(main));
    uidriver::Click(about->handle, IDOK);
    ASSERT_TRUE(uidriver::WaitUntilGone(about->handle));

    uidriver::Click(main, IDC_UPDATE);
    const auto box = uidriver::WaitForMessageBox(program.Id());
    ASSERT_TRUE(box);
    EXPECT_EQ(std::tuple(box->caption, box->text, uidriver::MessageBoxIcon(*box), box->owner),
              std::tuple(roads::kApplicationName, "Connected printer is not VR-380MX.", StandardIcon::Error, main));
    EXPECT_TRUE(uidriver::WindowsTakingInput(program.Id(), box->handle).empty());
    uidriver::Answer(*box, IDOK);

    EXPECT_TRUE(uidriver::WaitUntil([&] { return !uidriver::FindMessageBox(program.Id()); }));
    EXPECT_FALSE(program.HasExited());
    EXPECT_TRUE(uidriver::IsItemEnabled(main, IDC_UPDATE));
    const auto calls = LoggedCalls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "TRSendFile"), 0);

    uidriver::Click(main, IDC_EXIT);
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(Remembered(), Profile(kPrinter, kPrinter));
}

TEST_F(AppRoadsTest, NoPrinterOfTheModel_DisablesTheListAndUpdateCannotCommunicate)
{
    LayOut();
    InstallPrinters({}, true);
    const auto& program = Start();
    const HWND main = PassTheWarning();
    ASSERT_NE(main, nullptr);

    const HWND combo = ::GetDlgItem(main, IDC_PRINTER_COMBO);
    const HWND before = ::GetWindow(combo, GW_HWNDPREV);
    const HWND after = ::GetWindow(combo, GW_HWNDNEXT);
    EXPECT_TRUE(uidriver::ComboEntries(main, IDC_PRINTER_COMBO).empty());
    EXPECT_FALSE(::IsWindowEnabled(combo));
    // The labels either side in the dialog's own order, as Windows keeps it.
    EXPECT_EQ(std::tuple(uidriver::Text(before), uidriver::Text(after)),
              std::tuple("Click the [ Update ] button to begin the process.\nIt will take a few minutes.",
                         "Select printer :"));
    EXPECT_FALSE(::IsWindowEnabled(before) || ::IsWindowEnabled(after));

    uidriver::Click(main, IDC_UPDATE);
    const auto box = uidriver::WaitForMessageBox(program.Id());
    ASSERT_TRUE(box);
    EXPECT_EQ(std::tuple(box->text, uidriver::MessageBoxIcon(*box)),
              std::tuple(kNoCommunication, StandardIcon::Warning));
    uidriver::Answer(*box, IDOK);
    EXPECT_TRUE(uidriver::WaitUntil([&] { return !uidriver::FindMessageBox(program.Id()); }));
    EXPECT_FALSE(program.HasExited());

    uidriver::Click(main, IDC_EXIT);
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(Remembered(), Profile());
}

TEST_F(AppRoadsTest, FilesMissingAtStartUp_NameTheFirstBeforeAnyLibraryIsLoaded)
{
    LayOut({kDataFile});
    InstallPrinters({kPrinter});
    const auto& program = Start();

    const auto box = uidriver::WaitForMessageBox(program.Id());
    ASSERT_TRUE(box);
    // No window of the program exists yet to own the box.
    EXPECT_EQ(std::tuple(box->caption, box->text, uidriver::MessageBoxIcon(*box), box->owner),
              std::tuple(roads::kApplicationName, "VR380MX_510.pd3 is not found.", StandardIcon::Warning, nullptr));
    EXPECT_FALSE(uidriver::HasLoaded(program, "TrDrv.dll") || uidriver::HasLoaded(program, "tmfilo.dll"));
    for (const auto& window : uidriver::TopLevelWindows(program.Id())) {
        EXPECT_NE(window.title, roads::kWarningTitle);
    }
    uidriver::Answer(*box, IDOK);
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(Remembered(), Profile());

    // Both libraries missing: only the transfer library is named.
    fs::remove(m_folder / "TrDrv.dll");
    fs::remove(m_folder / "tmfilo.dll");
    const auto& again = Start();
    const auto second = uidriver::WaitForMessageBox(again.Id());
    ASSERT_TRUE(second);
    EXPECT_EQ(second->text, "TRDRV.DLL is not found.");
    uidriver::Answer(*second, IDOK);
    EXPECT_EQ(again.WaitForExit(), 0u);
}

TEST_F(AppRoadsTest, CancelInTheWarning_EndsAtOnceWithoutTheRawLibraryOrTheProfile)
{
    LayOut();
    InstallPrinters({kPrinter});
    const auto& program = Start();

    const auto warning = uidriver::WaitForDialog(program.Id(), roads::kWarningTitle);
    ASSERT_TRUE(warning);
    EXPECT_EQ(std::tuple(uidriver::HasLoaded(program, "TrDrv.dll"), uidriver::HasLoaded(program, "tmfilo.dll")),
              std::tuple(true, false));

    // The main dialog's window may flash up as the dialog ends (its template
    // is visible), but the program ends at once.
    uidriver::Click(warning->handle, IDCANCEL);
    EXPECT_EQ(program.WaitForExit(5s), 0u);
    EXPECT_EQ(Remembered(), Profile());
    EXPECT_TRUE(LoggedCalls().empty());
}

}  // namespace
