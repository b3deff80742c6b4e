#pragma once
// The main dialog of VR38Update: the installed printers of the model, Update
// and Exit. Before it shows, the warning dialog asks the user to go on; on
// Update it identifies the printer and runs the firmware update procedure,
// after which the dialog, and the program, end. The warning and About
// dialogs have no behaviour of their own.

#include <string>

#include "app/update_record.h"
#include "platform/dialog.h"
#include "res/resource.h"
#include "transfer/transfer_worker.h"

class CWarningDlg : public platform::Dialog {
public:
    explicit CWarningDlg(platform::Dialog* parent = nullptr) : platform::Dialog(IDD_WARNING, parent) {}
};

class CAboutDlg : public platform::Dialog {
public:
    explicit CAboutDlg(platform::Dialog* parent = nullptr) : platform::Dialog(IDD_ABOUTBOX, parent) {}

protected:
    // Centred on the main dialog, like the warning.
    bool OnInitDialog() override
    {
        CentreOnOwner();
        return true;
    }
};

// The printer combo box of the main dialog, reached through the dialog.
class ComboBox {
public:
    ComboBox(platform::Dialog& dialog, int id) : m_dialog(dialog), m_id(id) {}
    int Id() const { return m_id; }
    platform::Dialog& Owner() const { return m_dialog; }

private:
    platform::Dialog& m_dialog;
    int m_id;
};

class CUpdateDlg : public platform::Dialog {
public:
    explicit CUpdateDlg(platform::Dialog* parent = nullptr);

    void OnUpdate();
    void FillPrinterCombo(ComboBox& combo, const std::string& rememberedName);
    std::string GetSelectedPrinter(const ComboBox& combo) const;

    // The update procedure behind Update, once the printer has identified
    // itself: data file check, version and confirmation, the three printer
    // checks, job list and total, the transfer, the closing message. True
    // only when the transfer ended with result 0.
    bool RunFirmwareUpdate();

    ComboBox m_combo;          // control 1000
    std::string m_strPrinter;  // the printer the raw commands go to
    int m_hIcon = IDR_MAINFRAME;

protected:
    bool OnInitDialog() override;
    void OnCommand(int id, platform::CommandSource source) override;
    bool OnSysCommand(unsigned commandId) override;
    bool OnPaint() override;
    int OnQueryDragIcon() override { return m_hIcon; }
    void OnDestroy() override;

private:
    TransferJobList m_transferJobs;  // emptied at the start of every update
    UpdateRecord m_record;           // the attempt, step by step, for support
};
