#pragma once
// The transfer worker: sends the data files of a job list to the printer, one
// after another, through the transfer library. Runs on the progress dialog's
// worker thread; its outcome is g_nTransferResult.

#include <cstdint>

#include "transfer/firmware_file.h"
#include "transfer/progress_state.h"

// The worker routine: always returns 0. Stops at the first file that fails;
// a file that cannot be opened or read ends the job with
// TRANSFER_ERR_DATA_FILE, and no file exception leaves it.
std::uint32_t SendJobFiles(const TransferJobList* jobList);

// Sends one opened data file: checks its printer id (a message box from this
// thread when it differs), reads exactly the announced data and hands header
// and data to TRSendFile with the progress callback.
bool SendFirmwareFile(CFirmwareFile& file);
