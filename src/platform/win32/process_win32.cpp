#include <windows.h>

#include <array>

#include "platform/process.h"

namespace platform {

std::optional<std::string> ExecutableFileName()
{
    std::array<char, MAX_PATH + 1> name{};
    const DWORD length = ::GetModuleFileNameA(nullptr, name.data(), MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return std::nullopt;
    }
    return std::string(name.data(), length);
}

bool IsLeadByte(char byte)
{
    return ::IsDBCSLeadByte(static_cast<BYTE>(byte)) != FALSE;
}

}  // namespace platform
