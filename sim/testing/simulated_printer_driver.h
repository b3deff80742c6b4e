#pragma once
// For native tests: what the platform's driver of a simulated VR-380MX
// answers through the headless spooler: a device mode that carries the
// driver's extended private block (selecting the 24 mm tape), 300 dpi,
// copies and orientation, and one paper for the standard paper queries.

#include <cstddef>
#include <cstdint>

#include "description/private_layout.h"
#include "platform/headless/printer_driver_script.h"

namespace sim::testing {

platform::headless::PrinterDriverScript SimulatedPrinterDriver(
    std::uint16_t modeWord = 0, std::size_t privateSize = private_layout::extended::HEADER_SIZE);

}  // namespace sim::testing
