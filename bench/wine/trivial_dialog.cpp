// The least a dialog program does: one message box, then the end. The bench
// times VR38Update's start-up against it under the same Wine.

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    ::MessageBoxA(nullptr, "A dialog program that does nothing else.", "VR38 Bench Trivial", MB_OK);
    return 0;
}
