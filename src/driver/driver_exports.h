#pragma once
// Call shapes of the exports of the printer driver's transfer library
// ("TrDrv.dll") and raw I/O library ("tmfilo.dll"), shared by the program
// and by the simulated driver. Every integer is 32 bits wide.

#include <cstdint>

#include "driver/driver_call.h"

// The libraries' file names, loaded by bare name.
inline constexpr char TRANSFER_LIBRARY_NAME[] = "TrDrv.dll";
inline constexpr char RAW_IO_LIBRARY_NAME[] = "tmfilo.dll";

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

// Every export of each library, in the order the program binds them. Each
// name N has its call shape in NProc; the bound pointers, the binding, the
// resets and the simulated driver's declarations and tables are all made from
// these lists.
// clang-format off
#define TMFILO_EXPORTS(X) \
    X(TMWriteFile)        \
    X(TMReadFile)
#define TRDRV_EXPORTS(X)     \
    X(TRInitPrinter)         \
    X(TRCheckSupportPrinter) \
    X(TRCmdInit)             \
    X(TRGetStatus)           \
    X(TRGetFileList)         \
    X(TRSendFile)            \
    X(TRReceiveFile)         \
    X(TRDeleteFile)
// clang-format on

// The program's bound pointer for an export: g_pfnN, of type NProc.
#define DRIVER_EXPORT_DECLARE_POINTER(name) extern name##Proc g_pfn##name;
#define DRIVER_EXPORT_DEFINE_POINTER(name) name##Proc g_pfn##name = nullptr;
#define DRIVER_EXPORT_RESET_POINTER(name) g_pfn##name = nullptr;
