#pragma once
// The shared transfer variables: written by the update procedure before the
// progress dialog runs, by the worker, and by the dialog; the hand-over is
// ordered by the modal dialog (see TransferProgress and WorkerThreadProc).

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialog.h"

class CProgressDlg;
class COperatingDlg;

// The job list: paths of data files, sent in this order.
using TransferJobList = std::vector<std::string>;

// The worker routine the progress dialog's thread runs, and its argument.
using TransferWorkerProc = std::uint32_t (*)(const TransferJobList* jobList);

extern CProgressDlg* g_pProgressDlg;
extern COperatingDlg* g_pOperatingDlg;
extern std::atomic<int> g_bCancelRequested;  // the user asked to cancel
extern std::atomic<int> g_bCancelAllowed;    // state given to Cancel at every progress update
extern std::uint32_t g_nTotalBytes;          // data bytes of all job files
extern std::uint32_t g_nDoneBytes;           // data bytes of the files already sent
extern std::uint32_t g_nFileBytes;           // data bytes of the file being sent
extern std::string g_strFileTitle;           // the file being sent, without directory and extension
extern int g_nPercent;                       // last overall percentage reported
extern TransferWorkerProc g_pfnWorker;
extern const TransferJobList* g_pWorkerParam;

// What the reports ask the progress dialog to show. The library's thread
// never waits for the dialog's: a report records what changed here, and the
// dialog's thread shows it.
struct ProgressReport {
    bool cancelEnabled = false;
    std::string fileTitle;
    std::optional<int> percent;  // on the bar and in the label; none above 100
    bool complete = false;       // 100 % reached: the operating dialog takes the dialog's place
    bool operator==(const ProgressReport&) const = default;
};

// Between the reports and the dialog's thread, under one lock: the latest
// report, whether a notice is pending (on its way to the dialog, or the
// dialog still catching up with the reports after it: the reports meanwhile
// ride on it), and the dialog's window while it exists, the one the notices
// go to.
struct ProgressExchange {
    std::mutex mutex;
    ProgressReport asked;
    bool noticePending = false;
    platform::DialogHandle window = nullptr;
};
extern ProgressExchange g_progressExchange;

// What the progress dialog shows, so that the dialog's thread touches only
// what changes; empty before the dialog's own first report. On that thread.
struct ProgressShown {
    std::optional<ProgressReport> applied;  // the report last shown
    std::optional<bool> cancelEnabled;
    std::optional<std::string> fileTitle;  // the title the status label was made from
    std::optional<int> percent;
    bool progressHidden = false;  // the operating dialog has taken its place
};
extern ProgressShown g_progressShown;

// The variables the progress dialog's constructor resets: all but
// g_bCancelAllowed, g_pfnWorker and g_pWorkerParam.
void ResetDialogVariables();

// Returns every shared transfer variable to its start state.
void ResetProgressState();
