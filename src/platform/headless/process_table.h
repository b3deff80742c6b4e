#pragma once
// The headless stand-in for the running program: tests name the executable's
// file name and the lead bytes of a double-byte code page, and refuse to
// start threads.

#include <optional>
#include <string>

namespace platform::headless {

// Default: "C:\Program Files\Corvane\VR38Update\VR38Update.exe".
void SetExecutableFileName(std::optional<std::string> name);
// Lead bytes of Shift JIS (0x81-0x9F, 0xE0-0xFC) when on; none otherwise.
void SetDoubleByteCodePage(bool shiftJis);
// No worker thread starts, as when the process is out of resources.
void RefuseThreads(bool refuse);
void ResetProcess();

}  // namespace platform::headless
