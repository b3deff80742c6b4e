#include "core/info_library.h"

#include "catalogue/info_library.h"
#include "core/sim_printer.h"

namespace sim {

std::uint32_t ModelId(const Scenario& scenario)
{
    return (static_cast<std::uint32_t>(scenario.infoModelIdHigh) << 16) | scenario.printerId;
}

std::int32_t AnswerDeviceCapability(const Scenario& scenario, std::uint16_t capability)
{
    if (scenario.infoNoAnswer.contains(capability)) {
        return MDC_NO_ANSWER;
    }
    switch (capability) {
        case MDC_FLAGS:
            if (scenario.infoFlags == MDC_NO_ANSWER) {
                return MDC_NO_ANSWER;
            }
            return static_cast<std::int32_t>(static_cast<std::uint32_t>(scenario.infoFlags) |
                                             (scenario.infoSpecialTape ? MDC_FLAG_SPECIAL_TAPE : 0));
        case MDC_MODELID:
            return static_cast<std::int32_t>(ModelId(scenario));
        default:
            return MDC_NO_ANSWER;
    }
}

std::int32_t Printer::MyDeviceCapabilities(const char* device, const char* port, std::uint16_t capability, char* output,
                                           const void* devMode)
{
    const auto answer = AnswerDeviceCapability(GetScenario(), capability);
    LogEntry entry{"MyDeviceCapabilities", device == nullptr ? std::string() : device, capability, 0, answer, {}, {}};
    // The note tells how the call was made: the port given ("" or absent),
    // and whether a buffer or device mode came with it.
    entry.note = port == nullptr ? "port=null" : "port=\"" + std::string(port) + "\"";
    if (output != nullptr) {
        entry.note += " output";
    }
    if (devMode != nullptr) {
        entry.note += " devmode";
    }
    Record(std::move(entry));
    return answer;
}

}  // namespace sim
