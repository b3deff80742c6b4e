#pragma once
// For native tests: the simulated printer's driver libraries registered in the
// headless library table under their real names, for as long as the object
// lives. Exports can be left out to stand for an incomplete library.

#include <set>
#include <string>

#include "core/sim_printer.h"

namespace sim::testing {

class SimulatedDriver {
public:
    explicit SimulatedDriver(Scenario scenario = {}, std::set<std::string> missingExports = {});
    ~SimulatedDriver();
    SimulatedDriver(const SimulatedDriver&) = delete;
    SimulatedDriver& operator=(const SimulatedDriver&) = delete;

    Printer& printer() { return m_printer; }

private:
    Printer m_printer;
};

}  // namespace sim::testing
