#pragma once
// The one simulated printer that the stand-in driver libraries' exports talk
// to. In the stand-in DLLs it is made from the scenario file; in native tests
// the test names it.

#include "core/sim_printer.h"

namespace sim {

Printer& ActivePrinter();

}  // namespace sim
