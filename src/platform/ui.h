#pragma once
// The rest of the user interface the program asks of the platform: message
// boxes, string resources, the application's name.

#include <string>

#include "platform/dialog.h"
#include "platform/process.h"  // the application name, the boxes' caption

namespace platform {

enum class MessageButtons { Ok, YesNo };

// Default: the icon of a box for which no other is named, the warning icon.
enum class MessageIcon { Default, Warning, Error, Information };

// Shows a message box captioned with the application name; returns ID_OK,
// ID_YES or ID_NO. May be called from any thread. The box is owned by the
// window the user is working in (see MessageBoxOwner), and while it is up no
// other window of the program takes input.
int ShowMessageBox(const std::string& text, MessageButtons buttons = MessageButtons::Ok,
                   MessageIcon icon = MessageIcon::Default);

// A string of the program's string table; empty when there is none.
std::string LoadResourceString(int id);

// The size of a large icon on this system.
struct Size {
    int cx = 0;
    int cy = 0;
};
Size SystemIconSize();

// Shows the application's wait cursor for as long as it lives.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    void* m_previous = nullptr;
};

}  // namespace platform
