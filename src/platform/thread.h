#pragma once
// A worker thread that runs one routine at normal priority with the default
// stack size, started at once. Its owner waits for the routine to finish
// before the thread object goes.

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

private:
    std::uint32_t m_exitCode = 0;  // before m_thread: the thread writes it
    std::thread m_thread;
};

}  // namespace platform
