#include "platform/power.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace platform {

static_assert(EXECUTION_CONTINUOUS == ES_CONTINUOUS && EXECUTION_SYSTEM_REQUIRED == ES_SYSTEM_REQUIRED);

void SetExecutionState(std::uint32_t flags)
{
    ::SetThreadExecutionState(static_cast<EXECUTION_STATE>(flags));
}

bool CreateShutdownBlockReason(DialogHandle window, const std::string& reason)
{
    return ::ShutdownBlockReasonCreate(reinterpret_cast<HWND>(window), ToWide(reason, CP_ACP).c_str()) != FALSE;
}

void DestroyShutdownBlockReason(DialogHandle window)
{
    ::ShutdownBlockReasonDestroy(reinterpret_cast<HWND>(window));
}

}  // namespace platform
