#pragma once
// What the Windows suites share: where the test program and the stand-ins
// lie, temporary paths and running another program to its end.

#include <windows.h>

#include <array>
#include <string>
#include <vector>

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

// Runs a command line to its end, at most for the wait; its exit code, or -1
// when it cannot start.
inline int RunToTheEnd(std::string commandLine, DWORD waitMilliseconds = 60000)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process)) {
        return -1;
    }
    ::WaitForSingleObject(process.hProcess, waitMilliseconds);
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return static_cast<int>(exitCode);
}

}  // namespace e2e
