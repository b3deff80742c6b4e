// The progress dialog and its callback: the overall percentage, what the
// dialog shows, the hand-over to the operating dialog, and how the dialog
// ends. The test's own worker routine makes the library's reports.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

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
    void SetUp() override
    {
        ResetTransferState();
        platform::headless::ResetUi();
    }
    void TearDown() override
    {
        ResetTransferState();
        platform::headless::ResetUi();
    }

    // Runs the dialog with the work as worker routine; fails unless the
    // dialog ends through the completion notice.
    static void Run(std::uint32_t total, std::function<void()> work)
    {
        g_work = std::move(work);
        CProgressDlg dialog;
        g_nTotalBytes = total;
        g_pfnWorker = RunTestWork;
        EXPECT_EQ(dialog.DoModal(), platform::ID_OK);
    }

    static std::vector<UiEvent> EventsOf(int dialogId)
    {
        std::vector<UiEvent> events;
        for (const auto& event : UiEvents()) {
            if (event.dialogId == dialogId) {
                events.push_back(event);
            }
        }
        return events;
    }

    static std::string LastPercentText()
    {
        std::string text;
        for (const auto& event : EventsOf(IDD_PROGRESS)) {
            if (event.op == "text" && event.controlId == IDC_TRANSFER_PERCENT) {
                text = event.text;
            }
        }
        return text;
    }
};

TEST_F(ProgressDlgTest, OverallPercentage_CountsTheFilesAlreadySent)
{
    Run(400, [] {
        g_nDoneBytes = 300;
        g_nFileBytes = 100;
        EXPECT_EQ(TransferProgress(50), 1);
    });
    EXPECT_EQ(LastPercentText(), "87 %");
    EXPECT_EQ(g_nPercent, 87);
    EXPECT_EQ(EventsOf(IDD_PROGRESS).back().op, "destroy");
}

TEST_F(ProgressDlgTest, LargeTotals_GiveTheRightPercentage)
{
    // Beyond 42,949,672 bytes, 32-bit products would wrap.
    for (const std::uint32_t total : {42'949'672u, 100'000'000u, 2'147'483'600u}) {
        SCOPED_TRACE(total);
        platform::headless::ResetUi();
        Run(total, [total] {
            g_nFileBytes = total;
            TransferProgress(50);
            EXPECT_EQ(LastPercentText(), "50 %");
            TransferProgress(100);
            EXPECT_EQ(LastPercentText(), "100 %");
        });
    }
}

TEST_F(ProgressDlgTest, PercentageOutOfRangeOrNoTotal_AsksToStopAndChangesNothing)
{
    Run(400, [] {
        g_nFileBytes = 400;
        const auto before = UiEvents().size();
        EXPECT_EQ(TransferProgress(101), 0);
        EXPECT_EQ(TransferProgress(-1), 0);
        g_nTotalBytes = 0;
        EXPECT_EQ(TransferProgress(50), 0);
        EXPECT_EQ(UiEvents().size(), before);
        g_nTotalBytes = 400;
    });
}

TEST_F(ProgressDlgTest, MoreDataThanAnnounced_SwitchesToTheOperatingDialog)
{
    Run(400, [] {
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
    const auto progress = EventsOf(IDD_PROGRESS);
    EXPECT_TRUE(std::ranges::any_of(progress, [](const UiEvent& e) { return e.op == "hide" && e.fromOtherThread; }));
    const auto operating = EventsOf(IDD_OPERATING);
    EXPECT_TRUE(std::ranges::any_of(operating, [](const UiEvent& e) { return e.op == "show"; }));
}

TEST_F(ProgressDlgTest, LongFileTitle_IsCutTo32Characters)
{
    platform::headless::SetResourceString(IDS_TRANSFERRING, "Transferring %s");
    const std::string title40 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd";
    Run(100, [&] {
        g_nFileBytes = 100;
        g_strFileTitle = title40;
        TransferProgress(10);
        g_strFileTitle = title40.substr(0, 32);
        TransferProgress(20);
    });
    std::vector<std::string> texts;
    for (const auto& event : EventsOf(IDD_PROGRESS)) {
        if (event.op == "text" && event.controlId == IDC_TRANSFER_STATUS) {
            texts.push_back(event.text);
        }
    }
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[1], "Transferring " + title40.substr(0, 32) + "...");
    EXPECT_EQ(texts[2], "Transferring " + title40.substr(0, 32));
}

TEST_F(ProgressDlgTest, Initialisation_ShowsTheStartStateBeforeTheWorkerRuns)
{
    Run(100, [] {});
    const auto events = EventsOf(IDD_PROGRESS);
    auto has = [&](const std::string& op, int control, const std::string& text = {}, int value = 0) {
        return std::ranges::any_of(events, [&](const UiEvent& e) {
            return e.op == op && e.controlId == control && e.text == text && e.value == value && !e.fromOtherThread;
        });
    };
    EXPECT_TRUE(has("caption", 0, "VR38Update"));
    EXPECT_TRUE(has("animation.open", IDC_TRANSFER_ANIMATION, "transfer.avi", IDR_TRANSFER_CLIP));
    EXPECT_TRUE(has("progress.pos", IDC_TRANSFER_PROGRESS, {}, 0));
    EXPECT_TRUE(has("enable", platform::ID_CANCEL));
    EXPECT_TRUE(has("text", IDC_TRANSFER_STATUS, "Transferring"));
    EXPECT_TRUE(has("text", IDC_TRANSFER_PERCENT, "0 %"));
    // The operating dialog exists from the start, hidden, and is gone after.
    const auto operating = EventsOf(IDD_OPERATING);
    ASSERT_GE(operating.size(), 3u);
    EXPECT_EQ(operating[0].op, "create");
    EXPECT_EQ(operating.back().op, "destroy");
}

TEST_F(ProgressDlgTest, OperatingDialog_IsCentredOnTheMainWindowOrTheScreen)
{
    auto moveOf = [] {
        const auto events = UiEvents();
        const auto move = std::ranges::find_if(
            events, [](const UiEvent& e) { return e.dialogId == IDD_OPERATING && e.op == "move"; });
        return move == events.end() ? std::pair{-1, -1} : std::pair{move->value, move->value2};
    };
    Run(100, [] {});
    EXPECT_EQ(moveOf(), (std::pair{(1024 - 274) / 2, (768 - 74) / 2}));

    platform::Dialog main(IDD_PROGRESS);
    ASSERT_TRUE(main.Create());
    main.MoveToTop(-300, 41);
    platform::SetMainWindow(&main);
    const auto outer = main.GetWindowRect();
    platform::headless::ResetUi();
    platform::SetMainWindow(&main);
    Run(100, [] {});
    EXPECT_EQ(moveOf(), (std::pair{(outer.left + outer.right - 274) / 2, (outer.top + outer.bottom - 74) / 2}));
}

TEST_F(ProgressDlgTest, WithoutWorker_EnterEndsTheDialog)
{
    platform::headless::UiScript script;
    script.onShown = [](platform::Dialog& dialog) { platform::headless::PressEnter(dialog); };
    platform::headless::SetUiScript(script);
    CProgressDlg dialog;
    g_nTotalBytes = 100;
    EXPECT_EQ(dialog.DoModal(), platform::ID_OK);
}

}  // namespace
