// The progress dialog and its callback: the overall percentage, what the
// dialog shows, the hand-over to the operating dialog, and how the dialog
// ends. The test's own worker routine makes the library's reports.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <ranges>
#include <semaphore>
#include <string>

#include "platform/headless/process_table.h"
#include "platform/headless/ui_driver.h"
#include "res/resource.h"
#include "transfer/progress_dlg.h"
#include "transfer/transfer_library.h"
#include "transfer_fixture.h"

namespace {

using platform::headless::UiEvent;
using platform::headless::UiEvents;
using transfer_test::TextsOf;

std::function<void()> g_work;

std::uint32_t RunTestWork(const TransferJobList* /*jobs*/)
{
    g_work();
    return 0;
}

class ProgressDlgTest : public ::testing::Test {
protected:
    void SetUp() override { TearDown(); }
    void TearDown() override
    {
        ResetTransferState();
        platform::headless::ResetUi();
        platform::headless::ResetProcess();
    }

    // Runs the dialog with the work, if any, as worker routine; fails unless
    // the dialog ends with OK (with a worker, through the completion notice).
    static void Run(std::uint32_t total, std::function<void()> work, platform::Dialog* owner = nullptr)
    {
        g_work = std::move(work);
        CProgressDlg dialog(owner);
        g_nTotalBytes = total;
        g_pfnWorker = g_work ? RunTestWork : nullptr;
        EXPECT_EQ(dialog.DoModal(), platform::ID_OK);
    }

    // The events of one dialog, in order; only those of one operation if given.
    static std::vector<UiEvent> EventsOf(int dialogId, std::string_view op = {})
    {
        std::vector<UiEvent> events;
        std::ranges::copy_if(UiEvents(), std::back_inserter(events),
                             [&](const UiEvent& e) { return e.dialogId == dialogId && (op.empty() || e.op == op); });
        return events;
    }

    // A label's text, asked by the test's worker: a window call that waits
    // for the dialog's thread, which has then handled every notice posted
    // before it.
    static std::string Shown(int controlId) { return g_pProgressDlg->GetItemText(controlId); }

    // A notice of the reports arriving at the dialog.
    static bool IsNotice(const UiEvent& e)
    {
        return e.op == "command" && e.text == "posted" && e.controlId != platform::ID_OK;
    }
};

TEST_F(ProgressDlgTest, OverallPercentage_CountsTheFilesAlreadySentAndLargeTotalsDoNotWrap_LongTitlesAreCut)
{
    // In Shift JIS: 32 characters in 33 bytes, the last one 表 (0x95 0x5C).
    platform::headless::SetDoubleByteCodePage(true);
    const std::string title32 = std::string(31, 'T') + "\x95\x5C";
    struct Row {
        std::uint32_t total, done, file;
        int percent;
        std::string shown, title, status;
    };
    // Beyond 42,949,672 bytes, 32-bit products would wrap.
    for (const auto& row : {Row{400, 300, 100, 50, "87 %", title32 + "6", "Transferring " + title32 + "..."},
                            Row{42'949'672u, 0, 42'949'672u, 50, "50 %", title32, "Transferring " + title32},
                            Row{2'147'483'600u, 0, 2'147'483'600u, 99, "99 %", "", "Transferring "}}) {
        SCOPED_TRACE(row.total);
        platform::headless::ResetUi();
        platform::headless::SetResourceString(IDS_TRANSFERRING, "Transferring %s");
        Run(row.total, [&] {
            g_nDoneBytes = row.done;
            g_nFileBytes = row.file;
            g_strFileTitle = row.title;
            EXPECT_EQ(TransferProgress(row.percent), 1);
        });
        // The bar stands where the percentage says.
        EXPECT_EQ(std::tuple(TextsOf(IDD_PROGRESS, IDC_TRANSFER_PERCENT).back(),
                             TextsOf(IDD_PROGRESS, IDC_TRANSFER_STATUS).back(),
                             EventsOf(IDD_PROGRESS, "progress.pos").back().value),
                  std::tuple(row.shown, row.status, std::stoi(row.shown)));
    }
}

// A report never waits for the dialog: it records what changed and posts a
// notice, none while one is pending (the reports meanwhile ride on it), none
// for what changes nothing; out of range or without a total it asks to stop.
// The dialog's thread shows the latest, touching only what changed, and looks
// again on its timer until a look finds nothing new: the next change posts.
TEST_F(ProgressDlgTest, Reports_PostOnlyChangesAndRideOnAPendingNotice_TheDialogShowsTheLatest)
{
    std::binary_semaphore reportsMade{0};
    std::counting_semaphore<> looked{0};
    bool held = false;
    platform::headless::UiScript script;
    script.onEvent = [&](platform::Dialog&, const UiEvent& e) {
        if (IsNotice(e) && !std::exchange(held, true)) {
            reportsMade.acquire();  // the dialog's thread is busy with something else
        }
        e.op == "timer" ? looked.release() : void();
    };
    platform::headless::SetUiScript(std::move(script));
    Run(1000, [&] {
        g_nFileBytes = 1000;
        for (int i = 0; i < 1000; ++i) {
            EXPECT_EQ(TransferProgress(0), 1);  // as the dialog shows already
        }
        EXPECT_EQ(std::pair(TransferProgress(101), TransferProgress(-1)), std::pair(0, 0));
        g_nTotalBytes = 0;
        EXPECT_EQ(TransferProgress(50), 0);
        g_nTotalBytes = 1000;
        EXPECT_EQ(TransferProgress(10), 1);
        g_bCancelAllowed = 0;
        EXPECT_EQ(TransferProgress(50), 1);
        reportsMade.release();
        EXPECT_TRUE(looked.try_acquire_for(std::chrono::seconds(5)) && Shown(IDC_TRANSFER_PERCENT) == "50 %");
        EXPECT_EQ(TransferProgress(60), 1);
    });
    const auto events = UiEvents();
    // Two notices; a look every 100 ms, one after each notice, which finds nothing new and stops; then the linger.
    EXPECT_EQ(std::tuple(std::ranges::count_if(events, IsNotice), EventsOf(IDD_PROGRESS, "timer.set").front().value2,
                         EventsOf(IDD_PROGRESS, "timer").size()),
              std::tuple(2, 100, std::size_t{3}));
    EXPECT_TRUE(std::ranges::none_of(events, &UiEvent::fromOtherThread));
    EXPECT_EQ(TextsOf(IDD_PROGRESS, IDC_TRANSFER_PERCENT), (std::vector<std::string>{"0 %", "50 %", "60 %"}));
    EXPECT_EQ(EventsOf(IDD_PROGRESS, "disable").size(), 1u);
}

// Which came first, the user's Cancel or the report that disables it, is
// decided once: a click before the report stops the transfer, a click after
// it is ignored although the button still showed enabled.
TEST_F(ProgressDlgTest, CancelAndTheReportThatDisablesIt_TheFirstOneWins)
{
    for (const bool clickFirst : {true, false}) {
        SCOPED_TRACE(clickFirst ? "click first" : "report first");
        TearDown();
        bool clicked = false;
        platform::headless::UiScript script;
        // As the dialog shows, or as the report's notice arrives, before it is shown.
        script.onEvent = [&](platform::Dialog& dialog, const UiEvent& e) {
            if (e.dialogId == IDD_PROGRESS && (clickFirst ? e.op == "show" : IsNotice(e)) && !clicked) {
                clicked = platform::headless::ClickButton(dialog, platform::ID_CANCEL);
            }
        };
        platform::headless::SetUiScript(std::move(script));
        Run(100, [clickFirst] {
            Shown(IDC_TRANSFER_PERCENT);  // the dialog has shown and the user had a go
            g_bCancelAllowed = 0;         // the worker starts its file
            EXPECT_EQ(TransferProgress(0), clickFirst ? 0 : 1);
            EXPECT_EQ(TransferProgress(50), clickFirst ? 0 : 1);
        });
        EXPECT_TRUE(clicked);
    }
}

TEST_F(ProgressDlgTest, MoreDataThanAnnounced_SwitchesToTheOperatingDialogWhereTheProgressDialogWas)
{
    Run(400, [] {
        g_pProgressDlg->MoveToTop(-300, 41);  // where the user has dragged it
        g_nDoneBytes = 300;
        g_nFileBytes = 200;
        EXPECT_EQ(TransferProgress(100), 1);  // 125 %
        // From now on reports change nothing, and cancelling is too late.
        g_bCancelRequested = 1;
        EXPECT_EQ(TransferProgress(40), 1);
    });
    EXPECT_EQ(TextsOf(IDD_PROGRESS, IDC_TRANSFER_PERCENT),
              std::vector<std::string>{"0 %"});  // as the dialog's own first update left it
    auto shows = EventsOf(IDD_PROGRESS) | std::views::transform(&UiEvent::op) |
                 std::views::filter([](const std::string& op) { return op == "show" || op == "hide"; });
    EXPECT_EQ(std::vector<std::string>(shows.begin(), shows.end()), (std::vector<std::string>{"show", "hide"}));
    // The operating dialog shows before the progress dialog hides, so that
    // the activation passes from one to the other.
    const auto events = UiEvents();
    const auto at = [&events](int dialogId, const std::string& op) {
        return std::ranges::find_if(events, [&](const UiEvent& e) { return e.dialogId == dialogId && e.op == op; });
    };
    EXPECT_LT(at(IDD_OPERATING, "show"), at(IDD_PROGRESS, "hide"));
    const auto moves = EventsOf(IDD_OPERATING, "move");
    ASSERT_FALSE(moves.empty());
    // Both are 274 pixels wide; 250 and 74 high.
    EXPECT_EQ(std::pair(moves.back().value, moves.back().value2), std::pair(-300, 41 + (250 - 74) / 2));
}

TEST_F(ProgressDlgTest, Initialisation_CentresOnTheOwnerCaptionsAndPlaysTheClip)
{
    const auto firstMove = [](int dialogId) {
        return std::pair(EventsOf(dialogId, "move").at(0).value, EventsOf(dialogId, "move").at(0).value2);
    };
    platform::Dialog main(IDD_VR38UPDATE_DIALOG);
    ASSERT_TRUE(main.Create());
    main.MoveToTop(-300, 41);
    platform::SetMainWindow(&main);
    platform::headless::SetResourceString(IDS_TRANSFERRING, "Transferring %s");
    g_strFileTitle = "left over";  // from an earlier transfer
    const auto idle = [] {};
    Run(100, idle, &main);
    // The main window is 375 x 208 pixels; the operating dialog starts centred
    // on it too.
    EXPECT_EQ(firstMove(IDD_PROGRESS), (std::pair{(-300 + 75 - 274) / 2, (41 + 249 - 250) / 2}));
    EXPECT_EQ(firstMove(IDD_OPERATING), (std::pair{(-300 + 75 - 274) / 2, (41 + 249 - 74) / 2}));
    const auto events = EventsOf(IDD_PROGRESS);
    EXPECT_TRUE(std::ranges::none_of(events, [](const UiEvent& e) { return e.text.ends_with("left over"); }));
    EXPECT_TRUE(
        std::ranges::any_of(events, [](const UiEvent& e) { return e.op == "caption" && e.text == "VR38Update"; }));
    EXPECT_TRUE(std::ranges::any_of(events, [](const UiEvent& e) {
        return e.op == "animation.open" && e.controlId == IDC_TRANSFER_ANIMATION && e.value == IDR_TRANSFER_CLIP;
    }));
}

// Enter again in the second the operating dialog stays changes nothing; a
// report once the dialog has gone asks to stop.
TEST_F(ProgressDlgTest, WithoutWorker_EnterEndsTheDialog_OnceOnly)
{
    platform::headless::UiScript script;
    script.onShown = [](platform::Dialog& dialog) { platform::headless::PressEnter(dialog); };
    script.onEvent = [](platform::Dialog& dialog, const UiEvent& e) {
        e.op == "timer.set" ? platform::headless::PressEnter(dialog) : void();
    };
    platform::headless::SetUiScript(script);
    Run(100, {});
    EXPECT_EQ(std::pair(EventsOf(IDD_PROGRESS, "timer.set").size(), TransferProgress(0)), std::pair(std::size_t{1}, 0));
}

}  // namespace
