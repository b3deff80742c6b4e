#include "transfer/transfer_worker.h"

#include <new>
#include <stdexcept>

#include "platform/ui.h"
#include "res/resource.h"
#include "transfer/progress_dlg.h"
#include "transfer/transfer_library.h"

namespace {

// The file name of a path, without directory and extension.
std::string FileTitleOf(const std::string& path)
{
    const auto separator = path.find_last_of("\\/:");
    auto title = separator == std::string::npos ? path : path.substr(separator + 1);
    if (const auto dot = title.find_last_of('.'); dot != std::string::npos) {
        title.resize(dot);
    }
    return title;
}

}  // namespace

std::uint32_t SendJobFiles(const TransferJobList* jobList)
{
    g_nTransferResult = TRANSFER_OK;
    if (!TransferCmdInit() || jobList == nullptr) {
        return 0;
    }
    for (const auto& path : *jobList) {
        try {
            CFirmwareFile file(path, platform::File::modeRead);
            g_strFileTitle = FileTitleOf(path);
            g_nFileBytes = static_cast<std::uint32_t>(file.m_header.DataLength());
            g_bCancelAllowed = 0;
            if (!SendFirmwareFile(file)) {
                file.Close();
                break;
            }
            g_nDoneBytes += static_cast<std::uint32_t>(file.m_header.DataLength());
            file.Close();
        } catch (const platform::FileException&) {
            g_nTransferResult = TRANSFER_ERR_DATA_FILE;
            break;
        }
    }
    return 0;
}

bool SendFirmwareFile(CFirmwareFile& file)
{
    if (file.m_header.PrinterId() != g_wTransferPrinterId) {
        const auto text = platform::LoadResourceString(IDS_PRINTER_ID_ERROR);
        g_nTransferResult = TRANSFER_ERR_PRINTER_ID;
        platform::ShowMessageBox(text, platform::MessageButtons::Ok);
        return false;
    }
    const std::int32_t dataLength = file.m_header.DataLength();
    if (dataLength <= 0) {
        g_nTransferResult = TRANSFER_ERR_DATA_FILE;
        return false;
    }
    const auto size = static_cast<std::size_t>(dataLength);
    std::vector<std::uint8_t> data;
    try {
        data.resize(size);
    } catch (const std::bad_alloc&) {
        g_nTransferResult = TRANSFER_ERR_DATA_FILE;
        return false;
    } catch (const std::length_error&) {
        g_nTransferResult = TRANSFER_ERR_DATA_FILE;
        return false;
    }
    file.Seek(firmware_format::DATA_OFFSET);
    if (file.Read(data.data(), size) < size) {
        g_nTransferResult = TRANSFER_ERR_DATA_FILE;
        return false;
    }
    g_TransferStatus.fill(0);
    std::int32_t length = dataLength;
    g_nTransferResult = g_pfnTRSendFile != nullptr
                            ? g_pfnTRSendFile(file.m_header.bytes.data(), data.data(), &length, g_TransferStatus.data(),
                                              transfer_format::SEND_LIMIT, TransferProgress)
                            : TRANSFER_ERR_NOT_BOUND;
    return g_nTransferResult == TRANSFER_OK;
}
