#pragma once
// What the Windows suites share: where the test program and the stand-ins
// lie, temporary paths and the printers simsetup.exe installs.

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "uidriver/ui_driver.h"

namespace e2e {

// The folder of the running test program, where the build puts every
// program and stand-in DLL.
inline std::string ProgramDirectory()
{
    std::array<char, MAX_PATH + 1> path{};
    const DWORD length = ::GetModuleFileNameA(nullptr, path.data(), MAX_PATH);
    const std::string text(path.data(), length);
    return text.substr(0, text.find_last_of('\\'));
}

inline std::string TempPath(const char* name)
{
    std::array<char, MAX_PATH + 1> directory{};
    ::GetTempPathA(static_cast<DWORD>(directory.size()), directory.data());
    return std::string(directory.data()) + name;
}

inline std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

// simsetup.exe installs printers with the information library of that name
// beside the test program; the arguments name them ("--printer NAME" and
// the like). Its exit code, or -1 when it did not start or end in time.
inline int InstallPrinters(const std::string& infoLibrary, const std::string& arguments)
{
    const auto setup =
        uidriver::Process::Start(ProgramDirectory() + "\\simsetup.exe", {},
                                 "--info-dll " + Quoted(ProgramDirectory() + "\\" + infoLibrary) + " " + arguments);
    return setup ? static_cast<int>(setup->WaitForExit(std::chrono::minutes(5)).value_or(-1)) : -1;
}

}  // namespace e2e
