#pragma once
// The shared transfer variables: written by the update procedure before the
// progress dialog runs, by the worker, and by the dialog; the hand-over is
// ordered by the modal dialog (see TransferProgress and WorkerThreadProc).

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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
extern int g_nPercent;                       // last overall percentage shown
extern TransferWorkerProc g_pfnWorker;
extern const TransferJobList* g_pWorkerParam;

// What the progress dialog shows as the reports have left it, so that a
// report touches only what changes; empty before the dialog's own first
// report. Written by TransferProgress only.
struct ProgressShown {
    std::optional<bool> cancelEnabled;
    std::optional<std::string> fileTitle;  // the title the status label was made from
    std::optional<int> percent;            // on the bar and in the label
    bool progressHidden = false;           // the operating dialog has taken its place
};
extern ProgressShown g_progressShown;

// The variables the progress dialog's constructor resets: all but
// g_bCancelAllowed, g_pfnWorker and g_pWorkerParam.
void ResetDialogVariables();

// Returns every shared transfer variable to its start state.
void ResetProgressState();
