#include "transfer/transfer_library.h"

#include <algorithm>

#include "transfer/progress_state.h"

platform::Library g_hTransferLib;
TRDRV_EXPORTS(DRIVER_EXPORT_DEFINE_POINTER)

std::string g_strTransferPrinter;
std::uint16_t g_wTransferPrinterId = 0;
std::int32_t g_nTransferResult = TRANSFER_OK;
std::array<std::uint8_t, transfer_format::STATUS_SIZE> g_TransferStatus{};
std::array<std::uint8_t, transfer_format::INIT_INFO_SIZE> g_TransferInitInfo{};

namespace {

// Calls a bound export and keeps its result code; an export that was never
// bound fails like a failed call instead of being called through null.
template <class FunctionPointer, class... Arguments>
bool CallExport(FunctionPointer function, Arguments... arguments)
{
    g_nTransferResult = function != nullptr ? function(arguments...) : TRANSFER_ERR_NOT_BOUND;
    return g_nTransferResult == TRANSFER_OK;
}

}  // namespace

bool LoadTransferLibrary()
{
    g_strTransferPrinter.clear();
    g_hTransferLib = platform::Library::Load(TRANSFER_LIBRARY_NAME);
    if (!g_hTransferLib) {
        return false;
    }
#define BIND_EXPORT(name) &&g_hTransferLib.Bind(g_pfn##name, #name)
    return true TRDRV_EXPORTS(BIND_EXPORT);
#undef BIND_EXPORT
}

void FreeTransferLibrary()
{
    g_hTransferLib.Free();
}

bool TransferInitPrinter(const std::string& name)
{
    g_TransferInitInfo.fill(0);
    if (!CallExport(g_pfnTRInitPrinter, name.c_str(), g_TransferInitInfo.data())) {
        return false;
    }
    g_strTransferPrinter = name;
    return true;
}

bool TransferCmdInit()
{
    return CallExport(g_pfnTRCmdInit, transfer_format::CMD_LIMIT);
}

bool TransferGetStatus()
{
    g_TransferStatus.fill(0);
    return CallExport(g_pfnTRGetStatus, g_TransferStatus.data(), transfer_format::CMD_LIMIT);
}

bool CheckTransferPrinter()
{
    if (!TransferCmdInit() || !TransferGetStatus()) {
        return false;
    }
    using namespace transfer_format;
    const std::array<std::uint8_t, 5> expected{STATUS_SIGNATURE[0], STATUS_SIGNATURE[1], STATUS_SIGNATURE[2],
                                               static_cast<std::uint8_t>(g_wTransferPrinterId & 0xFF),
                                               static_cast<std::uint8_t>(g_wTransferPrinterId >> 8)};
    return std::equal(expected.begin(), expected.end(), g_TransferStatus.begin());
}

void ResetTransferState()
{
    FreeTransferLibrary();
    TRDRV_EXPORTS(DRIVER_EXPORT_RESET_POINTER)
    g_strTransferPrinter.clear();
    g_wTransferPrinterId = 0;
    g_nTransferResult = TRANSFER_OK;
    g_TransferStatus.fill(0);
    g_TransferInitInfo.fill(0);
    ResetProgressState();
}
