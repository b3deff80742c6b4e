#include "transfer/progress_state.h"

CProgressDlg* g_pProgressDlg = nullptr;
COperatingDlg* g_pOperatingDlg = nullptr;
std::atomic<int> g_bCancelRequested = 0;
std::atomic<int> g_bCancelAllowed = 1;
std::uint32_t g_nTotalBytes = 0;
std::uint32_t g_nDoneBytes = 0;
std::uint32_t g_nFileBytes = 0;
std::string g_strFileTitle;
int g_nPercent = 0;
TransferWorkerProc g_pfnWorker = nullptr;
const TransferJobList* g_pWorkerParam = nullptr;
ProgressExchange g_progressExchange;
ProgressShown g_progressShown;

void ResetDialogVariables()
{
    g_pProgressDlg = nullptr;
    g_pOperatingDlg = nullptr;
    g_bCancelRequested = 0;
    g_nTotalBytes = 0;
    g_nDoneBytes = 0;
    g_nFileBytes = 0;
    g_strFileTitle.clear();
    g_nPercent = 0;
    g_progressShown = {};
    std::lock_guard lock(g_progressExchange.mutex);
    g_progressExchange.asked = {};
    g_progressExchange.noticePending = false;
    g_progressExchange.window = nullptr;
}

void ResetProgressState()
{
    ResetDialogVariables();
    g_bCancelAllowed = 1;
    g_pfnWorker = nullptr;
    g_pWorkerParam = nullptr;
}
