#pragma once
// Keeping the machine up through work that must not be cut off: while a
// ShutdownBlock lives, the system does not fall asleep, and a shutdown or
// log-off is refused with a reason Windows shows the user. Every window of
// the program answers the end-session query (WM_QUERYENDSESSION) with
// SessionMayEnd().

#include <cstdint>
#include <string>

#include "platform/dialog.h"

namespace platform {

// Execution-state flags (ES_CONTINUOUS, ES_SYSTEM_REQUIRED).
inline constexpr std::uint32_t EXECUTION_CONTINUOUS = 0x80000000u;
inline constexpr std::uint32_t EXECUTION_SYSTEM_REQUIRED = 0x00000001u;

class ShutdownBlock {
public:
    // Made and dropped on the thread of `owner`'s window, the window Windows
    // names with the reason (the application's main window). An owner
    // without a window still blocks, without a reason.
    ShutdownBlock(const Dialog& owner, const std::string& reason);
    ~ShutdownBlock();
    ShutdownBlock(const ShutdownBlock&) = delete;
    ShutdownBlock& operator=(const ShutdownBlock&) = delete;

private:
    DialogHandle m_window;
    bool m_reasonSet = false;
};

// False while a ShutdownBlock lives.
bool SessionMayEnd();

// The system calls behind ShutdownBlock, one set per backend: the calling
// thread's execution state (SetThreadExecutionState), and the reason shown
// for a window of the calling thread (ShutdownBlockReasonCreate, false when
// refused, and ShutdownBlockReasonDestroy).
void SetExecutionState(std::uint32_t flags);
bool CreateShutdownBlockReason(DialogHandle window, const std::string& reason);
void DestroyShutdownBlockReason(DialogHandle window);

}  // namespace platform
