#include "platform/power.h"

#include <atomic>

namespace platform {
namespace {

std::atomic<int> g_blocks = 0;

}  // namespace

ShutdownBlock::ShutdownBlock(const Dialog& owner, const std::string& reason) : m_window(owner.Handle())
{
    ++g_blocks;
    SetExecutionState(EXECUTION_CONTINUOUS | EXECUTION_SYSTEM_REQUIRED);
    m_reasonSet = m_window != nullptr && CreateShutdownBlockReason(m_window, reason);
}

ShutdownBlock::~ShutdownBlock()
{
    if (m_reasonSet) {
        DestroyShutdownBlockReason(m_window);
    }
    SetExecutionState(EXECUTION_CONTINUOUS);
    --g_blocks;
}

bool SessionMayEnd()
{
    return g_blocks == 0;
}

}  // namespace platform
