#pragma once
// A worker thread that runs one routine at normal priority with the default
// stack size, started at once. Its owner waits for the routine to finish
// before the thread object goes.

#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

namespace platform {

class WorkerThread {
public:
    using Routine = std::function<std::uint32_t()>;

    // Null when no thread can be started.
    static std::unique_ptr<WorkerThread> Start(Routine routine);

    // Starts the thread; throws std::system_error when it cannot.
    explicit WorkerThread(Routine routine);
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
