#include "app/update_dlg.h"

#include <cstdint>
#include <limits>

#include "channel/printer_channel.h"
#include "platform/file.h"
#include "platform/text_format.h"
#include "platform/ui.h"
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
constexpr const char* kModelDiffers = "The printer model information is different.";
constexpr const char* kSystemDiffers = "The printer system information is different.";

using platform::MessageButtons;
using platform::MessageIcon;

}  // namespace

CUpdateDlg::CUpdateDlg(platform::Dialog* parent) : platform::Dialog(IDD_VR38UPDATE_DIALOG, parent) {}

bool CUpdateDlg::RunFirmwareUpdate()
{
    m_transferJobs.clear();

    {
        platform::File dataFile;
        if (!dataFile.Open(FIRMWARE_DATA_FILE, platform::File::modeRead)) {
            platform::ShowMessageBox(kDataFileNotFound, MessageButtons::Ok, MessageIcon::Error);
            return false;
        }
    }

    const auto exchange = RequestFirmwareVersion(m_strPrinter);
    if (!exchange.sent) {
        return false;
    }
    const auto question =
        exchange.version ? platform::FormatText(kConfirmWithVersion, *exchange.version) : kConfirmWithoutVersion;
    if (platform::ShowMessageBox(question, MessageButtons::YesNo) != platform::ID_YES) {
        return false;
    }

    if (!CheckTransferPrinter()) {
        platform::ShowMessageBox(platform::LoadResourceString(IDS_NO_COMMUNICATION));
        return false;
    }
    if (!CheckPrinterModel(m_strPrinter)) {
        platform::ShowMessageBox(kModelDiffers, MessageButtons::Ok, MessageIcon::Error);
        return false;
    }
    if (!CheckPrinterSystem(m_strPrinter)) {
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
        } catch (const platform::FileException&) {
            readable = false;
            break;
        }
    }
    if (m_transferJobs.empty() || !readable || total < 1 || total > std::numeric_limits<std::int32_t>::max()) {
        platform::ShowMessageBox(platform::LoadResourceString(IDS_TRANSFER_FAILED));
        return false;
    }

    CProgressDlg progress(platform::MainWindow());
    g_nTotalBytes = static_cast<std::uint32_t>(total);
    g_pfnWorker = SendJobFiles;
    g_pWorkerParam = &m_transferJobs;
    progress.m_nAnimationId = IDR_TRANSFER_CLIP;
    progress.DoModal();

    switch (g_nTransferResult) {
        case TRANSFER_OK:
            platform::ShowMessageBox(platform::LoadResourceString(IDS_UPDATE_COMPLETED), MessageButtons::Ok,
                                     MessageIcon::Information);
            return true;
        case TRANSFER_CANCELLED:
            platform::ShowMessageBox(platform::LoadResourceString(IDS_TRANSFER_CANCELLED), MessageButtons::Ok,
                                     MessageIcon::Warning);
            return false;
        default:
            platform::ShowMessageBox(platform::LoadResourceString(IDS_TRANSFER_FAILED), MessageButtons::Ok,
                                     MessageIcon::Error);
            return false;
    }
}
