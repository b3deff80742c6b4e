#pragma once
// Binding of the printer driver's transfer library, "TrDrv.dll", and the
// process-wide transfer context: the printer the library was last initialised
// for, the printer id that the printer and the data file must carry, the last
// result code and the status area.

#include <array>
#include <cstdint>
#include <string>

#include "driver/driver_exports.h"
#include "platform/library.h"
#include "transfer/transfer_format.h"

extern platform::Library g_hTransferLib;
TRDRV_EXPORTS(DRIVER_EXPORT_DECLARE_POINTER)

extern std::string g_strTransferPrinter;
extern std::uint16_t g_wTransferPrinterId;
extern std::int32_t g_nTransferResult;
extern std::array<std::uint8_t, transfer_format::STATUS_SIZE> g_TransferStatus;
extern std::array<std::uint8_t, transfer_format::INIT_INFO_SIZE> g_TransferInitInfo;

// Loads "TrDrv.dll" by bare name and binds its eight exports in order. False
// when the library does not load or at the first export missing, even one the
// program never calls; the library then stays loaded until FreeTransferLibrary.
bool LoadTransferLibrary();
void FreeTransferLibrary();

// TRInitPrinter for the printer; on success the name goes to
// g_strTransferPrinter.
bool TransferInitPrinter(const std::string& name);

// TRCmdInit(1000).
bool TransferCmdInit();

// TRGetStatus into the zeroed status area.
bool TransferGetStatus();

// True when the printer's status, read through the library, carries the
// printer id g_wTransferPrinterId. A status that merely differs leaves the
// result code at 0.
bool CheckTransferPrinter();

// Returns the transfer context and the shared transfer variables to their
// start state and unloads the library.
void ResetTransferState();
