#include "platform/thread.h"

#include <system_error>

#include "platform/dialog_internal.h"

namespace platform {
namespace {

thread_local DialogHandle t_boxOwner = nullptr;

}  // namespace

DialogHandle ThreadBoxOwner()
{
    return t_boxOwner;
}

WorkerThread::WorkerThread(Routine routine, DialogHandle boxOwner)
    : m_thread([this, boxOwner, routine = std::move(routine)] {
          t_boxOwner = boxOwner;
          m_exitCode = routine();
      })
{
}

std::unique_ptr<WorkerThread> WorkerThread::Start(Routine routine, DialogHandle boxOwner)
{
    try {
        return std::make_unique<WorkerThread>(std::move(routine), boxOwner);
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
