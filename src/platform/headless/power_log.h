#pragma once
// The headless stand-in for the power and shutdown calls: each is recorded,
// in order, under its Windows name.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/dialog.h"

namespace platform::headless {

struct PowerCall {
    std::string call;  // SetThreadExecutionState ShutdownBlockReasonCreate ShutdownBlockReasonDestroy
    std::uint32_t flags = 0;
    std::string reason;
    DialogHandle window = nullptr;
    bool operator==(const PowerCall&) const = default;
};

std::vector<PowerCall> PowerCalls();
void ResetPowerCalls();

}  // namespace platform::headless
