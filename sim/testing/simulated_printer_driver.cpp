#include "testing/simulated_printer_driver.h"

#include <cstring>
#include <span>
#include <vector>

#include "core/info_library.h"
#include "description/byte_fields.h"
#include "description/driver_flags.h"
#include "platform/devmode_layout.h"
#include "platform/printing_constants.h"

namespace sim::testing {

using namespace printing;
namespace ext = private_layout::extended;

platform::headless::PrinterDriverScript SimulatedPrinterDriver(std::uint16_t modeWord, std::size_t privateSize)
{
    platform::headless::PrinterDriverScript script;
    script.devMode.assign(devmode_layout::PUBLIC_SIZE + privateSize, 0);
    auto& devMode = script.devMode;
    byte_fields::Put<std::uint16_t>(devMode, devmode_layout::dmSize, devmode_layout::PUBLIC_SIZE);
    byte_fields::Put<std::uint16_t>(devMode, devmode_layout::dmDriverExtra, static_cast<std::uint16_t>(privateSize));
    byte_fields::Put<std::uint32_t>(devMode, devmode_layout::dmFields, FIELD_PAPER_SIZE | FIELD_PRINT_QUALITY);
    byte_fields::Put<std::int16_t>(devMode, devmode_layout::dmPaperSize, sim::kTape24mm);
    byte_fields::Put<std::int16_t>(devMode, devmode_layout::dmPrintQuality, 300);
    const std::span<std::uint8_t> block(devMode.data() + devmode_layout::PUBLIC_SIZE, privateSize);
    if (privateSize >= ext::HEADER_SIZE) {
        byte_fields::Put<std::uint16_t>(block, ext::BLOCK_SIZE, static_cast<std::uint16_t>(privateSize));
        byte_fields::Put<std::uint32_t>(block, ext::OPTION_WORD, driver_flags::OPTION_2);
        byte_fields::Put<std::uint16_t>(block, ext::SELECTION_FLAGS, ext::SELECT_BY_MEDIUM);
        byte_fields::Put<std::uint16_t>(block, ext::MEDIUM_ID, sim::kTape24mm);
    }
    if (privateSize >= private_layout::MODE_WORD + 2) {
        byte_fields::Put<std::uint16_t>(block, private_layout::MODE_WORD, modeWord);
    }
    auto answer = [](std::int32_t result, std::vector<std::uint8_t> output = {}) {
        platform::headless::CapabilityAnswer a;
        a.result = result;
        a.output = std::move(output);
        return a;
    };
    script.capabilities[CAPS_FIELDS] =
        answer(FIELD_PAPER_SIZE | FIELD_PRINT_QUALITY | FIELD_COPIES | FIELD_ORIENTATION);
    script.capabilities[CAPS_COPIES] = answer(9999);
    script.capabilities[CAPS_ORIENTATION] = answer(90);
    std::vector<std::uint8_t> names(64, 0);
    std::memcpy(names.data(), "Letter", 6);
    script.capabilities[CAPS_PAPER_NAMES] = answer(1, names);
    script.capabilities[CAPS_PAPER_SIZES] = answer(1, {0x34, 0x08, 0, 0, 0xEA, 0x0A, 0, 0});  // 2100 x 2794
    script.capabilities[CAPS_PAPERS] = answer(1, {1, 0});
    return script;
}

}  // namespace sim::testing
