// The application object's start-up, the one place that runs the main
// dialog: the main dialog calls on the application object, so the start-up
// sits above both.

#include "app/update_app.h"
#include "app/update_dlg.h"
#include "platform/profile.h"
#include "platform/text_format.h"
#include "platform/ui.h"
#include "res/resource.h"
#include "transfer/transfer_library.h"

bool CUpdateApp::InitInstance()
{
    platform::SetRegistryKey(platform::LoadResourceString(IDS_REGISTRY_KEY));
    if (!CheckRequiredFiles()) {
        return false;
    }
    if (!LoadTransferLibrary()) {
        platform::ShowMessageBox(platform::FormatText("Error: Not Found %s.", TRANSFER_LIBRARY_NAME),
                                 platform::MessageButtons::Ok, platform::MessageIcon::Error);
        return false;
    }
    CUpdateDlg dialog;
    platform::SetMainWindow(&dialog);
    dialog.DoModal();
    platform::SetMainWindow(nullptr);
    return false;
}
