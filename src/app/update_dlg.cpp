#include "app/update_dlg.h"

#include <cstdint>
#include <limits>

#include "app/update_app.h"
#include "channel/printer_channel.h"
#include "channel/raw_io.h"
#include "platform/file.h"
#include "platform/power.h"
#include "platform/profile.h"
#include "platform/text_format.h"
#include "platform/ui.h"
#include "printers/printer_list.h"
#include "transfer/progress_dlg.h"
#include "transfer/transfer_library.h"

namespace {

constexpr const char* kDataFileNotFound = "Error : Data file is not found.";
constexpr const char* kConfirmWithVersion =
    "The current firmware version is %s.\n\nThis firmware update is version 5.10.\n\n"
    "OK to update the current VR-380MX firmware?\n";
constexpr const char* kConfirmWithoutVersion =
    "The printer version is unknown.\n\nThis firmware update is version 5.10.\n\n"
    "OK to update the current VR-380MX firmware?\n";
constexpr const char* kNotTheModel = "Connected printer is not VR-380MX.";
constexpr const char* kModelDiffers = "The printer model information is different.";
constexpr const char* kSystemDiffers = "The printer system information is different.";
// What Windows shows the user who asks to shut down during the transfer.
constexpr const char* kShutdownBlocked = "A firmware update is in progress. Turning off now can damage the printer.";

using platform::MessageButtons;
using platform::MessageIcon;

}  // namespace

CUpdateDlg::CUpdateDlg(platform::Dialog* parent)
    : platform::Dialog(IDD_VR38UPDATE_DIALOG, parent), m_combo(*this, IDC_PRINTER_COMBO)
{
}

bool CUpdateDlg::OnInitDialog()
{
    // Only Start goes on: a warning that could not be shown (-1) ends the
    // program as Cancel does.
    CWarningDlg warning(this);
    if (warning.DoModal() != platform::ID_OK) {
        EndDialog(platform::ID_CANCEL);
        return false;
    }

    if (HasSystemMenu()) {
        const auto about = platform::LoadResourceString(IDS_ABOUTBOX);
        if (!about.empty()) {
            AppendSystemMenuSeparator();
            AppendSystemMenuItem(IDM_ABOUTBOX, about);
        }
    }
    SetIcon(m_hIcon, true);
    SetIcon(m_hIcon, false);

    // Without the raw I/O library the printers cannot be asked anything;
    // the dialog still shows, with an empty list.
    if (!BindRawIoLibrary()) {
        return false;
    }
    const auto remembered = ReadSetting(PROFILE_SECTION, PROFILE_DEFAULT_TM_PRINTER);
    FillPrinterCombo(m_combo, remembered);
    return true;
}

void CUpdateDlg::FillPrinterCombo(ComboBox& combo, const std::string& rememberedName)
{
    auto& dialog = combo.Owner();
    const int id = combo.Id();
    auto& list = GetPrinterList();
    list.Refresh();
    if (list.m_printers.empty()) {
        // The combo box and the two labels beside it in tab order.
        dialog.EnableItem(id, false);
        dialog.EnableSibling(id, -1, false);
        dialog.EnableSibling(id, +1, false);
        dialog.ComboSetCurSel(id, -1);
        return;
    }
    for (const auto& description : list.m_printers) {
        dialog.ComboAddString(id, GetDescriptionName(*description));
    }
    int found = dialog.ComboFindStringExact(id, m_strPrinter);
    if (found < 0) {
        found = dialog.ComboFindStringExact(id, rememberedName);
    }
    dialog.ComboSetCurSel(id, found >= 0 ? found : 0);
}

std::string CUpdateDlg::GetSelectedPrinter(const ComboBox& combo) const
{
    const auto& dialog = combo.Owner();
    const int selected = dialog.ComboGetCurSel(combo.Id());
    return selected < 0 ? std::string() : dialog.ComboGetText(combo.Id(), selected);
}

void CUpdateDlg::OnCommand(int id, platform::CommandSource source)
{
    switch (id) {
        case IDC_UPDATE:
            OnUpdate();
            break;
        case IDC_EXIT:
            OnCancel();
            break;
        default:
            platform::Dialog::OnCommand(id, source);
            break;
    }
}

void CUpdateDlg::OnUpdate()
{
    const auto name = GetSelectedPrinter(m_combo);
    if (!name.empty()) {
        platform::WriteProfileString(PROFILE_SECTION, PROFILE_DEFAULT_TM_PRINTER, name);
        platform::WriteProfileString(PROFILE_SECTION, PROFILE_DEFAULT_PRINTER, name);
    }
    if (GetPrinterList().Select(name.c_str())) {
        m_strPrinter = name;
    }
    GetUpdateApp().BindPrinter(m_strPrinter);
    m_record.Update(m_strPrinter, g_wTransferPrinterId);
    TransferCmdInit();
    if (!m_record.Check(RECORD_CHECK_TRANSFER_LIBRARY, CheckTransferPrinter())) {
        m_record.Message(IDS_NO_COMMUNICATION);
        platform::ShowMessageBox(platform::LoadResourceString(IDS_NO_COMMUNICATION));
        return;
    }
    const auto status = RequestPrinterStatus(m_strPrinter);
    m_record.Identification(status);
    if (!status) {
        return;
    }
    if (status->IsSupportedModel()) {
        RunFirmwareUpdate();
        OnCancel();
        return;
    }
    m_record.Message("not-the-model");
    platform::ShowMessageBox(kNotTheModel, MessageButtons::Ok, MessageIcon::Error);
}

bool CUpdateDlg::OnSysCommand(unsigned commandId)
{
    if ((commandId & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about(this);
        about.DoModal();
        return true;
    }
    return false;
}

bool CUpdateDlg::OnPaint()
{
    if (!IsMinimized()) {
        return false;
    }
    const auto client = GetClientRect();
    const auto icon = platform::SystemIconSize();
    PaintIcon(m_hIcon, (client.Width() - icon.cx + 1) / 2, (client.Height() - icon.cy + 1) / 2);
    return true;
}

void CUpdateDlg::OnDestroy()
{
    if (g_hRawIoLib) {
        UnbindRawIoLibrary();
    }
}

bool CUpdateDlg::RunFirmwareUpdate()
{
    m_transferJobs.clear();

    {
        platform::File dataFile;
        if (!m_record.Check(RECORD_CHECK_DATA_FILE, dataFile.Open(FIRMWARE_DATA_FILE, platform::File::modeRead))) {
            m_record.Message("data-file-not-found");
            platform::ShowMessageBox(kDataFileNotFound, MessageButtons::Ok, MessageIcon::Error);
            return false;
        }
    }

    const auto exchange = RequestFirmwareVersion(m_strPrinter);
    m_record.Version(exchange);
    if (!exchange.sent) {
        return false;
    }
    const auto question =
        exchange.version ? platform::FormatText(kConfirmWithVersion, *exchange.version) : kConfirmWithoutVersion;
    if (m_record.Answer(platform::ShowMessageBox(question, MessageButtons::YesNo)) != platform::ID_YES) {
        return false;
    }

    if (!m_record.Check(RECORD_CHECK_TRANSFER_LIBRARY, CheckTransferPrinter())) {
        m_record.Message(IDS_NO_COMMUNICATION);
        platform::ShowMessageBox(platform::LoadResourceString(IDS_NO_COMMUNICATION));
        return false;
    }
    if (!m_record.Check(RECORD_CHECK_MODEL, CheckPrinterModel(m_strPrinter))) {
        m_record.Message("model-differs");
        platform::ShowMessageBox(kModelDiffers, MessageButtons::Ok, MessageIcon::Error);
        return false;
    }
    if (!m_record.Check(RECORD_CHECK_SYSTEM, CheckPrinterSystem(m_strPrinter))) {
        m_record.Message("system-differs");
        platform::ShowMessageBox(kSystemDiffers, MessageButtons::Ok, MessageIcon::Error);
        return false;
    }

    m_transferJobs.push_back(FIRMWARE_DATA_FILE);
    // The total is summed wider than its 32 bits; a file that cannot be read
    // again or a sum beyond 32 bits fails like an empty job.
    std::int64_t total = 0;
    bool readable = true;
    for (const auto& path : m_transferJobs) {
        try {
            CFirmwareFile file(path, platform::File::modeRead);
            total += file.m_header.DataLength();
            m_record.Header(file.m_header);
        } catch (const platform::FileException&) {
            m_record.HeaderUnreadable();
            readable = false;
            break;
        }
    }
    if (m_transferJobs.empty() || !readable || total < 1 || total > std::numeric_limits<std::int32_t>::max()) {
        m_record.Message(IDS_TRANSFER_FAILED);
        platform::ShowMessageBox(platform::LoadResourceString(IDS_TRANSFER_FAILED));
        return false;
    }

    CProgressDlg progress(platform::MainWindow());
    g_nTotalBytes = static_cast<std::uint32_t>(total);
    g_pfnWorker = SendJobFiles;
    g_pWorkerParam = &m_transferJobs;
    progress.m_nAnimationId = IDR_TRANSFER_CLIP;
    // The worker sets the result when it starts: a dialog that cannot be
    // made or cannot start its worker leaves this failure.
    g_nTransferResult = TRANSFER_ERR_NO_WORKER;
    m_record.TransferStarts();
    {
        // A firmware write cut off midway can leave the printer unusable: the
        // machine neither sleeps nor shuts down while the worker runs, and
        // the run returns only once the worker has, however it ended.
        const platform::ShutdownBlock keepRunning(*this, kShutdownBlocked);
        progress.DoModal();
    }
    m_record.TransferEnded(g_nTransferResult);

    switch (g_nTransferResult) {
        case TRANSFER_OK:
            m_record.Message(IDS_UPDATE_COMPLETED);
            platform::ShowMessageBox(platform::LoadResourceString(IDS_UPDATE_COMPLETED), MessageButtons::Ok,
                                     MessageIcon::Information);
            return true;
        case TRANSFER_CANCELLED:
            m_record.Message(IDS_TRANSFER_CANCELLED);
            platform::ShowMessageBox(platform::LoadResourceString(IDS_TRANSFER_CANCELLED), MessageButtons::Ok,
                                     MessageIcon::Warning);
            return false;
        default:
            m_record.Message(IDS_TRANSFER_FAILED);
            platform::ShowMessageBox(platform::LoadResourceString(IDS_TRANSFER_FAILED), MessageButtons::Ok,
                                     MessageIcon::Error);
            return false;
    }
}
