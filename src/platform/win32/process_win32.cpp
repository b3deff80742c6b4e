#include <windows.h>

#include <array>
#include <system_error>

#include "platform/process.h"
#include "platform/thread.h"

namespace platform {

static_assert(MAX_PATH_CHARS == MAX_PATH);

std::optional<std::string> ExecutableFileName()
{
    std::array<char, MAX_PATH_CHARS + 1> name{};
    const DWORD length = ::GetModuleFileNameA(nullptr, name.data(), MAX_PATH_CHARS);
    if (length == 0 || length >= MAX_PATH_CHARS) {
        return std::nullopt;
    }
    return std::string(name.data(), length);
}

bool IsLeadByte(char byte)
{
    return ::IsDBCSLeadByte(static_cast<BYTE>(byte)) != FALSE;
}

std::unique_ptr<WorkerThread> WorkerThread::Start(Routine routine, DialogHandle boxOwner)
{
    try {
        return std::make_unique<WorkerThread>(std::move(routine), boxOwner);
    } catch (const std::system_error&) {
        return nullptr;
    }
}

}  // namespace platform
