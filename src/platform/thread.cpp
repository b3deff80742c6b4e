// Starting a thread (WorkerThread::Start) is each backend's own, in
// process_*.cpp: the headless one can be told to refuse.

#include "platform/thread.h"

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
    : m_starter(CurrentThreadToken()), m_thread([this, boxOwner, routine = std::move(routine)] {
          t_boxOwner = boxOwner;
          // Before the routine: its first post would otherwise pay for it
          // (under Wine up to a few milliseconds, inside a progress report).
          PrepareThreadForMessages();
          m_exitCode = routine();
          m_done = true;
          WakeMessageLoop(m_starter);
      })
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

std::uint32_t WorkerThread::JoinHandlingMessages()
{
    HandleMessagesUntil([this] { return m_done.load(); });
    return Join();
}

}  // namespace platform
