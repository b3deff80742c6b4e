#pragma once
// The progress dialog that runs while firmware is sent, its worker thread,
// the progress callback the transfer library calls, and the "unit is
// operating" dialog that takes its place once all data has been sent.

#include <cstdint>
#include <memory>
#include <string>

#include "driver/driver_exports.h"
#include "platform/dialog.h"
#include "platform/thread.h"
#include "res/resource.h"
#include "transfer/progress_state.h"

// Titles of more characters than this (a double-byte character counts as
// one) are cut after that many and TITLE_ELLIPSIS appended.
inline constexpr std::size_t TITLE_MAX_LENGTH = 32;
inline constexpr const char* TITLE_ELLIPSIS = "...";

// The progress callback: turns the current file's percentage into the overall
// one and has the dialog show it; at 100 % it has the operating dialog take
// the progress dialog's place. Returns 0 to ask the library to stop: on a
// percentage outside 0..100, without a dialog or total, or once the user has
// cancelled. It runs on the library's sending thread and returns at once: it
// records what changed in g_progressExchange and posts the dialog one notice,
// and the dialog's thread shows it.
std::int32_t DRIVER_CALL TransferProgress(std::int32_t percent);

// The worker thread: runs g_pfnWorker(g_pWorkerParam), then posts the
// completion notice (ID_OK) to the progress dialog while its window exists.
// Its message boxes are owned by the progress dialog.
std::uint32_t WorkerThreadProc(platform::DialogHandle window);

class CProgressDlg : public platform::Dialog {
public:
    // Resets the shared variables but g_bCancelAllowed, g_pfnWorker and
    // g_pWorkerParam; the caller sets the total, the worker and its argument
    // before DoModal.
    explicit CProgressDlg(platform::Dialog* parent = nullptr);
    ~CProgressDlg() override;

    // The modal run, and then the worker waited for, however the run ended
    // (the completion notice, a quit message, the window destroyed): the
    // firmware may still be being written. The thread goes on answering its
    // windows meanwhile, and the worker never waits for them.
    int DoModal() override;

    int m_nAnimationId = IDR_TRANSFER_CLIP;

protected:
    // Centred on its owner, like the other dialogs. The operating dialog is
    // owned by the same window.
    bool OnInitDialog() override;
    // The completion notice: shows the last reports and ends the dialog, one
    // second later when the operating dialog exists, which then goes after
    // the run has ended (so that the main window takes input again and
    // inherits the activation). The second passes on a timer: the thread
    // keeps answering its windows meanwhile.
    void OnOK() override;
    void OnTimer(unsigned id) override;
    // Cancel, the button or Escape: asks the transfer to stop at its next
    // progress report, unless a report has disabled Cancel by then.
    void OnCancel() override;
    // Only the completion notice ends the dialog while the worker runs: the
    // user's Enter does not. The reports' notices are shown here, and the
    // reports after them on a timer until the dialog has caught up.
    void OnCommand(int id, platform::CommandSource source) override;
    // From now on the reports post no notices.
    void OnDestroy() override;

private:
    // Shows what the reports have asked for since the last time, in their
    // order: Cancel's state, the status label, bar and percentage, and at
    // 100 % the operating dialog shown before this one hides, so that the
    // activation passes from one to the other. False when there was nothing
    // new; then, when asked to end the notice, the reports post again.
    bool ApplyProgress(bool endsNotice = false);

    platform::Animation m_animate{*this, IDC_TRANSFER_ANIMATION};
    platform::ProgressBar m_progress{*this, IDC_TRANSFER_PROGRESS};
    std::unique_ptr<platform::WorkerThread> m_pWorkerThread;
    bool m_bWorkerRunning = false;
    bool m_bClosing = false;  // the completion notice has come
};

class COperatingDlg : public platform::Dialog {
public:
    COperatingDlg() : platform::Dialog(IDD_OPERATING) {}

protected:
    // Centres the dialog on the application's main window (on the screen's
    // work area when there is none) and captions it with the application name.
    bool OnInitDialog() override;
    void PostNcDestroy() override;
};
