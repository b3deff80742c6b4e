// The application as a whole on a headless machine: start-up, the warning,
// the main dialog's printer list and Update, the update procedure against the
// simulated printer, and exit with the profile.

#include <gtest/gtest.h>

#include <semaphore>

#include "app/update_app.h"
#include "app/update_dlg.h"
#include "catalogue_fixture.h"
#include "platform/headless/printer_driver_script.h"
#include "platform/power.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "printers/printer_list.h"
#include "res/resource.h"
#include "testing/simulated_printer_driver.h"
#include "transfer_fixture.h"

namespace {

using catalogue_testing::CatalogueTest;
using platform::headless::MessageBoxRecord;
using platform::headless::UiEvent;

constexpr const char* kScenario = "printer_id = 0x3831\ninfo.flags = 0x10800000\nversion = 5.00\nprogress.step = 50\n";
const std::string kProfilePath = "Software\\Corvane Industries, Ltd.\\VR38Update\\Settings";
const std::string kConfirm500 =
    "The current firmware version is 5.00.\n\nThis firmware update is version 5.10.\n\n"
    "OK to update the current VR-380MX firmware?\n";
constexpr int kMain = IDD_VR38UPDATE_DIALOG;

// Each box's text and the template id of its owner window.
using BoxList = std::vector<std::pair<std::string, int>>;

class AppTest : public CatalogueTest {
protected:
    void SetUp() override
    {
        CatalogueTest::SetUp();
        m_bench.emplace();
        ResetPrinterList();
        platform::headless::ResetPrinterDrivers();
        platform::headless::SetExecutableFileName((std::filesystem::current_path() / "VR38Update.exe").string());
        platform::SetRegistryKey("Corvane Industries, Ltd.");
        transfer_test::GiveLocalAppData();
    }

    void TearDown() override
    {
        // Whatever the road, no window of the program took input beside a box.
        for (const auto& box : platform::headless::MessageBoxes()) {
            EXPECT_TRUE(box.windowsTakingInput.empty()) << box.text;
        }
        m_bench.reset();
        ResetPrinterList();
        platform::headless::ResetPrinterDrivers();
        CatalogueTest::TearDown();
    }

    // The libraries' stand-ins beside the program, and the data file.
    static void PutFiles(std::uint16_t dataPrinterId = sim::kDefaultPrinterId)
    {
        transfer_test::WriteFile("TRDRV.DLL", {});
        transfer_test::WriteFile("tmfilo.dll", {});
        transfer_test::WriteDataFile(400, std::nullopt, 0, dataPrinterId);
    }

    // A printer of the model on the machine, with its driver.
    static void InstallModelPrinter(const std::string& name)
    {
        InstallPrinter(name);
        RegisterDriver(catalogue_testing::kDriver);
        platform::headless::SetPrinterDriver(name, sim::testing::SimulatedPrinterDriver());
    }

    // Runs the program: start-up, the main dialog as the script drives it,
    // exit; another program's window on the desktop meanwhile. The activation
    // passes from one window of the program to the next, and reaches the
    // other program only when the program's last window goes.
    static void Run()
    {
        platform::headless::PlaceOtherProgramWindow();
        auto& app = GetUpdateApp();
        EXPECT_FALSE(app.InitInstance());
        app.ExitInstance();
        EXPECT_LE(platform::headless::OtherProgramActivations(), 1);
    }

    // Passes the warning (and the About box) and, once the main dialog shows,
    // hands it to main; the progress dialog, once it shows, to progress; every
    // event to onEvent.
    static void Script(std::function<void(CUpdateDlg&)> main, std::function<void(platform::Dialog&)> progress = {},
                       std::function<void(const UiEvent&)> onEvent = {})
    {
        platform::headless::UiScript script;
        if (onEvent) {
            script.onEvent = [onEvent](platform::Dialog&, const UiEvent& e) { onEvent(e); };
        }
        script.onShown = [main = std::move(main), progress = std::move(progress)](platform::Dialog& dialog) {
            if (dialog.TemplateId() == IDD_WARNING || dialog.TemplateId() == IDD_ABOUTBOX) {
                platform::headless::PressEnter(dialog);
            } else if (dialog.TemplateId() == IDD_VR38UPDATE_DIALOG && main) {
                main(static_cast<CUpdateDlg&>(dialog));
            } else if (dialog.TemplateId() == IDD_PROGRESS && progress) {
                progress(dialog);
            }
        };
        platform::headless::SetUiScript(std::move(script));
    }

    static std::optional<std::string> Profile(const char* value)
    {
        const auto key = platform::RegistryKey::Open(platform::RegistryRoot::CurrentUser, kProfilePath,
                                                     platform::REGISTRY_ACCESS_READ);
        return key ? platform::ReadStringValue(key, value) : std::nullopt;
    }

    static BoxList Boxes()
    {
        BoxList boxes;
        std::ranges::transform(platform::headless::MessageBoxes(), std::back_inserter(boxes),
                               [](const MessageBoxRecord& box) { return std::pair(box.text, box.ownerId); });
        return boxes;
    }

    // Update on the preselected printer, Yes to the confirmation (the
    // headless answer to a Yes/No box); the main window noted where asked.
    static void ScriptUpdate(platform::DialogHandle* mainWindow = nullptr)
    {
        Script([mainWindow](CUpdateDlg& dialog) {
            if (mainWindow != nullptr) {
                *mainWindow = dialog.Handle();
            }
            platform::headless::ClickButton(dialog, IDC_UPDATE);
        });
    }

    std::optional<transfer_test::TransferBench> m_bench;
};

TEST_F(AppTest, StartUp_IncompleteTransferLibraryEndsWithItsName)
{
    PutFiles();
    sim::testing::SimulatedDriver driver({}, {"TRDeleteFile"});
    Run();
    EXPECT_EQ(Boxes(), (BoxList{{"Error: Not Found TrDrv.dll.", 0}}));  // before any window
    // The transfer library unloaded at exit, and no printer remembered.
    EXPECT_EQ(std::tuple(platform::headless::MessageBoxes().back().icon, platform::headless::LoadedLibraryCount(),
                         Profile("DefTmPrn")),
              std::tuple(platform::MessageIcon::Error, 0, std::nullopt));
}

TEST_F(AppTest, WholeUpdate_ConfirmsTheVersionSendsTheFileAndRemembersThePrinter)
{
    PutFiles();
    auto& printer = InstallSimulatedDriver(kScenario);
    InstallModelPrinter("Labels");
    EXPECT_FALSE(GetUpdateApp().BindPrinter("Labels"));  // the transfer library not loaded yet
    platform::DialogHandle mainWindow = nullptr;
    ScriptUpdate(&mainWindow);
    Run();

    // Both over the main dialog, which takes no input meanwhile: no second
    // update can start under the closing message.
    EXPECT_EQ(Boxes(), (BoxList{{kConfirm500, kMain}, {"Completed the firmware update for VR-380MX.", kMain}}));
    EXPECT_EQ(std::tuple(platform::headless::MessageBoxes().back().icon, printer.GetScenario().version,
                         Profile("DefTmPrn"), Profile("DefPrn")),
              std::tuple(platform::MessageIcon::Information, "5.10", "Labels", "Labels"));
    EXPECT_FALSE(g_hRawIoLib);  // unloaded with the main dialog's window

    // While the firmware was sent, Windows had a reason to show for the main
    // window when asked to shut down.
    using platform::headless::PowerCall;
    const std::uint32_t continuous = platform::EXECUTION_CONTINUOUS;
    EXPECT_EQ(platform::headless::PowerCalls(),
              (std::vector<PowerCall>{
                  {"SetThreadExecutionState", continuous | platform::EXECUTION_SYSTEM_REQUIRED, {}, nullptr},
                  {"ShutdownBlockReasonCreate", 0,
                   "A firmware update is in progress. Turning off now can damage the printer.", mainWindow},
                  {"ShutdownBlockReasonDestroy", 0, {}, mainWindow},
                  {"SetThreadExecutionState", continuous, {}, nullptr}}));
}

TEST_F(AppTest, TransferNotCompleted_EndsInItsMessageOverTheMainDialog)
{
    const std::string failed = "Transfer failed.\nPerform the operation again from the beginning.";
    struct Row {
        const char* name;
        std::uint16_t dataPrinterId;
        int unavailableDialog;
        bool cancel;  // Cancel in the progress dialog before the library's first report
        BoxList boxes;
    };
    for (const auto& row : {
             // The worker's own box belongs to the progress dialog.
             Row{"data file for another printer",
                 0x1234,
                 0,
                 false,
                 {{kConfirm500, kMain}, {"A printer ID error occurred.", IDD_PROGRESS}, {failed, kMain}}},
             Row{"no progress dialog", 0x3831, IDD_PROGRESS, false, {{kConfirm500, kMain}, {failed, kMain}}},
             Row{"cancelled", 0x3831, 0, true, {{kConfirm500, kMain}, {"Transferring cancelled.", kMain}}},
         }) {
        SCOPED_TRACE(row.name);
        TearDown();
        SetUp();
        InstallSimulatedDriver(kScenario);
        InstallModelPrinter("Labels");
        PutFiles(row.dataPrinterId);
        if (row.unavailableDialog != 0) {
            platform::headless::SetDialogUnavailable(row.unavailableDialog);
        }
        if (row.cancel) {
            Script(
                [](CUpdateDlg& dialog) {
                    transfer_test::HoldSend();
                    platform::headless::ClickButton(dialog, IDC_UPDATE);
                },
                [](platform::Dialog& progress) {
                    platform::headless::ClickButton(progress, platform::ID_CANCEL);
                    transfer_test::g_sendMayGo.release();
                });
        } else {
            ScriptUpdate();
        }
        Run();
        EXPECT_EQ(Boxes(), row.boxes);
        EXPECT_EQ(platform::headless::MessageBoxes().back().icon,
                  row.cancel ? platform::MessageIcon::Warning : platform::MessageIcon::Error);
    }
}

// The modal run may end before the worker (a quit message, the window
// destroyed): the worker still writes the whole firmware, the program goes on
// answering its windows meanwhile, and the end of the session stays refused
// until the worker has returned.
TEST_F(AppTest, ProgressRunEndingEarly_TheWorkerFinishesUnderTheShutdownBlock)
{
    for (const bool quit : {true, false}) {
        SCOPED_TRACE(quit ? "quit message" : "window destroyed");
        TearDown();
        SetUp();
        PutFiles();
        auto& printer = InstallSimulatedDriver(kScenario);
        InstallModelPrinter("Labels");
        std::binary_semaphore runEnded{0};
        std::optional<bool> sessionMayEnd;  // asked as the library finishes, once the run has ended
        printer.SetStateChangedHandler([&](const sim::Scenario&) {
            if (runEnded.try_acquire_for(std::chrono::seconds(10))) {
                sessionMayEnd = platform::headless::QueryEndSession(*platform::MainWindow());
            }
        });
        Script([](CUpdateDlg& dialog) { platform::headless::ClickButton(dialog, IDC_UPDATE); },
               [quit](platform::Dialog& progress) {
                   quit ? platform::headless::PostQuitMessage() : progress.DestroyWindow();
               },
               [&runEnded](const UiEvent& e) {
                   if (e.dialogId == IDD_PROGRESS && e.op == "destroy") {
                       runEnded.release();
                   }
               });
        Run();
        EXPECT_EQ(
            std::tuple(sessionMayEnd, printer.GetScenario().version, Boxes().back().first, platform::SessionMayEnd()),
            std::tuple(std::optional(false), "5.10", "Completed the firmware update for VR-380MX.", true));
    }
}

TEST_F(AppTest, RememberedPrinterIsPreselectedFromUserOrMachineProfile)
{
    PutFiles();
    InstallSimulatedDriver(kScenario);
    InstallModelPrinter("Shipping");
    InstallModelPrinter("Bench");
    InstallModelPrinter("Office");
    std::string selected;
    Script([&](CUpdateDlg& dialog) {
        selected = dialog.GetSelectedPrinter(dialog.m_combo);
        dialog.EndDialog(platform::ID_CANCEL);
    });

    // Not installed any more: the alphabetically first entry.
    platform::headless::SetRegistryString(platform::RegistryRoot::CurrentUser, kProfilePath, "DefTmPrn", "Gone");
    Run();
    EXPECT_EQ(selected, "Bench");

    // Missing for the user, present for the machine.
    ResetPrinterList();
    platform::headless::ResetRegistry();
    RegisterDriver(catalogue_testing::kDriver);
    platform::headless::SetRegistryString(platform::RegistryRoot::LocalMachine, kProfilePath, "DefTmPrn", "office");
    Run();
    EXPECT_EQ(selected, "Office");                                    // the combo box's search ignores case
    EXPECT_EQ(ReadSetting("Elsewhere", "DefTmPrn", "none"), "none");  // another section's, with its default
    EXPECT_FALSE(std::filesystem::exists(transfer_test::kRecord));    // nothing before Update
}

TEST_F(AppTest, NoPrinterInstalled_DisablesTheListAndItsLabels_UpdateStillChecksThePrinter)
{
    PutFiles();
    auto& printer = InstallSimulatedDriver(kScenario);
    std::vector<bool> enabled;
    Script([&](CUpdateDlg& dialog) {
        enabled = {dialog.IsItemEnabled(IDC_PRINTER_COMBO), dialog.IsSiblingEnabled(IDC_PRINTER_COMBO, -1),
                   dialog.IsSiblingEnabled(IDC_PRINTER_COMBO, +1), dialog.IsItemEnabled(IDC_UPDATE)};
        platform::headless::ClickButton(dialog, IDC_UPDATE);
        dialog.EndDialog(platform::ID_CANCEL);
    });
    Run();
    EXPECT_EQ(Boxes(), (BoxList{{"Cannot communicate with the printer. Make sure that the printer is turned on and "
                                 "that the cables are correctly connected.",
                                 kMain}}));
    EXPECT_EQ(enabled, (std::vector<bool>{false, false, false, true}));
    // No printer was initialised, made current or remembered; the command init and the check still ran.
    const auto log = printer.Log();
    EXPECT_EQ(std::tuple(std::ranges::count(log, std::string("TRInitPrinter"), &sim::LogEntry::call),
                         GetPrinterList().m_nCurrentModelId, Profile("DefTmPrn")),
              std::tuple(0, 0u, std::nullopt));
    EXPECT_GE(std::ranges::count(log, std::string("TRCmdInit"), &sim::LogEntry::call), 2);
}

TEST_F(AppTest, SystemMenuAboutAndMinimisedIcon)
{
    PutFiles();
    InstallSimulatedDriver(kScenario);
    std::vector<std::pair<unsigned, std::string>> menu;
    std::tuple<bool, bool, int> icon;  // painted restored and minimised, the one given for dragging
    Script([&](CUpdateDlg& dialog) {
        menu = platform::headless::SystemMenuItems(dialog);
        platform::headless::ChooseSystemMenuItem(dialog, 0x0013);  // low bits are the system's
        const bool restored = platform::headless::Paint(dialog);
        platform::headless::SetMinimized(dialog, true);
        icon = {restored, platform::headless::Paint(dialog), platform::headless::QueryDragIcon(dialog)};
        dialog.EndDialog(platform::ID_CANCEL);
    });
    Run();
    EXPECT_EQ(menu, (std::vector<std::pair<unsigned, std::string>>{{0, ""}, {0x10, "&About..."}}));
    EXPECT_EQ(icon, std::tuple(false, true, IDR_MAINFRAME));
    const auto events = platform::headless::UiEvents();
    EXPECT_TRUE(std::ranges::any_of(events, [](const UiEvent& e) { return e.dialogId == IDD_ABOUTBOX; }));
    // The icon is centred: (client - icon + 1) / 2 in each direction.
    const auto paint = std::ranges::find(events, std::string("paint.icon"), &UiEvent::op);
    ASSERT_NE(paint, events.end());
    // 250 x 104 dialog units at 1.5 x 2 pixels.
    EXPECT_EQ(std::pair(paint->value, paint->value2), std::pair((375 - 32 + 1) / 2, (208 - 32 + 1) / 2));
}

// Only Start goes on: Cancel, and a warning that cannot be shown, end the
// program before the main dialog shows and before the raw I/O library loads.
TEST_F(AppTest, WarningCancelledOrNotShown_EndsTheProgramBeforeTheMainDialog)
{
    PutFiles();
    InstallSimulatedDriver(kScenario);
    platform::headless::UiScript script;
    script.onShown = [](platform::Dialog& dialog) { platform::headless::PressEscape(dialog); };
    platform::headless::SetUiScript(std::move(script));
    Run();
    platform::headless::SetDialogUnavailable(IDD_WARNING);
    Run();
    EXPECT_EQ(std::ranges::count(platform::headless::LibraryLoadRequests(), RAW_IO_LIBRARY_NAME), 0);
    EXPECT_FALSE(std::ranges::any_of(platform::headless::UiEvents(),
                                     [](const UiEvent& e) { return e.dialogId == kMain && e.op == "show"; }));
    EXPECT_FALSE(std::filesystem::exists(transfer_test::kRecord));
}

// The program's folder and name as the wide interface gives them: the files
// beside a program in a folder named in a script the ANSI code page cannot
// hold are found; the name that keys the profile is the executable's where the
// code page holds it, else the shipped one; a path longer than the system
// gives fails the check, without looking anywhere else (the current folder
// holds the files too).
TEST_F(AppTest, RequiredFiles_AreFoundBesideTheProgramInAFolderNamedInAnyScript)
{
    PutFiles();
    const auto folder = (std::filesystem::current_path() / "Прога 表").string();
    for (const char* file : REQUIRED_FILES) {
        transfer_test::WriteFile(folder + "/" + file, {});
    }
    for (const auto& [program, shiftJis, name] :
         {std::tuple("VR38Update.exe", false, "VR38Update"), std::tuple("Прога.exe", false, "VR38Update"),
          std::tuple("表ソ.exe", true, "\x95\x5C\x83\x5C")}) {
        platform::headless::SetDoubleByteCodePage(shiftJis);
        platform::headless::SetExecutableFileName(folder + "/" + program);
        EXPECT_EQ(std::tuple(GetModuleDirectory(), CheckRequiredFiles(), platform::ApplicationName()),
                  std::tuple(folder, true, name));
    }
    platform::headless::SetExecutableFileName(folder + "/" + std::string(platform::MAX_PATH_CHARS, 'x') + ".exe");
    EXPECT_FALSE(CheckRequiredFiles());
    EXPECT_EQ(Boxes(), (BoxList{{"TRDRV.DLL is not found.", 0}}));
}

// The record of each Update, whole: a printer named in Shift JIS (the trail
// byte of 表 is the code of '\') written in UTF-8 with its quotes escaped,
// every line stamped three and a half hours west of UTC, and the time the
// steady clock moved while the firmware was sent (to the end of a complete
// transfer).
TEST_F(AppTest, Record_OfEachUpdate_HoldsItsStepsInOrder)
{
    const platform::LocalTime time{2026, 12, 9, 14, 3, 27, -210};
    const std::string update =
        R"(event=update program=1.0 printer="ラベル \"表\"" printer_id=0x3831 | event=check check=transfer-library )"
        "result=";
    const std::string identified = update + "passed | event=identification result=replied identification=K0";
    const std::string sent = identified +
                             "V | event=check check=data-file result=passed | event=version result=replied "
                             "version=5.00 | event=answer answer=yes | event=check check=transfer-library "
                             "result=passed | event=check check=model result=passed | event=check "
                             "check=system result=passed | event=header length=400 printer_id=0x3831 | "
                             "event=transfer result=";
    for (const auto& [scenario, record] :
         {std::pair("", sent + "0 duration_ms=2500 | event=message id=1814"),
          std::pair("tr.TRSendFile = 5", sent + "5 duration_ms=0 | event=message id=1911"),
          std::pair("tr.TRSendFile = 8", sent + "8 duration_ms=0 | event=message id=1916"),
          std::pair("tr.TRGetStatus = 4", update + "failed | event=message id=1910"),
          std::pair("identification = K0W", identified + "W | event=message id=not-the-model"),
          std::pair("fail = status.read", update + "passed | event=identification result=no-reply")}) {
        SCOPED_TRACE(scenario);
        TearDown();
        SetUp();
        platform::headless::SetDoubleByteCodePage(true);
        platform::headless::SetClock(time, 1000);
        PutFiles();
        InstallSimulatedDriver(kScenario + std::string(scenario)).SetStateChangedHandler([&](const sim::Scenario&) {
            platform::headless::SetClock(time, 3500);
        });
        InstallModelPrinter("\x83\x89\x83\x78\x83\x8B \"\x95\x5C\"");
        Script([](CUpdateDlg& dialog) {
            platform::headless::ClickButton(dialog, IDC_UPDATE);
            EXPECT_TRUE(Profile("DefTmPrn"));  // remembered at Update, not only at exit
            dialog.EndDialog(platform::ID_CANCEL);
        });
        Run();
        EXPECT_EQ(transfer_test::RecordLines("2026-12-09T14:03:27-03:30 "), record);
    }
}

}  // namespace
