// The transfer library binding and the status check, against the simulated
// transfer library.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/headless/library_table.h"
#include "testing/simulated_driver.h"
#include "transfer/transfer_library.h"

namespace {

class TransferLibraryTest : public ::testing::Test {
protected:
    void SetUp() override { ResetTransferState(); }
    void TearDown() override
    {
        ResetTransferState();
        platform::headless::ResetLibraries();
    }

    sim::Printer& Bind(std::string_view scenarioText = {})
    {
        std::vector<std::string> errors;
        m_driver.emplace(sim::Scenario::Parse(scenarioText, &errors));
        EXPECT_TRUE(errors.empty() && LoadTransferLibrary());
        return m_driver->printer();
    }

    std::optional<sim::testing::SimulatedDriver> m_driver;
};

TEST_F(TransferLibraryTest, Binding_AnyOfTheEightExportsMissing_Fails)
{
    EXPECT_FALSE(LoadTransferLibrary());  // no library at all
    // Nothing is called through an export that was never bound.
    EXPECT_FALSE(TransferInitPrinter("Label A") || CheckTransferPrinter());
    EXPECT_EQ(g_nTransferResult, -1);  // the program's own code for it

    for (const char* missing : {"TRInitPrinter", "TRGetStatus", "TRDeleteFile"}) {
        g_strTransferPrinter = "left over";
        sim::testing::SimulatedDriver driver({}, {missing});
        EXPECT_FALSE(LoadTransferLibrary()) << missing;
        EXPECT_TRUE(g_strTransferPrinter.empty());
        // What did load stays loaded until it is freed.
        EXPECT_EQ(platform::headless::LoadedLibraryCount(), 1);
        FreeTransferLibrary();
        EXPECT_EQ(platform::headless::LoadedLibraryCount(), 0);
    }
    EXPECT_EQ(platform::headless::LibraryLoadRequests().back(), "TrDrv.dll");
}

TEST_F(TransferLibraryTest, InitPrinter_RemembersTheNameOnlyOnSuccess)
{
    auto& printer = Bind("printer_id = 0");
    ASSERT_TRUE(TransferInitPrinter("Label A"));
    EXPECT_EQ(std::tuple(g_strTransferPrinter, printer.Log().back().call, printer.Log().back().printer),
              std::tuple("Label A", "TRInitPrinter", "Label A"));
    // No printer id set yet: a printer whose id is zero passes the check.
    EXPECT_TRUE(CheckTransferPrinter());

    auto scenario = printer.GetScenario();
    scenario.exportResults["TRInitPrinter"] = 6;
    printer.SetScenario(scenario);
    EXPECT_FALSE(TransferInitPrinter("Label B"));
    // The area handed to the library was zeroed before the call, which wrote nothing.
    EXPECT_EQ(std::tuple(g_strTransferPrinter, g_nTransferResult, g_TransferInitInfo),
              std::tuple("Label A", 6, decltype(g_TransferInitInfo){}));
}

TEST_F(TransferLibraryTest, CheckTransferPrinter_AsksCmdInitThenStatusAndComparesFiveBytes)
{
    struct Case {
        const char* scenario;
        std::uint16_t printerId;
        bool passes;
        std::int32_t result;
        std::vector<std::string> calls;
    };
    const std::vector<std::string> both{"TRCmdInit", "TRGetStatus"};
    const Case cases[] = {
        {"printer_id = 0x1234", 0x1234, true, 0, both},
        {"tr.status = 81 20 4B 34 12 77", 0x1234, true, 0, both},  // id low byte first
        // A status that merely differs fails the check with every call succeeded.
        {"printer_id = 0x1234", 0x1235, false, 0, both},
        {"tr.status = 81 20 4B 12 34", 0x1234, false, 0, both},
        {"tr.status = 80 20 4B 34 12", 0x1234, false, 0, both},
        {"tr.status = 81 21 4B 34 12", 0x1234, false, 0, both},
        {"tr.status = 81 20 4A 34 12", 0x1234, false, 0, both},
        {"tr.TRGetStatus = 12", 0x1234, false, 12, both},
        {"tr.TRCmdInit = 9", 0x1234, false, 9, {"TRCmdInit"}},  // no status asked
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scenario);
        auto& printer = Bind(c.scenario);
        EXPECT_EQ(platform::headless::LoadedLibraryCount(), 1);  // the library it replaced is freed
        ASSERT_TRUE(TransferInitPrinter("Label A"));
        g_wTransferPrinterId = c.printerId;
        printer.ClearLog();
        EXPECT_EQ(CheckTransferPrinter(), c.passes);
        EXPECT_EQ(g_nTransferResult, c.result);
        std::vector<std::string> calls;
        for (const auto& entry : printer.Log()) {
            calls.push_back(entry.call);
            EXPECT_EQ(entry.limit, 1000);
        }
        EXPECT_EQ(calls, c.calls);
    }
}

}  // namespace
