#pragma once
// The simulated driver's information library: the answers of
// MyDeviceCapabilities, taken from the scenario. It answers the capability
// word (MDC_FLAGS, with MDC_FLAG_SPECIAL_TAPE when the scenario says the
// driver supports the special-tape mode) and the model identifier
// (MDC_MODELID: info.model_id_high above printer_id, so that the printer id
// the transfer status carries is the identifier's low 16 bits); every other
// code, and every code the scenario silences, gets -1.

#include <cstdint>

#include "core/scenario.h"

namespace sim {

// The name the stand-in library is built under.
inline constexpr const char* kInfoLibraryName = "vr380info.dll";

std::int32_t AnswerDeviceCapability(const Scenario& scenario, std::uint16_t capability);

// The model identifier the scenario gives the printer.
std::uint32_t ModelId(const Scenario& scenario);

}  // namespace sim
