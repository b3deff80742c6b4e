#include "testing/simulated_driver.h"

#include "exports/stand_in_exports.h"
#include "host/active_printer.h"
#include "platform/headless/library_table.h"

TMFILO_EXPORTS(DECLARE_STAND_IN)
TRDRV_EXPORTS(DECLARE_STAND_IN)

namespace sim {
namespace {

Printer* g_activePrinter = nullptr;

}  // namespace

Printer& ActivePrinter()
{
    static Printer idle;
    return g_activePrinter != nullptr ? *g_activePrinter : idle;
}

namespace testing {

using platform::headless::ExportAddress;
using platform::headless::ExportTable;

#define EXPORT_ENTRY(name) {#name, ExportAddress<name##Proc>(&name)},

SimulatedDriver::SimulatedDriver(Scenario scenario, std::set<std::string> missingExports)
    : m_printer(std::move(scenario))
{
    g_activePrinter = &m_printer;
    auto without = [&](ExportTable table) {
        for (const auto& name : missingExports) {
            table.erase(name);
        }
        return table;
    };
    platform::headless::RegisterLibrary(RAW_IO_LIBRARY_NAME, without({TMFILO_EXPORTS(EXPORT_ENTRY)}));
    platform::headless::RegisterLibrary(TRANSFER_LIBRARY_NAME, without({TRDRV_EXPORTS(EXPORT_ENTRY)}));
}

SimulatedDriver::~SimulatedDriver()
{
    platform::headless::UnregisterLibrary(RAW_IO_LIBRARY_NAME);
    platform::headless::UnregisterLibrary(TRANSFER_LIBRARY_NAME);
    g_activePrinter = nullptr;
}

}  // namespace testing
}  // namespace sim
