#pragma once
// The headless user interface as tests drive and watch it. A dialog runs
// under the test's script: the script is told when a modal dialog shows,
// after every window operation, and when a message box appears, and it acts
// like the user (clicks buttons, presses Enter or Escape, answers boxes).
// Window operations that another thread makes are carried out on the
// dialog's own thread while the caller waits, as SendMessage does. Every
// operation and message box is recorded. Windows have owners and are enabled
// or not as on Windows: a modal dialog disables its owner, a message box its
// owner and every other shown window, and a disabled window takes no clicks
// or keys. Timers run on a virtual clock that moves only when the dialog
// loop has nothing else to do, so nothing really waits. The desktop has an
// active window and a z order as on Windows: showing a window activates it,
// and when the active window hides or goes the system activates its owner if
// that takes input, else the next window down the z order that does, which
// may be another program's (see PlaceOtherProgramWindow).

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/dialog.h"
#include "platform/ui.h"

namespace platform::headless {

struct UiEvent {
    int dialogId = 0;   // template id; 0 for what belongs to no dialog
    std::string op;     // create show hide caption move text enable disable item.show item.hide
                        // progress.range progress.pos animation.open combo.add combo.select
                        // command end quit destroy click.refused stalled cursor.wait cursor.restore
                        // sysmenu.separator sysmenu.item syscommand icon paint.icon activate
                        // timer.set (value id, value2 interval) timer (value id, value2 virtual ms);
                        // enable and disable with control 0 are the window's own; activate
                        // with dialog 0 is another program's window
    int controlId = 0;  // 0: the dialog window itself
    std::string text;
    int value = 0;
    int value2 = 0;
    bool fromOtherThread = false;  // asked for by a thread other than the dialog's
};

struct MessageBoxRecord {
    std::string text;
    std::string caption;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::Warning;  // the icon shown
    int answer = ID_OK;
    bool fromUiThread = true;
    int ownerId = 0;                      // template id of the owner window; 0 for none
    std::vector<int> windowsTakingInput;  // shown, enabled windows while the box is up
};

struct UiScript {
    // A modal dialog has been initialised and shown; on the dialog's thread.
    std::function<void(Dialog&)> onShown{};
    // After every recorded event, on the dialog's thread (not for message
    // boxes and waits).
    std::function<void(Dialog&, const UiEvent&)> onEvent{};
    // A message box; returns the answer. Without it: ID_OK, or ID_YES.
    std::function<int(const MessageBoxRecord&)> onMessageBox{};
};

// Forgets the script, the records, the main window, the replaced strings,
// the unavailable templates, the virtual clock, the fault handler, a quit
// message and the desktop's windows.
void ResetUi();
void SetUiScript(UiScript script);
std::vector<UiEvent> UiEvents();
std::vector<MessageBoxRecord> MessageBoxes();
// Puts another text in place of a string of the program's string table.
void SetResourceString(int id, std::string text);
// Windows of this template cannot be made, as when the system runs short.
void SetDialogUnavailable(int templateId);
// Whether the window as a whole takes input.
bool IsWindowEnabled(const Dialog& dialog);

// A message box without an owner while a window of the program shows, and a
// dialog loop or window operation that stalls, are faults: by default it ends the test run with a report on the
// standard error; a test of the check itself may take the report instead.
void SetUiFaultHandler(std::function<void(const std::string&)> handler);

// The user's actions, on the dialog's thread (from a script handler). A click
// on a disabled or hidden control does nothing and returns false.
bool ClickButton(Dialog& dialog, int controlId);
// Enter: the command of the default push button (none while it is disabled),
// or ID_OK when there is none.
void PressEnter(Dialog& dialog);
// Escape, or closing the window: ID_CANCEL.
void PressEscape(Dialog& dialog);

// The system menu: choosing an item (true when the dialog handled it; Close
// the dialog leaves to the system is Cancel), and the items the program added
// (command 0 for a separator).
inline constexpr unsigned kSystemCommandClose = 0xF060;  // SC_CLOSE
bool ChooseSystemMenuItem(Dialog& dialog, unsigned commandId);
std::vector<std::pair<unsigned, std::string>> SystemMenuItems(const Dialog& dialog);

// Minimises or restores the window, and asks it to paint itself (true when
// its own handler painted) or for its drag icon.
void SetMinimized(Dialog& dialog, bool minimized);
bool Paint(Dialog& dialog);
int QueryDragIcon(Dialog& dialog);

// Windows asks the window, on its thread, whether the session may end
// (WM_QUERYENDSESSION); its answer.
bool QueryEndSession(Dialog& dialog);

// A quit message for the dialogs' thread, as PostQuitMessage leaves it: a
// modal run's loop that meets it with nothing else to do ends (DoModal
// returns -1), and it stays for the loops after.
void PostQuitMessage();

// Another program's window on the desktop, shown and active, above the
// program's windows until they take the activation; and how often the system
// has activated it since.
void PlaceOtherProgramWindow();
int OtherProgramActivations();

// How long the dialog loop and a caller from another thread wait for each
// other before the test is taken as stalled: a fault (see SetUiFaultHandler);
// with a handler that returns, the dialog ends with -1.
inline constexpr int kStallMilliseconds = 10000;
// A shorter wait, for a test of the stall itself; ResetUi restores the default.
void SetStallMilliseconds(int milliseconds);

}  // namespace platform::headless
