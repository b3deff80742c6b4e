#include <system_error>

#include "platform/headless/process_table.h"
#include "platform/process.h"
#include "platform/thread.h"

namespace platform::headless {
namespace {

constexpr const char* kDefaultExecutable = "C:\\Program Files\\Corvane\\VR38Update\\VR38Update.exe";

struct ProcessState {
    std::optional<std::string> executable = kDefaultExecutable;
    bool threadsRefused = false;
    std::optional<std::string> localAppData;
};

ProcessState& State()
{
    static ProcessState state;
    return state;
}

}  // namespace

void SetExecutableFileName(std::optional<std::string> name)
{
    State().executable = std::move(name);
}

void RefuseThreads(bool refuse)
{
    State().threadsRefused = refuse;
}

void SetLocalAppDataFolder(std::optional<std::string> folder)
{
    State().localAppData = std::move(folder);
}

void ResetProcess()
{
    State() = ProcessState();
    SetDoubleByteCodePage(false);
    SetClock(kDefaultLocalTime);
}

}  // namespace platform::headless

namespace platform {

std::optional<std::string> ExecutableFileName()
{
    // The wide interface counts UTF-16 units: one per UTF-8 sequence, two for
    // one of four bytes; a name that does not fit the buffer is not given.
    const auto& name = headless::State().executable;
    std::size_t units = 0;
    for (const char c : name.value_or("")) {
        const auto byte = static_cast<unsigned char>(c);
        units += (byte & 0xC0) == 0x80 ? 0 : byte >= 0xF0 ? 2 : 1;
    }
    return units < MAX_PATH_CHARS ? name : std::nullopt;
}

std::optional<std::string> LocalAppDataFolder()
{
    return headless::State().localAppData;
}

std::unique_ptr<WorkerThread> WorkerThread::Start(Routine routine, DialogHandle boxOwner)
{
    if (headless::State().threadsRefused) {
        return nullptr;
    }
    try {
        return std::make_unique<WorkerThread>(std::move(routine), boxOwner);
    } catch (const std::system_error&) {
        return nullptr;
    }
}

}  // namespace platform
