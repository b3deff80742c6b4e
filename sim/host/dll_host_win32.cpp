// The simulated printer as the stand-in DLLs see it: its scenario is the file
// named by VR38SIM_SCENARIO, or "vr38sim.ini" beside the DLL; every call goes
// to the log file named by VR38SIM_LOG, or "vr38sim.log" beside the DLL; the
// transfer's timings go to the file named by VR38SIM_TIMING, if any. The
// scenario is read again whenever it changes, and a completed transfer writes
// the printer's new version back to it, so the next run sees it.

#include <windows.h>

#include <array>
#include <fstream>
#include <mutex>
#include <sstream>

#include "host/active_printer.h"

namespace sim {
namespace {

std::string ModuleDirectory()
{
    HMODULE self = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCSTR>(&ModuleDirectory), &self);
    std::array<char, MAX_PATH + 1> path{};
    const auto length = ::GetModuleFileNameA(self, path.data(), MAX_PATH);
    std::string text(path.data(), length);
    const auto slash = text.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : text.substr(0, slash);
}

std::string EnvironmentOr(const char* name, const std::string& fallback)
{
    std::array<char, 1024> value{};
    const auto length = ::GetEnvironmentVariableA(name, value.data(), static_cast<DWORD>(value.size()));
    if (length == 0 || length >= value.size()) {
        return fallback;
    }
    return std::string(value.data(), length);
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class DllHost {
public:
    DllHost() : m_scenarioPath(EnvironmentOr("VR38SIM_SCENARIO", ModuleDirectory() + "\\vr38sim.ini"))
    {
        m_printer.SetLogFile(EnvironmentOr("VR38SIM_LOG", ModuleDirectory() + "\\vr38sim.log"));
        m_printer.SetTimingFile(EnvironmentOr("VR38SIM_TIMING", {}));
        m_printer.SetStateChangedHandler([this](const Scenario& scenario) {
            std::lock_guard lock(m_mutex);
            m_text = scenario.Serialize();
            std::ofstream(m_scenarioPath, std::ios::binary | std::ios::trunc) << m_text;
        });
        Refresh();
    }

    Printer& Current()
    {
        Refresh();
        return m_printer;
    }

private:
    void Refresh()
    {
        std::lock_guard lock(m_mutex);
        auto text = ReadWholeFile(m_scenarioPath);
        if (text != m_text || !m_loaded) {
            m_printer.SetScenario(Scenario::Parse(text));
            m_text = std::move(text);
            m_loaded = true;
        }
    }

    std::mutex m_mutex;
    std::string m_scenarioPath;
    std::string m_text;
    bool m_loaded = false;
    Printer m_printer;
};

}  // namespace

Printer& ActivePrinter()
{
    static DllHost host;
    return host.Current();
}

}  // namespace sim
