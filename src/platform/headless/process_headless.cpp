#include <system_error>

#include "platform/headless/process_table.h"
#include "platform/process.h"
#include "platform/thread.h"

namespace platform::headless {
namespace {

constexpr const char* kDefaultExecutable = "C:\\Program Files\\Corvane\\VR38Update\\VR38Update.exe";

struct ProcessState {
    std::optional<std::string> executable = kDefaultExecutable;
    bool shiftJis = false;
    bool threadsRefused = false;
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

void SetDoubleByteCodePage(bool shiftJis)
{
    State().shiftJis = shiftJis;
}

void RefuseThreads(bool refuse)
{
    State().threadsRefused = refuse;
}

void ResetProcess()
{
    State() = ProcessState();
}

}  // namespace platform::headless

namespace platform {

std::optional<std::string> ExecutableFileName()
{
    return headless::State().executable;
}

bool IsLeadByte(char byte)
{
    const auto value = static_cast<unsigned char>(byte);
    return headless::State().shiftJis && ((value >= 0x81 && value <= 0x9F) || (value >= 0xE0 && value <= 0xFC));
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
