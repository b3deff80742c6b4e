#pragma once
// Between the dialog backends and the code they share.

#include <cstdint>
#include <functional>

#include "platform/dialog.h"

namespace platform {

// Called by a backend once a dialog's window is gone for good and
// PostNcDestroy has run: a self-owned dialog is deleted here.
void ReleaseIfSelfOwned(Dialog* dialog);

// The window whose boxes a worker thread's boxes are: the one named when the
// thread was started; null on other threads.
DialogHandle ThreadBoxOwner();

// The owner of a message box: the window the user is working in. From a
// worker thread, the window its starter named; otherwise the main window's
// last active popup (the main window itself when that popup is gone or
// hidden); null before the main window exists.
DialogHandle MessageBoxOwner();

// Backend: the window the owner last activated among the windows it owns,
// while that one still exists and shows; the owner itself otherwise.
DialogHandle LastActivePopup(DialogHandle owner);

// Backend: the calling thread, as WakeMessageLoop names it.
std::uint32_t CurrentThreadToken();

// Backend: handles the calling thread's messages until done() holds: other
// threads' window operations, posted commands, timers and painting go on;
// the user's input waits. A quit message met meanwhile is posted again at
// the end.
void HandleMessagesUntil(const std::function<bool()>& done);

// Backend: makes a thread in HandleMessagesUntil look at its condition again.
void WakeMessageLoop(std::uint32_t thread);

// Backend: gives the calling thread what a thread needs to post and receive
// window messages (on Windows its message queue, which the system otherwise
// makes at the thread's first window call).
void PrepareThreadForMessages();

}  // namespace platform
