#include <windows.h>

#include <array>
#include <system_error>

#include "platform/process.h"
#include "platform/thread.h"

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

std::unique_ptr<WorkerThread> WorkerThread::Start(Routine routine)
{
    try {
        return std::make_unique<WorkerThread>(std::move(routine));
    } catch (const std::system_error&) {
        return nullptr;
    }
}

}  // namespace platform
