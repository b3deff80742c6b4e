// The description of one installed VR-380MX, built as the main dialog builds
// one per printer at start-up: spooler record, device mode, the standard
// capability queries and the driver's information library, against the
// headless machine and the simulated driver.

#include <benchmark/benchmark.h>

#include <string>

#include "catalogue/driver_info.h"
#include "catalogue/printer_enum.h"
#include "description/printer_description.h"
#include "platform/headless/library_table.h"
#include "platform/headless/printer_driver_script.h"
#include "platform/headless/registry_tree.h"
#include "platform/headless/spooler_table.h"
#include "testing/simulated_driver.h"
#include "testing/simulated_info_library.h"
#include "testing/simulated_printer_driver.h"

namespace {

constexpr const char* kPrinter = "Labels";
constexpr const char* kInfoDll = "C:\\Program Files\\Corvane\\VR380\\vr380info.dll";
constexpr const char* kScenario = "printer_id = 0x3831\ninfo.flags = 0x10800000\n";
// The simulated driver logs every question; the log is emptied now and then.
constexpr int kLogClearInterval = 256;

void BM_DescriptionOfOnePrinter(benchmark::State& state)
{
    const std::string driver(kSupportedDriverName);
    sim::testing::SimulatedDriver simulated(sim::Scenario::Parse(kScenario));
    sim::testing::SimulatedInfoLibrary infoLibrary(kInfoDll);
    platform::headless::SetRegistryString(
        platform::RegistryRoot::LocalMachine,
        std::string(REGISTRY_SOFTWARE_KEY) + "\\" + REGISTRY_KEY_NAME + "\\Tapemark\\Driver\\3.0\\" + driver,
        INFO_DLL_VALUE, kInfoDll);
    platform::headless::InstallPrinter(platform::headless::MakeSpoolerPrinter(kPrinter, driver, 0, "USB001"));
    platform::headless::SetPrinterDriver(kPrinter, sim::testing::SimulatedPrinterDriver());

    int built = 0;
    for (auto _ : state) {
        PrinterDescription description;
        if (!description.InitFromName(kPrinter, 0)) {
            state.SkipWithError("the description was not built");
            break;
        }
        benchmark::DoNotOptimize(description.GetModelId());
        if (++built % kLogClearInterval == 0) {
            simulated.printer().ClearLog();
            platform::headless::FindPrinterDriver(kPrinter)->devModesHandedIn.clear();
        }
    }
    platform::headless::ResetPrinterDrivers();
    platform::headless::ResetSpooler();
    platform::headless::ResetRegistry();
}

BENCHMARK(BM_DescriptionOfOnePrinter);

}  // namespace

BENCHMARK_MAIN();
