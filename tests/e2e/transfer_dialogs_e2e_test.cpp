// Firmware updates through the real Win32 dialogs, under Wine, against the
// stand-in driver libraries, on what only the real dialog manager shows: when
// the progress and operating dialogs are up and whether their thread answers.
// A watcher thread answers the message boxes and, when asked, presses Cancel,
// while the update runs on the main thread. The texts shown are the native
// suites' business.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <thread>

#include "app/update_dlg.h"
#include "channel/raw_io.h"
#include "core/firmware_image.h"
#include "core/scenario.h"
#include "res/resource.h"
#include "transfer/transfer_library.h"
#include "uidriver/ui_driver.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr const char* kPrinter = "Corvane VR-380MX";

// When the library last returned from a file transfer: the worker ends right
// after it.
TRSendFileProc g_libraryTRSendFile = nullptr;
std::atomic<Clock::rep> g_sendReturned{0};

std::int32_t DRIVER_CALL TimedTRSendFile(const std::uint8_t* header64, const std::uint8_t* data, std::int32_t* length,
                                         std::uint8_t* status32, std::int32_t limit, TransferProgressProc progress)
{
    const auto result = g_libraryTRSendFile(header64, data, length, status32, limit, progress);
    g_sendReturned = Clock::now().time_since_epoch().count();
    return result;
}

struct Seen {
    bool cancelClicked = false;
    std::optional<Clock::time_point> operatingShown;
    std::optional<Clock::time_point> operatingGone;
    bool progressBesideOperating = false;  // both dialogs shown at once
    Clock::duration slowestAnswer{};       // of the operating dialog's thread to WM_NULL
    int answers = 0;
    std::vector<std::string> boxes;  // message box texts, in order
};

class Watcher {
public:
    explicit Watcher(bool pressCancel) : m_pressCancel(pressCancel), m_thread([this] { Run(); }) {}
    ~Watcher() { Stop(); }

    Seen Stop()
    {
        m_stop = true;
        if (m_thread.joinable()) {
            m_thread.join();
        }
        return m_seen;
    }

private:
    void Run()
    {
        while (!m_stop) {
            bool operatingVisible = false;
            bool progressVisible = false;
            for (const auto& window : uidriver::TopLevelWindows(::GetCurrentProcessId(), true)) {
                const HWND dialog = window.handle;
                if (window.className != "#32770") {
                    continue;
                }
                const bool visible = ::IsWindowVisible(dialog) != FALSE;
                if (::GetDlgItem(dialog, IDC_TRANSFER_PERCENT) != nullptr) {
                    progressVisible = progressVisible || visible;
                    if (visible && m_pressCancel && !m_seen.cancelClicked &&
                        uidriver::IsItemEnabled(dialog, IDCANCEL)) {
                        uidriver::Click(dialog, IDCANCEL);
                        m_seen.cancelClicked = true;
                    }
                } else if (::GetDlgItem(dialog, IDC_OPERATING_TEXT) != nullptr) {
                    if (visible) {
                        operatingVisible = true;
                        if (!m_seen.operatingShown) {
                            m_seen.operatingShown = Clock::now();
                        }
                        // Its thread keeps answering during the second the dialog
                        // stays (not while Wine takes it off a display that has no
                        // window manager, which may wait two seconds).
                        const auto asked = Clock::now();
                        const auto sent = g_sendReturned.load();
                        if (sent != 0 && asked < Clock::time_point(Clock::duration(sent)) + 900ms) {
                            DWORD_PTR ignored = 0;
                            ::SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
                            m_seen.slowestAnswer = std::max(m_seen.slowestAnswer, Clock::now() - asked);
                            ++m_seen.answers;
                        }
                    }
                } else if (visible && m_answered.insert(dialog).second) {
                    // A message box: its thread is waiting in it, and answers.
                    std::string text;
                    for (const auto& part : uidriver::StaticTexts(dialog)) {
                        text += part;
                    }
                    m_seen.boxes.push_back(text);
                    uidriver::Click(dialog, ::GetDlgItem(dialog, IDYES) != nullptr ? IDYES : IDOK);
                }
            }
            m_seen.progressBesideOperating = m_seen.progressBesideOperating || (progressVisible && operatingVisible);
            if (m_seen.operatingShown && !operatingVisible && !m_seen.operatingGone) {
                m_seen.operatingGone = Clock::now();
            }
            std::this_thread::sleep_for(5ms);
        }
    }

    bool m_pressCancel;
    std::atomic<bool> m_stop{false};
    Seen m_seen;
    std::set<HWND> m_answered;
    std::thread m_thread;  // last: starts once the rest is ready
};

class TransferDialogsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder =
            std::filesystem::temp_directory_path() / ("vr38-dialogs-" + std::to_string(::GetCurrentProcessId()) + "-" +
                                                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_folder);
        m_previousFolder = std::filesystem::current_path();
        std::filesystem::current_path(m_folder);
        ::SetEnvironmentVariableA("VR38SIM_LOG", (m_folder / "calls.log").string().c_str());
        ::SetEnvironmentVariableA("VR38SIM_SCENARIO", (m_folder / "printer.ini").string().c_str());
        g_sendReturned = 0;
    }

    void TearDown() override
    {
        ResetTransferState();
        ResetChannelState();
        std::filesystem::current_path(m_previousFolder);
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

    void Connect(const std::string& scenario, std::uint16_t fileId = sim::kDefaultPrinterId)
    {
        std::ofstream(m_folder / "printer.ini") << scenario;
        const auto file = sim::firmware_image::MakeFirmwareFile(fileId, "5.10", 3000, 3000);
        std::ofstream(m_folder / FIRMWARE_DATA_FILE, std::ios::binary)
            .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
        ASSERT_TRUE(BindRawIoLibrary());
        ASSERT_TRUE(LoadTransferLibrary());
        ASSERT_TRUE(TransferInitPrinter(kPrinter));
        g_wTransferPrinterId = sim::kDefaultPrinterId;
        g_libraryTRSendFile = g_pfnTRSendFile;
        g_pfnTRSendFile = TimedTRSendFile;
    }

    static bool RunUpdate()
    {
        CUpdateDlg dialog;
        dialog.m_strPrinter = kPrinter;
        return dialog.RunFirmwareUpdate();
    }

    std::filesystem::path m_folder;
    std::filesystem::path m_previousFolder;
};

TEST_F(TransferDialogsTest, CompleteTransfer_OperatingDialogStaysASecondAfterTheWorkerAndAnswers)
{
    Connect("version = 5.00\nprogress.step = 50\nprogress.delay_ms = 400\n");
    Watcher watcher(false);
    EXPECT_TRUE(RunUpdate());
    const auto seen = watcher.Stop();

    ASSERT_TRUE(seen.operatingShown && seen.operatingGone);
    const Clock::time_point workerEnd{Clock::duration(g_sendReturned.load())};
    EXPECT_GE(*seen.operatingGone - workerEnd, 1000ms);
    EXPECT_GT(seen.answers, 0);
    EXPECT_LT(seen.slowestAnswer, 500ms);  // not frozen for that second
    EXPECT_FALSE(seen.progressBesideOperating);
    ASSERT_EQ(seen.boxes.size(), 2u);  // the confirmation, then
    EXPECT_EQ(seen.boxes[1], "Completed the firmware update for VR-380MX.");

    // 100 % before the dialog manager has first been idle: the hidden
    // progress dialog stays hidden.
    ResetTransferState();
    ResetChannelState();
    Connect("version = 5.00\nprogress.step = 100\n");
    Watcher again(false);
    EXPECT_TRUE(RunUpdate());
    const auto atOnce = again.Stop();
    EXPECT_TRUE(atOnce.operatingShown);
    EXPECT_FALSE(atOnce.progressBesideOperating);
}

TEST_F(TransferDialogsTest, CancelBeforeTheFirstReport_EndsCancelled)
{
    Connect("version = 5.00\nprogress.step = 50\nprogress.delay_ms = 1500\n");
    Watcher watcher(true);
    EXPECT_FALSE(RunUpdate());
    const auto seen = watcher.Stop();

    EXPECT_TRUE(seen.cancelClicked);
    EXPECT_EQ(g_nTransferResult, TRANSFER_CANCELLED);
    ASSERT_EQ(seen.boxes.size(), 2u);  // the confirmation, then
    EXPECT_EQ(seen.boxes[1], "Transferring cancelled.");
    EXPECT_FALSE(seen.operatingShown);
}

}  // namespace
