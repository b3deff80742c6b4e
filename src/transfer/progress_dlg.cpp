#include "transfer/progress_dlg.h"

#include "platform/code_page.h"
#include "platform/text_format.h"
#include "platform/ui.h"

namespace {

constexpr int kPercentMax = 100;
// How long the operating dialog stays after the worker has finished.
constexpr int kOperatingLingerMs = 1000;
constexpr unsigned kOperatingLingerTimer = 1;
// The notice of new reports, posted to the dialog; no control has this id.
constexpr int kProgressNotice = 0x7038;
// After a notice the dialog looks at the reports this often until a look
// finds nothing new, and only then lets the reports post again: a transfer
// costs the library's thread a post or two, not one per percent (a post is a
// call to the system, under Wine a round trip to its server, ~0.2 ms).
constexpr unsigned kProgressLookTimer = 2;
constexpr int kProgressLookMs = 100;

}  // namespace

std::int32_t DRIVER_CALL TransferProgress(std::int32_t percent)
{
    if (g_pProgressDlg == nullptr || g_nTotalBytes == 0) {
        return 0;
    }
    if (percent < 0 || percent > kPercentMax) {
        return 0;
    }
    // Wider than 32 bits, so that files above 42,949,672 bytes cannot wrap
    // the intermediate products.
    const std::uint64_t overall =
        (std::uint64_t{g_nDoneBytes} + std::uint64_t{g_nFileBytes} * static_cast<std::uint64_t>(percent) / 100) * 100 /
        g_nTotalBytes;

    // Cancel's state and the user's Cancel are decided under one lock: a
    // report that disables Cancel and a click that lands before the dialog
    // shows it disabled cannot both win. A click taken first makes this
    // report return 0 (Cancel pressed before the library's first report of a
    // file still stops it); a click that comes after is ignored, so that no
    // click can stop a firmware write midway.
    auto& exchange = g_progressExchange;
    std::lock_guard lock(exchange.mutex);
    auto& asked = exchange.asked;
    // Once the operating dialog has been asked for, nothing more is displayed
    // and Cancel is too late.
    if (asked.complete && g_pOperatingDlg != nullptr) {
        return 1;
    }
    bool changed = false;
    const auto ask = [&changed](auto& field, const auto& value) {
        if (field != value) {
            field = value;
            changed = true;
        }
    };
    ask(asked.cancelEnabled, g_bCancelAllowed != 0);
    ask(asked.fileTitle, g_strFileTitle);
    if (overall <= kPercentMax) {
        g_nPercent = static_cast<int>(overall);
        ask(asked.percent, g_nPercent);
    }
    if (overall >= kPercentMax) {
        ask(asked.complete, true);
    }
    if (changed && !exchange.noticePending && exchange.window != nullptr) {
        exchange.noticePending = true;
        platform::PostCommand(exchange.window, kProgressNotice);
    }
    return g_bCancelRequested == 0 ? 1 : 0;
}

std::uint32_t WorkerThreadProc(platform::DialogHandle window)
{
    const std::uint32_t result = g_pfnWorker(g_pWorkerParam);
    std::lock_guard lock(g_progressExchange.mutex);
    if (g_progressExchange.window == window) {
        platform::PostCommand(window, platform::ID_OK);
    }
    return result;
}

CProgressDlg::CProgressDlg(platform::Dialog* parent) : platform::Dialog(IDD_PROGRESS, parent)
{
    ResetDialogVariables();
}

CProgressDlg::~CProgressDlg()
{
    if (g_pProgressDlg == this) {
        g_pProgressDlg = nullptr;
    }
}

int CProgressDlg::DoModal()
{
    const int result = platform::Dialog::DoModal();
    if (m_pWorkerThread) {
        m_pWorkerThread->JoinHandlingMessages();
    }
    // Left by a run that ended early; the owner takes input again by now.
    if (g_pOperatingDlg != nullptr && g_pOperatingDlg->HasWindow()) {
        g_pOperatingDlg->DestroyWindow();
    }
    return result;
}

bool CProgressDlg::OnInitDialog()
{
    platform::Dialog::OnInitDialog();
    CentreOnOwner();

    g_pOperatingDlg = platform::Dialog::CreateSelfOwned(std::make_unique<COperatingDlg>(), Parent());
    if (g_pOperatingDlg != nullptr) {
        g_pOperatingDlg->Show(false);
    }
    SetCaption(platform::ApplicationName());
    g_bCancelRequested = 0;
    m_animate.Open(m_nAnimationId);
    g_pProgressDlg = this;
    m_progress.SetRange(0, kPercentMax);
    m_progress.SetPos(0);
    // The dialog's own report shows before the dialog does; the worker's
    // reports are posted.
    TransferProgress(0);
    ApplyProgress();
    const auto window = Handle();
    {
        std::lock_guard lock(g_progressExchange.mutex);
        g_progressExchange.window = window;
    }

    if (g_pfnWorker != nullptr) {
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
    if (source == platform::CommandSource::Posted && id == kProgressNotice) {
        ApplyProgress();
        SetTimer(kProgressLookTimer, kProgressLookMs);
        return;
    }
    if (source == platform::CommandSource::Posted && id == platform::ID_OK) {
        m_bWorkerRunning = false;
    } else if (source == platform::CommandSource::User && id == platform::ID_OK && m_bWorkerRunning) {
        return;
    }
    platform::Dialog::OnCommand(id, source);
}

void CProgressDlg::OnDestroy()
{
    std::lock_guard lock(g_progressExchange.mutex);
    g_progressExchange.window = nullptr;
}

bool CProgressDlg::ApplyProgress(bool endsNotice)
{
    auto& shown = g_progressShown;
    ProgressReport asked;
    {
        std::lock_guard lock(g_progressExchange.mutex);
        if (shown.applied == g_progressExchange.asked) {
            g_progressExchange.noticePending = g_progressExchange.noticePending && !endsNotice;
            return false;
        }
        asked = g_progressExchange.asked;
    }
    shown.applied = asked;
    if (shown.cancelEnabled != asked.cancelEnabled) {
        EnableItem(platform::ID_CANCEL, asked.cancelEnabled);
        shown.cancelEnabled = asked.cancelEnabled;
    }
    if (shown.fileTitle != asked.fileTitle) {
        const auto& title = asked.fileTitle;
        const auto length = platform::LeadingCharacters(title, TITLE_MAX_LENGTH);
        const auto cut = length < title.size() ? title.substr(0, length) + TITLE_ELLIPSIS : title;
        SetItemText(IDC_TRANSFER_STATUS, platform::FormatText(platform::LoadResourceString(IDS_TRANSFERRING), cut));
        shown.fileTitle = title;
    }
    if (asked.percent && shown.percent != asked.percent) {
        m_progress.SetPos(*asked.percent);
        SetItemText(IDC_TRANSFER_PERCENT, std::to_string(*asked.percent) + " %");
        shown.percent = asked.percent;
    }
    if (asked.complete && !shown.progressHidden) {
        shown.progressHidden = true;
        if (g_pOperatingDlg != nullptr) {
            // Where the progress dialog was, wherever the user has moved it.
            g_pOperatingDlg->CentreOn(GetWindowRect());
            g_pOperatingDlg->Show(true);
        }
        Show(false);
    }
    return true;
}

void CProgressDlg::OnOK()
{
    if (m_bClosing) {
        return;
    }
    m_bClosing = true;
    ApplyProgress();  // the last reports, 100 % among them, before the dialog goes
    if (g_pOperatingDlg != nullptr && g_pOperatingDlg->HasWindow()) {
        SetTimer(kOperatingLingerTimer, kOperatingLingerMs);
        return;
    }
    platform::Dialog::OnOK();
}

void CProgressDlg::OnTimer(unsigned id)
{
    if (id == kProgressLookTimer) {
        if (!ApplyProgress(true)) {
            KillTimer(id);
        }
        return;
    }
    if (id != kOperatingLingerTimer) {
        return;
    }
    KillTimer(id);
    platform::Dialog::OnOK();
    if (g_pOperatingDlg != nullptr && g_pOperatingDlg->HasWindow()) {
        g_pOperatingDlg->DestroyWindow();  // which deletes it
    }
}

void CProgressDlg::OnCancel()
{
    // Cancel is only the view of the reports' word (see TransferProgress).
    std::lock_guard lock(g_progressExchange.mutex);
    if (g_progressExchange.asked.cancelEnabled) {
        g_bCancelRequested = 1;
    }
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
