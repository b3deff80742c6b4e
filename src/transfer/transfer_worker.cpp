#include "transfer/transfer_worker.h"

#include <memory>
#include <new>

#include "platform/code_page.h"
#include "platform/ui.h"
#include "res/resource.h"
#include "transfer/progress_dlg.h"
#include "transfer/transfer_library.h"

namespace {

// The file name of a path, without directory and extension; a trail byte
// equal to '\\' is no separator.
std::string FileTitleOf(const std::string& path)
{
    const auto separator = platform::FindLastCharacterOf(path, "\\/:");
    auto title = separator == std::string::npos ? path : path.substr(separator + 1);
    if (const auto dot = platform::FindLastCharacterOf(title, "."); dot != std::string::npos) {
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
    // A file shorter than its header announces fails before any memory is
    // given for the data; the buffer is not cleared, the read fills it.
    if (file.GetLength() < firmware_format::DATA_OFFSET + std::uint64_t{size}) {
        g_nTransferResult = TRANSFER_ERR_DATA_FILE;
        return false;
    }
    std::unique_ptr<std::uint8_t[]> data;
    try {
        data = std::make_unique_for_overwrite<std::uint8_t[]>(size);
    } catch (const std::bad_alloc&) {
        g_nTransferResult = TRANSFER_ERR_DATA_FILE;
        return false;
    }
    file.Seek(firmware_format::DATA_OFFSET);
    if (file.Read(data.get(), size) < size) {
        g_nTransferResult = TRANSFER_ERR_DATA_FILE;
        return false;
    }
    g_TransferStatus.fill(0);
    std::int32_t length = dataLength;
    g_nTransferResult = g_pfnTRSendFile != nullptr
                            ? g_pfnTRSendFile(file.m_header.bytes.data(), data.get(), &length, g_TransferStatus.data(),
                                              transfer_format::SEND_LIMIT, TransferProgress)
                            : TRANSFER_ERR_NOT_BOUND;
    return g_nTransferResult == TRANSFER_OK;
}
