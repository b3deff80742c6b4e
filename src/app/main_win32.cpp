// Entry point of VR38Update.exe: the application object's start-up, which
// runs the main dialog modally, then its exit.

#include <windows.h>

#include "app/update_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    auto& app = GetUpdateApp();
    app.InitInstance();
    return app.ExitInstance();
}
