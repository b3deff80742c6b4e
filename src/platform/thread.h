#pragma once
// A worker thread that runs one routine at normal priority with the default
// stack size, started at once. Its owner waits for the routine to finish
// before the thread object goes.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

#include "platform/dialog.h"

namespace platform {

class WorkerThread {
public:
    using Routine = std::function<std::uint32_t()>;

    // Null when no thread can be started. The routine's message boxes are
    // owned by boxOwner, the window the user watches while it runs.
    static std::unique_ptr<WorkerThread> Start(Routine routine, DialogHandle boxOwner = nullptr);

    // Starts the thread; throws std::system_error when it cannot.
    WorkerThread(Routine routine, DialogHandle boxOwner);
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Waits for the routine and returns its result.
    std::uint32_t Join();

    // The same, on the thread that started it, while that thread goes on
    // handling its windows' messages (see HandleMessagesUntil): a routine
    // that waits for those windows is never waited for in return.
    std::uint32_t JoinHandlingMessages();

private:
    // Before m_thread: the thread writes them.
    std::uint32_t m_exitCode = 0;
    std::atomic<bool> m_done = false;
    std::uint32_t m_starter;  // the thread woken when the routine is done
    std::thread m_thread;
};

}  // namespace platform
