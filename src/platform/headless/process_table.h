#pragma once
// The headless stand-in for the running program: tests name the executable's
// file name and the process's ANSI code page, and refuse to start threads.

#include <optional>
#include <string>

namespace platform::headless {

// In UTF-8, as the wide interface gives it. Default:
// "C:\Program Files\Corvane\VR38Update\VR38Update.exe".
void SetExecutableFileName(std::optional<std::string> name);
// The ANSI code page: Shift JIS (932, lead bytes 0x81-0x9F and 0xE0-0xFC)
// when on, else Windows-1252 (see code_page_headless.cpp).
void SetDoubleByteCodePage(bool shiftJis);
// No worker thread starts, as when the process is out of resources.
void RefuseThreads(bool refuse);
void ResetProcess();

}  // namespace platform::headless
