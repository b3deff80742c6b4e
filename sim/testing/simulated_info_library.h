#pragma once
// For native tests: the simulated driver's information library registered in
// the headless library table under a path, for as long as the object lives.
// It answers for the printer of the SimulatedDriver alive at the time (or an
// idle printer with the default scenario), so the scenario and the call log
// are the driver's. Like a real driver's, it needs a library of the driver
// from its own folder, registered beside it: it loads only where that folder
// is searched.

#include <string>

namespace sim::testing {

class SimulatedInfoLibrary {
public:
    // withExport false stands for a library that lacks MyDeviceCapabilities.
    explicit SimulatedInfoLibrary(std::string path, bool withExport = true);
    ~SimulatedInfoLibrary();
    SimulatedInfoLibrary(const SimulatedInfoLibrary&) = delete;
    SimulatedInfoLibrary& operator=(const SimulatedInfoLibrary&) = delete;

    const std::string& path() const { return m_path; }

private:
    std::string m_path;
    std::string m_helperPath;
};

}  // namespace sim::testing
