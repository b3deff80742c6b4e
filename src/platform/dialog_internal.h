#pragma once
// Between the dialog backends and the code they share.

namespace platform {

class Dialog;

// Called by a backend once a dialog's window is gone for good and
// PostNcDestroy has run: a self-owned dialog is deleted here.
void ReleaseIfSelfOwned(Dialog* dialog);

}  // namespace platform
