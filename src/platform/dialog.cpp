// What both dialog backends share: command routing and the self-owned
// modeless dialogs.

#include <algorithm>
#include <vector>

#include "platform/dialog.h"
#include "platform/dialog_internal.h"

namespace platform {
namespace {

// Self-owned dialogs, touched only on the thread that runs the dialogs.
std::vector<std::unique_ptr<Dialog>>& SelfOwned()
{
    static std::vector<std::unique_ptr<Dialog>> dialogs;
    return dialogs;
}

}  // namespace

void Dialog::OnCommand(int id, CommandSource /*source*/)
{
    if (id == ID_OK) {
        OnOK();
    } else if (id == ID_CANCEL) {
        OnCancel();
    }
}

bool Dialog::AdoptSelfOwned(std::unique_ptr<Dialog> dialog, Dialog* parent)
{
    Dialog* raw = dialog.get();
    SelfOwned().push_back(std::move(dialog));
    if (!raw->Create(parent)) {
        ReleaseIfSelfOwned(raw);
        return false;
    }
    return true;
}

void Dialog::CentreOn(const Rect& outer)
{
    const auto own = GetWindowRect();
    MoveToTop((outer.left + outer.right - own.Width()) / 2, (outer.top + outer.bottom - own.Height()) / 2);
}

void Dialog::CentreOnOwner()
{
    CentreOn(m_parent != nullptr && m_parent->HasWindow() ? m_parent->GetWindowRect() : DesktopWorkArea());
}

DialogHandle MessageBoxOwner()
{
    if (const auto worker = ThreadBoxOwner()) {
        return worker;
    }
    const Dialog* main = MainWindow();
    return main != nullptr && main->HasWindow() ? LastActivePopup(main->Handle()) : nullptr;
}

void ReleaseIfSelfOwned(Dialog* dialog)
{
    auto& dialogs = SelfOwned();
    const auto found = std::ranges::find_if(dialogs, [dialog](const auto& owned) { return owned.get() == dialog; });
    if (found != dialogs.end()) {
        // Taken out of the list first: its destructor may look at the list.
        auto owned = std::move(*found);
        dialogs.erase(found);
    }
}

}  // namespace platform
