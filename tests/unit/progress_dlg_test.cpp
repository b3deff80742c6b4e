// The progress dialog and its callback: the overall percentage, what the
// dialog shows, the hand-over to the operating dialog, and how the dialog
// ends. The test's own worker routine makes the library's reports.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <ranges>
#include <string>

#include "platform/headless/process_table.h"
#include "platform/headless/ui_driver.h"
#include "res/resource.h"
#include "transfer/progress_dlg.h"
#include "transfer/transfer_library.h"

namespace {

using platform::headless::UiEvent;
using platform::headless::UiEvents;

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

    static std::string LastPercentText()
    {
        const auto texts = EventsOf(IDD_PROGRESS, "text");
        const auto last = std::ranges::find(texts | std::views::reverse, IDC_TRANSFER_PERCENT, &UiEvent::controlId);
        return last == texts.rend() ? "" : last->text;
    }
};

TEST_F(ProgressDlgTest, OverallPercentage_CountsTheFilesAlreadySentAndLargeTotalsDoNotWrap)
{
    struct Row {
        std::uint32_t total, done, file;
        int percent;
        std::string shown;
    };
    // Beyond 42,949,672 bytes, 32-bit products would wrap.
    for (const auto& row : {Row{400, 300, 100, 50, "87 %"}, Row{42'949'672u, 0, 42'949'672u, 50, "50 %"},
                            Row{2'147'483'600u, 0, 2'147'483'600u, 99, "99 %"}}) {
        SCOPED_TRACE(row.total);
        platform::headless::ResetUi();
        Run(row.total, [&] {
            g_nDoneBytes = row.done;
            g_nFileBytes = row.file;
            EXPECT_EQ(TransferProgress(row.percent), 1);
        });
        EXPECT_EQ(LastPercentText(), row.shown);
    }
}

// Out of range or without a total, a report asks to stop.
TEST_F(ProgressDlgTest, UnchangedOrInvalidReports_MakeNoWindowCall_ChangesTouchOnlyWhatChanged)
{
    platform::headless::SetResourceString(IDS_TRANSFERRING, "Transferring %s");
    // In Shift JIS: 33 characters, the 32nd 表 (0x95 0x5C); the first 32 are
    // its first 33 bytes.
    platform::headless::SetDoubleByteCodePage(true);
    const std::string title33 = std::string(31, 'T') + "\x95\x5C" + "U";
    Run(1000, [&] {
        g_nFileBytes = 1000;
        TransferProgress(50);
        const auto before = UiEvents().size();
        for (int i = 0; i < 1000; ++i) {
            EXPECT_EQ(TransferProgress(50), 1);
        }
        EXPECT_EQ(std::pair(TransferProgress(101), TransferProgress(-1)), std::pair(0, 0));
        g_nTotalBytes = 0;
        EXPECT_EQ(TransferProgress(50), 0);
        g_nTotalBytes = 1000;
        EXPECT_EQ(UiEvents().size(), before);

        g_bCancelAllowed = 0;
        g_strFileTitle = title33;  // cut to 32 characters and "..."
        TransferProgress(50);
        g_strFileTitle = title33.substr(0, 33);
        TransferProgress(50);
        const auto events = UiEvents();
        ASSERT_EQ(events.size(), before + 3);
        EXPECT_EQ(std::tie(events[before].op, events[before].controlId), std::tuple("disable", platform::ID_CANCEL));
        EXPECT_EQ(events[before + 1].text, "Transferring " + title33.substr(0, 33) + "...");
        EXPECT_EQ(events[before + 2].text, "Transferring " + title33.substr(0, 33));
        EXPECT_EQ(g_pProgressDlg->GetItemText(IDC_TRANSFER_PERCENT), "50 %");
    });
}

TEST_F(ProgressDlgTest, MoreDataThanAnnounced_SwitchesToTheOperatingDialogWhereTheProgressDialogWas)
{
    // The report comes before the dialog has ever been seen: it shows once,
    // and once hidden stays hidden.
    Run(400, [] {
        g_pProgressDlg->MoveToTop(-300, 41);  // where the user has dragged it
        g_nDoneBytes = 300;
        g_nFileBytes = 200;
        EXPECT_EQ(TransferProgress(100), 1);  // 125 %
        // From now on reports change nothing, and cancelling is too late.
        const auto before = UiEvents().size();
        g_bCancelRequested = 1;
        EXPECT_EQ(TransferProgress(40), 1);
        EXPECT_EQ(UiEvents().size(), before);
    });
    EXPECT_EQ(LastPercentText(), "0 %");  // as the dialog's own first update left it
    auto shows = EventsOf(IDD_PROGRESS) | std::views::transform(&UiEvent::op) |
                 std::views::filter([](const std::string& op) { return op == "show" || op == "hide"; });
    EXPECT_EQ(std::vector<std::string>(shows.begin(), shows.end()), (std::vector<std::string>{"show", "hide"}));
    const auto operating = EventsOf(IDD_OPERATING);
    const auto moved =
        std::ranges::find_if(operating, [](const UiEvent& e) { return e.op == "move" && e.fromOtherThread; });
    ASSERT_NE(moved, operating.end());
    // Both are 274 pixels wide; 250 and 74 high.
    EXPECT_EQ(std::pair(moved->value, moved->value2), std::pair(-300, 41 + (250 - 74) / 2));
    EXPECT_TRUE(std::ranges::any_of(operating, [](const UiEvent& e) { return e.op == "show"; }));
}

TEST_F(ProgressDlgTest, Initialisation_CentresOnTheOwnerCaptionsAndPlaysTheClip)
{
    auto firstMove = [](int dialogId) {
        const auto moves = EventsOf(dialogId, "move");
        return moves.empty() ? std::pair{-1, -1} : std::pair{moves[0].value, moves[0].value2};
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

TEST_F(ProgressDlgTest, WithoutWorker_EnterEndsTheDialog)
{
    platform::headless::UiScript script;
    script.onShown = [](platform::Dialog& dialog) { platform::headless::PressEnter(dialog); };
    platform::headless::SetUiScript(script);
    Run(100, {});
}

}  // namespace
