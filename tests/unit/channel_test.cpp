// The printer command channel against the simulated printer: what reaches the
// printer, byte for byte, and how each reply is judged.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "channel/printer_channel.h"
#include "channel/raw_io.h"
#include "contract/printer_calls.h"
#include "platform/headless/library_table.h"
#include "testing/simulated_driver.h"

namespace {

using namespace printer_calls;

constexpr const char* kPrinter = "Corvane VR-380MX (USB)";

class ChannelTest : public ::testing::Test {
protected:
    void SetUp() override { ResetChannelState(); }
    void TearDown() override
    {
        ResetChannelState();
        platform::headless::ResetLibraries();
    }

    void Connect(std::string_view scenarioText)
    {
        std::vector<std::string> errors;
        // A silent printer answers at once: these cases are about bytes, not time.
        m_driver.emplace(sim::Scenario::Parse(std::string(scenarioText) + "\nsilent.wait_ms = 0", &errors));
        EXPECT_TRUE(errors.empty() && BindRawIoLibrary());
    }

    std::vector<Call> Calls() { return printer_calls::Calls(m_driver->printer().Log(), kPrinter); }

    std::optional<sim::testing::SimulatedDriver> m_driver;
};

TEST_F(ChannelTest, Binding_LibraryOrExportMissing_FailsAndEveryExchangeFails)
{
    EXPECT_FALSE(BindRawIoLibrary());
    EXPECT_EQ(platform::headless::LibraryLoadRequests(), std::vector<std::string>{"tmfilo.dll"});
    EXPECT_FALSE(RequestPrinterStatus(kPrinter) || RequestFirmwareVersion(kPrinter).sent ||
                 CheckPrinterModel(kPrinter) || CheckPrinterSystem(kPrinter));

    sim::testing::SimulatedDriver withoutRead({}, {"TMReadFile"});
    EXPECT_FALSE(BindRawIoLibrary());
    EXPECT_FALSE(RequestPrinterStatus(kPrinter));
    EXPECT_TRUE(withoutRead.printer().Log().size() <= 1);

    UnbindRawIoLibrary();
    EXPECT_EQ(platform::headless::LoadedLibraryCount(), 0);

    // A command of up to 64 bytes goes out whole.
    Connect("");
    EXPECT_TRUE(RawWrite(kPrinter, Bytes(64, 0x55)));
    EXPECT_FALSE(RawWrite(kPrinter, Bytes(65, 0x55)));
    EXPECT_EQ(Calls(), std::vector<Call>{Write(Bytes(64, 0x55))});
}

enum class Exchange { Status, Version, Model, System };

// What an exchange came to, in words.
std::string Outcome(Exchange exchange)
{
    switch (exchange) {
        case Exchange::Status: {
            const auto reply = RequestPrinterStatus(kPrinter);
            return !reply ? "no reply" : reply->IsSupportedModel() ? "VR-380MX" : "other model";
        }
        case Exchange::Version: {
            const auto result = RequestFirmwareVersion(kPrinter);
            return !result.sent ? "not sent" : result.version ? "version " + *result.version : "no version";
        }
        case Exchange::Model:
            return CheckPrinterModel(kPrinter) ? "passed" : "failed";
        case Exchange::System:
            return CheckPrinterSystem(kPrinter) ? "passed" : "failed";
    }
    return "";
}

struct ExchangeCase {
    Exchange exchange;
    const char* scenario;
    std::string outcome;
    std::vector<Call> calls;
};

TEST_F(ChannelTest, EveryExchange_SendsItsBytesAndJudgesTheReply)
{
    const auto status = {Write(kStatus), Read(32)};
    const auto version = {Write(kMode), Write(kVersion), Read(16)};
    const auto model = {Write(kModel), Read(32)};  // no mode prefix
    const auto system = {Write(kMode), Write(kSysRead), Read(1)};
    const auto then = [](std::vector<Call> calls, std::initializer_list<Call> more) {
        calls.insert(calls.end(), more);
        return calls;
    };
    const ExchangeCase cases[] = {
        {Exchange::Status, "", "VR-380MX", status},
        {Exchange::Status, "identification = K0W", "other model", status},
        // Four bytes cannot carry the identification at bytes 2 to 4.
        {Exchange::Status, "reply.status = 00 00 4B 30", "other model", status},
        {Exchange::Status, "fail = status.write", "no reply", {Write(kStatus)}},
        {Exchange::Status, "silent = status.read", "no reply", status},

        {Exchange::Version, "version = 5.10", "version 5.10", version},
        // A zero byte among bytes 11 to 14 ends the text early; all zero leave it empty.
        {Exchange::Version, "reply.version = 00000000000000000000003400320000", "version 4", version},
        {Exchange::Version, "reply.version = 41414141414141414141410000000041", "version ", version},
        {Exchange::Version, "silent = version.read", "no version", version},
        {Exchange::Version, "fail = mode.write", "not sent", {Write(kMode)}},
        {Exchange::Version, "fail = version.write", "not sent", {Write(kMode), Write(kVersion)}},

        {Exchange::Model, "", "passed", model},
        {Exchange::Model, "reply.model = FFFFFFFFFF30FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF", "passed",
         model},
        {Exchange::Model, "model = 1", "failed", model},
        {Exchange::Model, "silent = model.read", "failed", model},
        {Exchange::Model, "fail = model.write", "failed", {Write(kModel)}},

        // The printer's value is answered with its opposite.
        {Exchange::System, "system = 0", "passed", then(system, {Write(kSysWriteA), Write(kSysFinal)})},
        {Exchange::System, "system = 1", "passed", then(system, {Write(kSysWriteB), Write(kSysFinal)})},
        {Exchange::System, "system = 2", "failed", system},
        {Exchange::System, "silent = sys_read.read", "passed", then(system, {Write(kSysFinal)})},
        {Exchange::System, "silent = sys_read.read\nfail = sys_final.write", "failed",
         then(system, {Write(kSysFinal)})},
        {Exchange::System, "fail = sys_write_a.write", "failed", then(system, {Write(kSysWriteA)})},
        {Exchange::System, "fail = mode.write", "failed", {Write(kMode)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(static_cast<int>(c.exchange)) + ", " + c.scenario);
        Connect(c.scenario);
        EXPECT_EQ(Outcome(c.exchange), c.outcome);
        EXPECT_EQ(Calls(), c.calls);
    }
}

}  // namespace
