// Starting a thread (WorkerThread::Start) is each backend's own, in
// process_*.cpp: the headless one can be told to refuse.

#include "platform/thread.h"

namespace platform {

WorkerThread::WorkerThread(Routine routine) : m_thread([this, routine = std::move(routine)] { m_exitCode = routine(); })
{
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
