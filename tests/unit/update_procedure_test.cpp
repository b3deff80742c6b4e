// The firmware update procedure and the transfer worker against the simulated
// printer, through the headless progress dialog: every way an update can end,
// with the message and icon the user sees.

#include <gtest/gtest.h>

#include "app/update_dlg.h"
#include "platform/power.h"
#include "res/resource.h"
#include "transfer/progress_dlg.h"
#include "transfer/transfer_worker.h"
#include "transfer_fixture.h"

namespace {

using namespace transfer_test;
using platform::MessageIcon;
using platform::headless::MessageBoxes;
using platform::headless::MessageBoxRecord;

// A message box's text and icon.
using Box = std::pair<std::string, MessageIcon>;

std::vector<Box> Boxes()
{
    std::vector<Box> boxes;
    for (const auto& box : MessageBoxes()) {
        EXPECT_EQ(box.caption, "VR38Update");
        boxes.push_back({box.text, box.icon});
    }
    return boxes;
}

const std::string kConfirmTail =
    "\n\nThis firmware update is version 5.10.\n\nOK to update the current VR-380MX firmware?\n";
const Box kConfirm500{"The current firmware version is 5.00." + kConfirmTail, MessageIcon::Warning};
const Box kConfirmUnknown{"The printer version is unknown." + kConfirmTail, MessageIcon::Warning};
const std::string kNoCommunication =
    "Cannot communicate with the printer. Make sure that the printer is turned "
    "on and that the cables are correctly connected.";
const std::string kFailed = "Transfer failed.\nPerform the operation again from the beginning.";
const std::string kCompleted = "Completed the firmware update for VR-380MX.";

class UpdateProcedureTest : public TransferFixture {
protected:
    bool Run()
    {
        CUpdateDlg dialog;
        dialog.m_strPrinter = kPrinter;
        return dialog.RunFirmwareUpdate();
    }

    // The transfer worker alone, under the progress dialog.
    static void RunWorker(const TransferJobList& jobs, std::uint32_t total)
    {
        CProgressDlg dialog;
        g_nTotalBytes = total;
        g_pfnWorker = SendJobFiles;
        g_pWorkerParam = &jobs;
        EXPECT_EQ(dialog.DoModal(), platform::ID_OK);
    }

    bool ProgressDialogRan() const { return IndexOf(IDD_PROGRESS, "create") >= 0; }

    // The machine was kept awake and the session's end refused while the
    // progress dialog ran, and let go after.
    static void ExpectKeptUpOnlyWhileSending()
    {
        const std::uint32_t continuous = platform::EXECUTION_CONTINUOUS;
        EXPECT_EQ(platform::headless::PowerCalls(),
                  (std::vector<platform::headless::PowerCall>{
                      {"SetThreadExecutionState", continuous | platform::EXECUTION_SYSTEM_REQUIRED, {}, nullptr},
                      {"SetThreadExecutionState", continuous, {}, nullptr}}));
        EXPECT_TRUE(platform::SessionMayEnd());
    }
};

TEST_F(UpdateProcedureTest, CompleteTransfer_ShowsEveryStepAndCompletes_EnterOrEscapeWhileSendingChangeNothing)
{
    auto& printer = Connect("progress.step = 50\nversion = 5.00");
    WriteDataFile(300);
    platform::headless::UiScript script;
    script.onEvent = [](platform::Dialog& dialog, const UiEvent& event) {
        if (event.dialogId == IDD_PROGRESS && event.op == "disable" && event.controlId == platform::ID_CANCEL) {
            platform::headless::PressEnter(dialog);
            platform::headless::PressEscape(dialog);
        }
    };
    platform::headless::SetUiScript(std::move(script));

    EXPECT_TRUE(Run());

    EXPECT_EQ(Boxes(), (std::vector<Box>{kConfirm500, {kCompleted, MessageIcon::Information}}));
    EXPECT_EQ(std::tuple(MessageBoxes()[0].buttons, g_nTransferResult, printer.GetScenario().version),
              std::tuple(platform::MessageButtons::YesNo, TRANSFER_OK, "5.10"));
    // The dialog's own update, then the library's reports at 0, 50 and 100.
    ExpectPercentsShownOf({0, 50, 100});
    EXPECT_EQ(TextsOf(IDD_PROGRESS, IDC_TRANSFER_STATUS).back(), "Transferring");
    // At 100 % the operating dialog takes over, and stays one second after
    // the worker has finished; the run ends before it goes.
    const int operating = IndexOf(IDD_OPERATING, "show");
    const int hidden = IndexOf(IDD_PROGRESS, "hide", 0, operating);
    const int notice = IndexOf(IDD_PROGRESS, "command", platform::ID_OK, hidden);
    const int wait = IndexOf(IDD_PROGRESS, "timer.set", 0, notice);
    const int end = IndexOf(IDD_PROGRESS, "end", 0, wait);
    // Each search starts where the one before matched, and a miss fails all after it.
    ASSERT_GE(IndexOf(IDD_OPERATING, "destroy", 0, end), 0);
    EXPECT_EQ(platform::headless::UiEvents()[static_cast<std::size_t>(wait)].value2, 1000);
    EXPECT_EQ(g_pOperatingDlg, nullptr);

    // One TRCmdInit before the series of files, one TRSendFile per file.
    const auto calls = Calls();
    const auto send = std::ranges::find(calls, "TRSendFile");
    ASSERT_NE(send, calls.end());
    EXPECT_EQ(std::pair(*(send - 4), printer.Log().back().limit), std::pair(std::string("TRCmdInit"), 500000));
    ExpectKeptUpOnlyWhileSending();
}

TEST_F(UpdateProcedureTest, FailuresBeforeTheTransfer_ShowTheirMessageAndStopWhereTheyHappen)
{
    const Box modelDiffers{"The printer model information is different.", MessageIcon::Error};
    const Box systemDiffers{"The printer system information is different.", MessageIcon::Error};
    struct Row {
        const char* scenario;
        std::int32_t announced;  // by the data file; no file when negative
        bool yes;                // the answer to the confirmation
        std::vector<Box> boxes;
        const char* lastCall;  // of the simulated libraries, or none at all
    };
    const Row rows[] = {
        // Reported before the printer is asked anything.
        {"", -1, true, {{"Error : Data file is not found.", MessageIcon::Error}}, nullptr},
        // The version unwritten ends silently; unanswered, the question goes
        // without it, and No goes no further.
        {"fail = mode.write", 300, true, {}, "TMWriteFile"},
        {"silent = version.read\nsilent.wait_ms = 0", 300, false, {kConfirmUnknown}, "TMReadFile"},
        {"tr.TRGetStatus = 4", 300, true, {kConfirm500, {kNoCommunication, MessageIcon::Warning}}, "TRGetStatus"},
        {"reply.model = 80 00 00 00 00 31", 300, true, {kConfirm500, modelDiffers}, "TMReadFile"},
        {"fail = model.read", 300, true, {kConfirm500, modelDiffers}, "TMReadFile"},
        {"system = 2", 300, true, {kConfirm500, systemDiffers}, "TMReadFile"},
        {"fail = sys_final.write", 300, true, {kConfirm500, systemDiffers}, "TMWriteFile"},
        // No data announced: fails before the progress dialog.
        {"", 0, true, {kConfirm500, {kFailed, MessageIcon::Warning}}, "TMWriteFile"},
    };
    // The record of each, whole.
    const std::string found = "event=check check=data-file result=passed | ";
    const std::string yes = found + "event=version result=replied version=5.00 | event=answer answer=yes | ";
    const std::string model = yes + "event=check check=transfer-library result=passed | event=check check=model ";
    const std::string checked = model + "result=passed | event=check check=system result=";
    const std::string system = checked + "failed | event=message id=";
    const std::string records[] = {
        "event=check check=data-file result=failed | event=message id=data-file-not-found",
        found + "event=version result=unsent",
        found + "event=version result=no-reply version=unknown | event=answer answer=no",
        yes + "event=check check=transfer-library result=failed | event=message id=1910",
        model + "result=failed | event=message id=model-differs",
        model + "result=failed | event=message id=model-differs",
        system + "system-differs",
        system + "system-differs",
        checked + "passed | event=header length=0 printer_id=0x3831 | event=message id=1911",
    };
    const auto* record = std::begin(records);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.scenario);
        TearDown();
        SetUp();
        GiveLocalAppData();
        Connect(row.scenario);
        if (row.announced >= 0) {
            WriteDataFile(row.announced);
        }
        if (!row.yes) {
            platform::headless::UiScript script;
            script.onMessageBox = [](const MessageBoxRecord&) { return platform::ID_NO; };
            platform::headless::SetUiScript(std::move(script));
        }
        EXPECT_FALSE(Run());
        EXPECT_EQ(Boxes(), row.boxes);
        EXPECT_EQ(RecordLines(), *record++);
        const auto calls = Calls();
        EXPECT_EQ(calls.empty() ? "" : calls.back(), row.lastCall == nullptr ? "" : row.lastCall);
        EXPECT_FALSE(ProgressDialogRan() || !platform::headless::PowerCalls().empty());
    }
}

TEST_F(UpdateProcedureTest, TransferFailures_EndInTheFailureMessage)
{
    struct Row {
        const char* name;
        const char* scenario;
        std::int32_t announced;
        std::size_t actual;
        std::uint16_t printerId;
        std::vector<Box> boxes;
        std::int32_t result;
    };
    const Box failed{kFailed, MessageIcon::Error};
    const Box otherId{"A printer ID error occurred.", MessageIcon::Warning};
    const Box cancelled{"Transferring cancelled.", MessageIcon::Warning};
    constexpr std::uint16_t own = sim::kDefaultPrinterId;
    const Row rows[] = {
        {"library fails", "tr.TRSendFile = 5", 300, 300, own, {kConfirm500, failed}, 5},
        // Result codes: the library's, 8 for cancelled; the program's own, 7 for another printer id, -2 for a
        // data file that cannot be sent, -3 for a worker that cannot start.
        {"library cancels", "tr.TRSendFile = 8", 300, 300, own, {kConfirm500, cancelled}, 8},
        {"a byte short", "", 300, 299, own, {kConfirm500, failed}, -2},
        // Found short by its length, before 2 GiB are given for its data.
        {"no data for 2 GiB", "", 0x7FFFFFFF, 0, own, {kConfirm500, failed}, -2},
        // The dialog closes at once when its worker cannot start.
        {"no worker", "", 300, 300, own, {kConfirm500, failed}, -3},
        {"other printer id", "", 300, 300, 0x1234, {kConfirm500, otherId, failed}, 7},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TearDown();
        SetUp();
        Connect(row.scenario);
        WriteDataFile(row.announced, row.actual, 0, row.printerId);
        platform::headless::RefuseThreads(row.result == -3);
        EXPECT_FALSE(Run());
        EXPECT_EQ(Boxes(), row.boxes);
        EXPECT_EQ(std::tuple(g_nTransferResult, Called("TRSendFile"), ProgressDialogRan()),
                  std::tuple(row.result, row.scenario[0] != '\0', true));
        ExpectKeptUpOnlyWhileSending();
        // The data is read only for a file that goes to the library.
        EXPECT_EQ(std::ranges::count_if(platform::headless::FileAccesses(),
                                        [](const auto& access) { return access.op == "read" && access.offset == 64; }),
                  Called("TRSendFile") ? 1 : 0);
    }
    // The printer id message comes from the worker, while the dialog is up.
    EXPECT_FALSE(MessageBoxes()[1].fromUiThread);
}

TEST_F(UpdateProcedureTest, CancelBeforeTheFirstReport_StopsTheTransfer)
{
    auto& printer = Connect();
    WriteDataFile(300);
    HoldSend();
    platform::headless::UiScript script;
    script.onShown = [](platform::Dialog& dialog) {
        EXPECT_FALSE(platform::headless::QueryEndSession(dialog));
        EXPECT_TRUE(platform::headless::ClickButton(dialog, platform::ID_CANCEL));
        g_sendMayGo.release();
    };
    platform::headless::SetUiScript(std::move(script));
    EXPECT_FALSE(Run());
    EXPECT_EQ(std::tuple(g_nTransferResult, printer.Log().back().note),
              std::tuple(TRANSFER_CANCELLED, "cancelled at 0"));
    ExpectKeptUpOnlyWhileSending();
    EXPECT_EQ(Boxes().back(), (Box{"Transferring cancelled.", MessageIcon::Warning}));
    // Enabled by the dialog's own first update, disabled by the first report.
    const int enabled = IndexOf(IDD_PROGRESS, "enable", platform::ID_CANCEL);
    EXPECT_TRUE(enabled >= 0 && IndexOf(IDD_PROGRESS, "disable", platform::ID_CANCEL) > enabled);
}

TEST_F(UpdateProcedureTest, Worker_FirstFileFails_SecondIsNeverOpened)
{
    // A file for another printer, and one gone when the worker comes.
    for (const auto& [first, result] : {std::pair{"first.pd3", 7}, std::pair{"missing.pd3", -2}}) {
        SCOPED_TRACE(first);
        TearDown();
        SetUp();
        Connect();
        WriteDataFile(300, std::nullopt, 0, 0x1234, "first.pd3");
        WriteDataFile(100, std::nullopt, 0, sim::kDefaultPrinterId, "second.pd3");
        RunWorker({first, "second.pd3"}, 400);
        EXPECT_EQ(std::pair(g_nTransferResult, Called("TRSendFile")), std::pair(result, false));
        EXPECT_TRUE(std::ranges::none_of(platform::headless::FileAccesses(),
                                         [](const auto& access) { return access.path == "second.pd3"; }));
    }
}

TEST_F(UpdateProcedureTest, Worker_TwoFiles_AreSentInOrderAndCounted_BytesAfterTheAnnouncedDataNeverRead)
{
    auto& printer = Connect("progress.step = 50");
    EXPECT_EQ(SendJobFiles(nullptr), 0u);  // no job list: nothing sent, the thread's exit code 0
    // The second file's folder and title are 表, in Shift JIS 0x95 0x5C: a
    // trail byte is no separator.
    platform::headless::SetDoubleByteCodePage(true);
    WriteDataFile(300, std::nullopt, 4096, sim::kDefaultPrinterId, "sub/dir/first.pd3");
    WriteDataFile(100, std::nullopt, 0, sim::kDefaultPrinterId, "表/表.pd3");
    RunWorker({"sub/dir/first.pd3", "\x95\x5C\\\x95\x5C.pd3"}, 400);
    EXPECT_EQ(std::tuple(g_nTransferResult, g_nDoneBytes, g_strFileTitle), std::tuple(TRANSFER_OK, 400u, "\x95\x5C"));
    EXPECT_EQ(std::ranges::count(Calls(), "TRSendFile"), 2);
    // 0, 37, 75, then 87 and 100 for the second file.
    ExpectPercentsShownOf({0, 37, 75, 87, 100});
    EXPECT_EQ(printer.Log().back().length, 100);
    EXPECT_TRUE(std::ranges::all_of(platform::headless::FileAccesses(), [](const auto& access) {
        return access.op != "read" || access.offset + access.requested <= 64u + 300u;
    }));
    // The reset every suite starts from leaves no count behind, nor a notice pending.
    g_progressExchange.noticePending = true;
    ResetTransferState();
    EXPECT_EQ(std::tuple(g_nDoneBytes, g_strFileTitle, g_progressExchange.noticePending), std::tuple(0u, "", false));
}

// Made before the library table and freed at exit after it, as the
// program's own library handles are.
platform::Library g_heldAtExit;

TEST(LibraryTable, LibraryHeldUntilExit_IsFreedAfterTheTable)
{
    platform::headless::RegisterLibrary("held.dll", {});
    g_heldAtExit = platform::Library::Load("HELD.DLL");
    EXPECT_TRUE(g_heldAtExit);  // AddressSanitizer judges its release at exit
}

using FirmwareFileTest = transfer_test::TransferFixture;

TEST_F(FirmwareFileTest, ShortHeader_KeepsTheDefaults)
{
    const std::string path = "sub/short.pd3";
    WriteFile(path, {0x11, 0x22, 0x31, 0x38});
    // Names are matched without regard to case, as on Windows.
    EXPECT_TRUE(platform::FileExists("SUB\\Short.PD3"));
    CFirmwareFile file("Sub/SHORT.pd3", platform::File::modeRead);
    EXPECT_EQ(std::tuple(file.m_header.bytes[0], file.m_header.PrinterId(), file.m_header.DataLength()),
              std::tuple(0x11, 0x3831, 0));
    file.Close();
    std::filesystem::remove(path);
    EXPECT_THROW(CFirmwareFile(path, platform::File::modeRead), platform::FileException);
}

// A record that cannot be written changes nothing of the update: a folder
// where the record goes, a read-only record, a full disk (and no local
// application-data folder at all, as for the other tests here).
TEST_F(UpdateProcedureTest, RecordThatCannotBeWritten_LeavesTheUpdateAsItIs)
{
    namespace fs = std::filesystem;
    const std::function<void()> spoilers[] = {
        [] { fs::create_directory(kRecord); },
        [] {
            WriteFile(kRecord, {});
            fs::permissions(kRecord, fs::perms::owner_write, fs::perm_options::remove);
        },
        [] { fs::create_symlink("/dev/full", kRecord); },
    };
    for (const auto& spoil : spoilers) {
        TearDown();
        SetUp();
        Connect();
        WriteDataFile(300);
        GiveLocalAppData();
        fs::create_directories(fs::path(kRecord).parent_path());
        spoil();
        EXPECT_TRUE(Run());
        EXPECT_EQ(Boxes(), (std::vector<Box>{kConfirm500, {kCompleted, MessageIcon::Information}}));
        EXPECT_FALSE(fs::is_regular_file(kRecord) && fs::file_size(kRecord) > 0);
    }
}

// The line that fills the record to 1 MiB to the byte still goes in; the next
// one begins a new file, the full one becoming the .1 in place of the older.
TEST_F(UpdateProcedureTest, Record_PastOneMebibyte_BeginsANewFile)
{
    namespace fs = std::filesystem;
    constexpr std::uintmax_t kMebibyte = 1024 * 1024;
    const std::string older = std::string(kRecord) + ".1";
    GiveLocalAppData();
    UpdateRecord record;
    record.Message(IDS_UPDATE_COMPLETED);
    const auto line = ReadBytes(kRecord);
    fs::resize_file(kRecord, kMebibyte - line.size());
    WriteFile(older, {'o'});
    record.Message(IDS_UPDATE_COMPLETED);
    EXPECT_EQ(std::tuple(fs::file_size(kRecord), ReadBytes(older)), std::tuple(kMebibyte, "o"));
    record.Message(IDS_UPDATE_COMPLETED);
    EXPECT_EQ(std::tuple(fs::file_size(older), ReadBytes(kRecord)), std::tuple(kMebibyte, line));
}

}  // namespace
