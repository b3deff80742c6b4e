#include "platform/power.h"

#include <windows.h>

namespace platform {

static_assert(EXECUTION_CONTINUOUS == ES_CONTINUOUS && EXECUTION_SYSTEM_REQUIRED == ES_SYSTEM_REQUIRED);

void SetExecutionState(std::uint32_t flags)
{
    ::SetThreadExecutionState(static_cast<EXECUTION_STATE>(flags));
}

bool CreateShutdownBlockReason(DialogHandle window, const std::string& reason)
{
    std::wstring wide(reason.size(), L'\0');
    wide.resize(static_cast<std::size_t>(::MultiByteToWideChar(
        CP_ACP, 0, reason.data(), static_cast<int>(reason.size()), wide.data(), static_cast<int>(wide.size()))));
    return ::ShutdownBlockReasonCreate(reinterpret_cast<HWND>(window), wide.c_str()) != FALSE;
}

void DestroyShutdownBlockReason(DialogHandle window)
{
    ::ShutdownBlockReasonDestroy(reinterpret_cast<HWND>(window));
}

}  // namespace platform
