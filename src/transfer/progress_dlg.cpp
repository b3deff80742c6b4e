#include "transfer/progress_dlg.h"

#include "platform/code_page.h"
#include "platform/text_format.h"
#include "platform/ui.h"

namespace {

constexpr int kPercentMax = 100;
// How long the operating dialog stays after the worker has finished.
constexpr int kOperatingLingerMs = 1000;
constexpr unsigned kOperatingLingerTimer = 1;

}  // namespace

std::int32_t DRIVER_CALL TransferProgress(std::int32_t percent)
{
    if (g_pProgressDlg == nullptr || g_nTotalBytes == 0) {
        return 0;
    }
    if (percent < 0 || percent > kPercentMax) {
        return 0;
    }
    auto& shown = g_progressShown;
    // Once the operating dialog shows, nothing more is displayed and Cancel
    // is too late.
    if (shown.progressHidden && g_pOperatingDlg != nullptr) {
        return 1;
    }
    const bool cancelAllowed = g_bCancelAllowed != 0;
    if (shown.cancelEnabled != cancelAllowed) {
        g_pProgressDlg->EnableItem(platform::ID_CANCEL, cancelAllowed);
        shown.cancelEnabled = cancelAllowed;
    }
    if (shown.fileTitle != g_strFileTitle) {
        std::string title = g_strFileTitle;
        if (const auto cut = platform::LeadingCharacters(title, TITLE_MAX_LENGTH); cut < title.size()) {
            title = title.substr(0, cut) + TITLE_ELLIPSIS;
        }
        g_pProgressDlg->SetItemText(IDC_TRANSFER_STATUS,
                                    platform::FormatText(platform::LoadResourceString(IDS_TRANSFERRING), title));
        shown.fileTitle = g_strFileTitle;
    }

    // Wider than 32 bits, so that files above 42,949,672 bytes cannot wrap
    // the intermediate products.
    const std::uint64_t overall =
        (std::uint64_t{g_nDoneBytes} + std::uint64_t{g_nFileBytes} * static_cast<std::uint64_t>(percent) / 100) * 100 /
        g_nTotalBytes;
    if (overall <= kPercentMax) {
        g_nPercent = static_cast<int>(overall);
        if (shown.percent != g_nPercent) {
            g_pProgressDlg->SetProgressPos(IDC_TRANSFER_PROGRESS, g_nPercent);
            g_pProgressDlg->SetItemText(IDC_TRANSFER_PERCENT, std::to_string(g_nPercent) + " %");
            shown.percent = g_nPercent;
        }
    }
    if (overall >= kPercentMax && !shown.progressHidden) {
        const auto place = g_pProgressDlg->GetWindowRect();
        g_pProgressDlg->Show(false);
        shown.progressHidden = true;
        if (g_pOperatingDlg != nullptr) {
            // Where the progress dialog was, wherever the user has moved it.
            g_pOperatingDlg->CentreOn(place);
            g_pOperatingDlg->Show(true);
        }
    }
    return g_bCancelRequested == 0 ? 1 : 0;
}

std::uint32_t WorkerThreadProc(platform::DialogHandle window)
{
    const std::uint32_t result = g_pfnWorker(g_pWorkerParam);
    platform::PostCommand(window, platform::ID_OK);
    return result;
}

CProgressDlg::CProgressDlg(platform::Dialog* parent) : platform::Dialog(IDD_PROGRESS, parent)
{
    ResetDialogVariables();
}

CProgressDlg::~CProgressDlg()
{
    if (m_pWorkerThread) {
        m_pWorkerThread->Join();
    }
    if (g_pOperatingDlg != nullptr && g_pOperatingDlg->HasWindow()) {
        g_pOperatingDlg->DestroyWindow();
    }
    if (g_pProgressDlg == this) {
        g_pProgressDlg = nullptr;
    }
}

bool CProgressDlg::OnInitDialog()
{
    platform::Dialog::OnInitDialog();
    CentreOnOwner();

    g_pOperatingDlg = platform::Dialog::CreateSelfOwned(std::make_unique<COperatingDlg>());
    if (g_pOperatingDlg != nullptr) {
        g_pOperatingDlg->Show(false);
    }
    SetCaption(platform::ApplicationName());
    g_bCancelRequested = 0;
    m_animate.Open(m_nAnimationId);
    g_pProgressDlg = this;
    m_progress.SetRange(0, kPercentMax);
    m_progress.SetPos(0);
    TransferProgress(0);

    if (g_pfnWorker != nullptr) {
        const auto window = Handle();
        m_pWorkerThread = platform::WorkerThread::Start([window] { return WorkerThreadProc(window); }, window);
        if (m_pWorkerThread) {
            m_bWorkerRunning = true;
        } else {
            // Without its worker the dialog would wait for ever: the dialog
            // closes at once, and the result stays what it was before.
            platform::PostCommand(window, platform::ID_OK);
        }
    }
    return true;
}

void CProgressDlg::OnCommand(int id, platform::CommandSource source)
{
    if (source == platform::CommandSource::Posted && id == platform::ID_OK) {
        m_bWorkerRunning = false;
    } else if (source == platform::CommandSource::User) {
        if (id == platform::ID_OK && m_bWorkerRunning) {
            return;
        }
        if (id == platform::ID_CANCEL && !IsItemEnabled(platform::ID_CANCEL)) {
            return;
        }
    }
    platform::Dialog::OnCommand(id, source);
}

void CProgressDlg::OnOK()
{
    if (m_bClosing) {
        return;
    }
    m_bClosing = true;
    if (g_pOperatingDlg != nullptr && g_pOperatingDlg->HasWindow()) {
        SetTimer(kOperatingLingerTimer, kOperatingLingerMs);
        return;
    }
    platform::Dialog::OnOK();
}

void CProgressDlg::OnTimer(unsigned id)
{
    if (id != kOperatingLingerTimer) {
        return;
    }
    KillTimer(id);
    if (g_pOperatingDlg != nullptr && g_pOperatingDlg->HasWindow()) {
        g_pOperatingDlg->DestroyWindow();  // which deletes it
    }
    platform::Dialog::OnOK();
}

void CProgressDlg::OnCancel()
{
    g_bCancelRequested = 1;
}

bool COperatingDlg::OnInitDialog()
{
    platform::Dialog::OnInitDialog();
    const auto* main = platform::MainWindow();
    CentreOn(main != nullptr && main->HasWindow() ? main->GetWindowRect() : platform::DesktopWorkArea());
    SetCaption(platform::ApplicationName());
    return true;
}

void COperatingDlg::PostNcDestroy()
{
    platform::Dialog::PostNcDestroy();
    if (g_pOperatingDlg == this) {
        g_pOperatingDlg = nullptr;
    }
}
