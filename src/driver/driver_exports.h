#pragma once
// Call shapes of the exports of the printer driver's transfer library
// ("TrDrv.dll") and raw I/O library ("tmfilo.dll"), shared by the program
// and by the simulated driver. Every integer is 32 bits wide.

#include <cstdint>

#include "driver/driver_call.h"

extern "C" {

// Progress callback handed to TRSendFile: takes the percentage (0 to 100) of
// the current file sent so far; a result of 0 asks the library to stop.
using TransferProgressProc = std::int32_t(DRIVER_CALL*)(std::int32_t percent);

// Raw I/O library. Both operations name the printer by a writable,
// zero-terminated buffer of at least 256 characters, take a reserved 0,
// receive the number of bytes moved in *count and wait at most timeoutMs.
// Non-zero result: success.
using TMWriteFileProc = std::int32_t(DRIVER_CALL*)(char* printer, std::int32_t reserved, std::uint8_t* data,
                                                   std::int32_t length, std::int32_t* count, std::int32_t timeoutMs);
using TMReadFileProc = std::int32_t(DRIVER_CALL*)(char* printer, std::int32_t reserved, std::uint8_t* data,
                                                  std::int32_t length, std::int32_t* count, std::int32_t timeoutMs);

// Transfer library. Every export returns a result code, 0 for success.
using TRInitPrinterProc = std::int32_t(DRIVER_CALL*)(const char* printer, std::uint8_t* initInfo10);
using TRCheckSupportPrinterProc = std::int32_t(DRIVER_CALL*)(const char* printer);
using TRCmdInitProc = std::int32_t(DRIVER_CALL*)(std::int32_t limit);
using TRGetStatusProc = std::int32_t(DRIVER_CALL*)(std::uint8_t* status32, std::int32_t limit);
using TRGetFileListProc = std::int32_t(DRIVER_CALL*)(char* list, std::int32_t capacity, std::int32_t* count);
using TRSendFileProc = std::int32_t(DRIVER_CALL*)(const std::uint8_t* header64, const std::uint8_t* data,
                                                  std::int32_t* length, std::uint8_t* status32, std::int32_t limit,
                                                  TransferProgressProc progress);
using TRReceiveFileProc = std::int32_t(DRIVER_CALL*)(const char* name, std::uint8_t* buffer, std::int32_t* length);
using TRDeleteFileProc = std::int32_t(DRIVER_CALL*)(const char* name);

}  // extern "C"
