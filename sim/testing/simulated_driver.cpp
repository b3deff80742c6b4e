#include "testing/simulated_driver.h"

#include "driver/driver_exports.h"
#include "host/active_printer.h"
#include "platform/headless/library_table.h"

extern "C" {
std::int32_t DRIVER_CALL TMWriteFile(char*, std::int32_t, std::uint8_t*, std::int32_t, std::int32_t*, std::int32_t);
std::int32_t DRIVER_CALL TMReadFile(char*, std::int32_t, std::uint8_t*, std::int32_t, std::int32_t*, std::int32_t);
std::int32_t DRIVER_CALL TRInitPrinter(const char*, std::uint8_t*);
std::int32_t DRIVER_CALL TRCheckSupportPrinter(const char*);
std::int32_t DRIVER_CALL TRCmdInit(std::int32_t);
std::int32_t DRIVER_CALL TRGetStatus(std::uint8_t*, std::int32_t);
std::int32_t DRIVER_CALL TRGetFileList(char*, std::int32_t, std::int32_t*);
std::int32_t DRIVER_CALL TRSendFile(const std::uint8_t*, const std::uint8_t*, std::int32_t*, std::uint8_t*,
                                    std::int32_t, TransferProgressProc);
std::int32_t DRIVER_CALL TRReceiveFile(const char*, std::uint8_t*, std::int32_t*);
std::int32_t DRIVER_CALL TRDeleteFile(const char*);
}

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
    platform::headless::RegisterLibrary("tmfilo.dll", without({
                                                          {"TMWriteFile", ExportAddress(&TMWriteFile)},
                                                          {"TMReadFile", ExportAddress(&TMReadFile)},
                                                      }));
    platform::headless::RegisterLibrary("TrDrv.dll",
                                        without({
                                            {"TRInitPrinter", ExportAddress(&TRInitPrinter)},
                                            {"TRCheckSupportPrinter", ExportAddress(&TRCheckSupportPrinter)},
                                            {"TRCmdInit", ExportAddress(&TRCmdInit)},
                                            {"TRGetStatus", ExportAddress(&TRGetStatus)},
                                            {"TRGetFileList", ExportAddress(&TRGetFileList)},
                                            {"TRSendFile", ExportAddress(&TRSendFile)},
                                            {"TRReceiveFile", ExportAddress(&TRReceiveFile)},
                                            {"TRDeleteFile", ExportAddress(&TRDeleteFile)},
                                        }));
}

SimulatedDriver::~SimulatedDriver()
{
    platform::headless::UnregisterLibrary("tmfilo.dll");
    platform::headless::UnregisterLibrary("TrDrv.dll");
    g_activePrinter = nullptr;
}

}  // namespace testing
}  // namespace sim
