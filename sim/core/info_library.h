#pragma once
// The simulated driver's information library: the answers of
// MyDeviceCapabilities, taken from the scenario. It answers the capability
// word (MDC_FLAGS, with MDC_FLAG_SPECIAL_TAPE when the scenario says the
// driver supports the special-tape mode), the model identifier (MDC_MODELID:
// info.model_id_high above printer_id, so that the printer id the transfer
// status carries is the identifier's low 16 bits), and the VR-380MX's media
// list (three tape widths and a two-part label), feed margins, offset, margin
// addition, driver value and colour count. Every code the scenario silences
// gets -1.

#include <cstdint>

#include "core/scenario.h"

namespace sim {

// The name the stand-in library is built under.
inline constexpr const char* kInfoLibraryName = "vr380info.dll";

// For a list code, output (when given) receives the entries and the answer is
// their number.
std::int32_t AnswerDeviceCapability(const Scenario& scenario, std::uint16_t capability, char* output = nullptr);

// Media ids of the simulated printer's tapes.
inline constexpr std::uint16_t kTape12mm = 300;
inline constexpr std::uint16_t kTape24mm = 301;
inline constexpr std::uint16_t kTape36mm = 302;
inline constexpr std::uint16_t kLabel24mmTwoPart = 303;

// The model identifier the scenario gives the printer.
std::uint32_t ModelId(const Scenario& scenario);

}  // namespace sim
