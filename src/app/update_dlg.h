#pragma once
// The main dialog of VR38Update. So far it holds what the firmware update
// procedure needs: the printer the raw commands go to and the job list.

#include <string>

#include "platform/dialog.h"
#include "res/resource.h"
#include "transfer/transfer_worker.h"

// The firmware data file, looked for beside the program at start-up and
// opened later by this bare name, relative to the current directory.
inline constexpr const char* FIRMWARE_DATA_FILE = "VR380MX_510.pd3";

class CUpdateDlg : public platform::Dialog {
public:
    explicit CUpdateDlg(platform::Dialog* parent = nullptr);

    // The update procedure behind Update, once the printer has identified
    // itself: data file check, version and confirmation, the three printer
    // checks, job list and total, the transfer, the closing message. True
    // only when the transfer ended with result 0.
    bool RunFirmwareUpdate();

    std::string m_strPrinter;  // the printer the raw commands go to

private:
    TransferJobList m_transferJobs;  // emptied at the start of every update
};
