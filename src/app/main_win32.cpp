// Entry point of VR38Update.exe: the application object's start-up, which
// runs the main dialog modally, then its exit.

#include <windows.h>

#include "app/update_app.h"

namespace {

// Takes the current folder off the library search path, so that a library
// planted there is never loaded: only the default folders (the program's own,
// System32 and folders added by the program) where the system has
// SetDefaultDllDirectories (Windows 8 and later, Windows 7 with its loader
// update), else at least no current folder. The driver's libraries beside
// the program still load by bare name, and the information library by its
// full path, with its own folder searched for what it needs.
void KeepCurrentFolderOffLibrarySearch()
{
    using SetDefaultDllDirectoriesProc = BOOL(WINAPI*)(DWORD);
    const auto setDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesProc>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefaultDllDirectories == nullptr || !setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS)) {
        ::SetDllDirectoryA("");
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    KeepCurrentFolderOffLibrarySearch();
    auto& app = GetUpdateApp();
    app.InitInstance();
    return app.ExitInstance();
}
