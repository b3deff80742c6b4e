// One Update's conversation with the printer, through the real Win32 library
// loader and the stand-in driver libraries: what reaches the simulated
// printer, in order and byte for byte.

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "channel/printer_channel.h"
#include "channel/raw_io.h"
#include "contract/printer_calls.h"
#include "core/sim_log.h"
#include "transfer/transfer_library.h"

namespace {

using namespace printer_calls;

constexpr const char* kPrinter = "Corvane VR-380MX";

class UpdateCallsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = std::filesystem::temp_directory_path() / ("vr38-e2e-" + std::to_string(::GetCurrentProcessId()));
        std::filesystem::create_directories(m_folder);
        m_log = (m_folder / "calls.log").string();
        const auto scenario = (m_folder / "printer.ini").string();
        std::ofstream(scenario) << "printer_id = 0x3831\nversion = 5.00\nsystem = 1\n";
        ::SetEnvironmentVariableA("VR38SIM_SCENARIO", scenario.c_str());
        ::SetEnvironmentVariableA("VR38SIM_LOG", m_log.c_str());
    }

    void TearDown() override
    {
        UnbindRawIoLibrary();
        FreeTransferLibrary();
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

    std::vector<Call> Calls() const { return printer_calls::Calls(sim::ReadLogFile(m_log), kPrinter); }

    std::filesystem::path m_folder;
    std::string m_log;
};

Call Library(const char* name, std::int32_t limit = 0)
{
    return {name, {}, 0, limit};
}

TEST_F(UpdateCallsTest, OneUpdate_ReachesThePrinterInOrderByteForByte)
{
    ASSERT_TRUE(LoadTransferLibrary());
    ASSERT_TRUE(BindRawIoLibrary());

    // The Update step: initialise, command init, status check, identification.
    ASSERT_TRUE(TransferInitPrinter(kPrinter));
    g_wTransferPrinterId = 0x3831;
    EXPECT_TRUE(TransferCmdInit());
    ASSERT_TRUE(CheckTransferPrinter());
    const auto status = RequestPrinterStatus(kPrinter);
    ASSERT_TRUE(status);
    ASSERT_TRUE(status->IsSupportedModel());

    // The update procedure: version, status check again, model, system.
    const auto version = RequestFirmwareVersion(kPrinter);
    EXPECT_EQ(version.version, "5.00");
    ASSERT_TRUE(CheckTransferPrinter());
    EXPECT_TRUE(CheckPrinterModel(kPrinter));
    EXPECT_TRUE(CheckPrinterSystem(kPrinter));

    const std::vector<Call> expected{
        Library("TRInitPrinter"),
        Library("TRCmdInit", 1000),
        Library("TRCmdInit", 1000),
        Library("TRGetStatus", 1000),
        Write(kStatus),
        Read(32),
        Write(kMode),
        Write(kVersion),
        Read(16),
        Library("TRCmdInit", 1000),
        Library("TRGetStatus", 1000),
        Write(kModel),
        Read(32),
        Write(kMode),
        Write(kSysRead),
        Read(1),
        Write(kSysWriteB),  // reply 1 answered with 0
        Write(kSysFinal),
    };
    EXPECT_EQ(Calls(), expected);
}

}  // namespace
