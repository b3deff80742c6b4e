#include "platform/thread.h"

#include <system_error>

namespace platform {

WorkerThread::WorkerThread(Routine routine) : m_thread([this, routine = std::move(routine)] { m_exitCode = routine(); })
{
}

std::unique_ptr<WorkerThread> WorkerThread::Start(Routine routine)
{
    try {
        return std::make_unique<WorkerThread>(std::move(routine));
    } catch (const std::system_error&) {
        return nullptr;
    }
}

WorkerThread::~WorkerThread()
{
    Join();
}

std::uint32_t WorkerThread::Join()
{
    if (m_thread.joinable()) {
        m_thread.join();
    }
    return m_exitCode;
}

}  // namespace platform
