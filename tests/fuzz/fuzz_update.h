#pragma once
// For the targets that run an update: a private current folder for the data
// file, and the update procedure run on the printer bound as the Update step
// leaves it, every question answered Yes.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>

#include "app/update_dlg.h"
#include "channel/raw_io.h"
#include "transfer/transfer_library.h"

namespace fuzz {

inline constexpr const char* kPrinter = "Corvane VR-380MX";

inline void UseWorkFolder()
{
    static const auto folder = [] {
        std::string name = (std::filesystem::temp_directory_path() / "vr38-fuzz-XXXXXX").string();
        std::filesystem::current_path(::mkdtemp(name.data()));
        std::atexit([] { std::filesystem::remove_all(std::filesystem::current_path()); });
        return name;
    }();
}

inline void WriteDataFile(std::span<const std::uint8_t> bytes)
{
    std::ofstream(FIRMWARE_DATA_FILE, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline void RunUpdate(std::uint16_t printerId)
{
    if (BindRawIoLibrary() && LoadTransferLibrary() && TransferInitPrinter(kPrinter)) {
        g_wTransferPrinterId = printerId;
        CUpdateDlg dialog;
        dialog.m_strPrinter = kPrinter;
        dialog.RunFirmwareUpdate();
    }
    ResetTransferState();
    ResetChannelState();
}

}  // namespace fuzz
