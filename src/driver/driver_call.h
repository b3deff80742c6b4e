#pragma once
// The calling convention of the printer driver's libraries: that of the
// platform's own API (WINAPI, which is __stdcall on 32-bit Windows). Their
// exports carry undecorated names, so the program finds them by plain name.

#if defined(_WIN32)
#define DRIVER_CALL __stdcall
#else
#define DRIVER_CALL
#endif
