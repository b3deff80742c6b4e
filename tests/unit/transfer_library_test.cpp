// The transfer library binding and the status check, against the simulated
// transfer library.

#include <gtest/gtest.h>

#include <optional>

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
        EXPECT_TRUE(errors.empty());
        EXPECT_TRUE(LoadTransferLibrary());
        return m_driver->printer();
    }

    std::optional<sim::testing::SimulatedDriver> m_driver;
};

TEST_F(TransferLibraryTest, Binding_AnyOfTheEightExportsMissing_Fails)
{
    EXPECT_FALSE(LoadTransferLibrary());  // no library at all
    // Nothing is called through an export that was never bound.
    EXPECT_FALSE(TransferInitPrinter("Label A"));
    EXPECT_FALSE(CheckTransferPrinter());
    EXPECT_EQ(g_nTransferResult, TRANSFER_ERR_NOT_BOUND);

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
    auto& printer = Bind();
    ASSERT_TRUE(TransferInitPrinter("Label A"));
    EXPECT_EQ(g_strTransferPrinter, "Label A");
    EXPECT_EQ(printer.Log().back().call, "TRInitPrinter");
    EXPECT_EQ(printer.Log().back().printer, "Label A");

    auto scenario = printer.GetScenario();
    scenario.exportResults["TRInitPrinter"] = 6;
    printer.SetScenario(scenario);
    EXPECT_FALSE(TransferInitPrinter("Label B"));
    EXPECT_EQ(g_strTransferPrinter, "Label A");
    EXPECT_EQ(g_nTransferResult, 6);
}

TEST_F(TransferLibraryTest, CheckTransferPrinter_ComparesSignatureAndPrinterId)
{
    auto& printer = Bind("printer_id = 0x1234");
    ASSERT_TRUE(TransferInitPrinter("Label A"));
    g_wTransferPrinterId = 0x1234;
    printer.ClearLog();
    EXPECT_TRUE(CheckTransferPrinter());
    const auto log = printer.Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].call, "TRCmdInit");
    EXPECT_EQ(log[0].limit, 1000);
    EXPECT_EQ(log[1].call, "TRGetStatus");
    EXPECT_EQ(log[1].limit, 1000);
    EXPECT_EQ(g_TransferStatus[3], 0x34);
    EXPECT_EQ(g_TransferStatus[4], 0x12);

    // Another printer's id fails the check, though every call succeeded.
    g_wTransferPrinterId = 0x1235;
    EXPECT_FALSE(CheckTransferPrinter());
    EXPECT_EQ(g_nTransferResult, TRANSFER_OK);
}

TEST_F(TransferLibraryTest, CheckTransferPrinter_RejectsOtherSignatureAndFailedCalls)
{
    auto& printer = Bind("tr.status = 80 20 4B 31 38");
    ASSERT_TRUE(TransferInitPrinter("Label A"));
    g_wTransferPrinterId = 0x3831;
    EXPECT_FALSE(CheckTransferPrinter());

    auto scenario = printer.GetScenario();
    scenario.transferStatus.clear();
    scenario.exportResults["TRGetStatus"] = 12;
    printer.SetScenario(scenario);
    EXPECT_FALSE(CheckTransferPrinter());
    EXPECT_EQ(g_nTransferResult, 12);

    scenario.exportResults = {{"TRCmdInit", 9}};
    printer.SetScenario(scenario);
    printer.ClearLog();
    EXPECT_FALSE(CheckTransferPrinter());
    EXPECT_EQ(g_nTransferResult, 9);
    EXPECT_EQ(printer.Log().size(), 1u);  // no status asked after a failed init
}

TEST_F(TransferLibraryTest, CheckTransferPrinter_AfterFailedInit_PassesOnlyForPrinterIdZero)
{
    Bind("tr.TRInitPrinter = 3\nprinter_id = 0");
    EXPECT_FALSE(TransferInitPrinter("Label A"));
    EXPECT_EQ(g_wTransferPrinterId, 0);
    // The simulated library also refuses commands before any printer was
    // initialised; a library that answers anyway is judged by the id alone.
    auto scenario = m_driver->printer().GetScenario();
    scenario.exportResults.clear();
    m_driver->printer().SetScenario(scenario);
    ASSERT_TRUE(TransferInitPrinter("Label A"));
    EXPECT_TRUE(CheckTransferPrinter());
}

}  // namespace
