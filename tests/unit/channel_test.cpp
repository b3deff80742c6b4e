// The printer command channel against the simulated printer: what reaches the
// printer, byte for byte, and how each reply is judged.

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "channel/printer_channel.h"
#include "channel/raw_io.h"
#include "platform/headless/library_table.h"
#include "testing/simulated_driver.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr const char* kPrinter = "Corvane VR-380MX (USB)";

struct Call {
    std::string call;
    Bytes bytes;  // bytes written; empty for reads
    std::int32_t length;
    std::int32_t timeout;
    bool operator==(const Call&) const = default;
};

Call Write(Bytes bytes)
{
    const auto length = static_cast<std::int32_t>(bytes.size());
    return {"TMWriteFile", std::move(bytes), length, 10000};
}

Call Read(std::int32_t length)
{
    return {"TMReadFile", {}, length, 2000};
}

class ChannelTest : public ::testing::Test {
protected:
    void SetUp() override { ResetChannelState(); }
    void TearDown() override
    {
        ResetChannelState();
        platform::headless::ResetLibraries();
    }

    sim::testing::SimulatedDriver& Driver(sim::Scenario scenario = {})
    {
        m_driver.emplace(std::move(scenario));
        EXPECT_TRUE(BindRawIoLibrary());
        return *m_driver;
    }

    // What reached the printer, in order; every call must name the printer.
    std::vector<Call> Calls()
    {
        std::vector<Call> calls;
        for (const auto& entry : m_driver->printer().Log()) {
            EXPECT_EQ(entry.printer, kPrinter);
            calls.push_back(
                {entry.call, entry.call == "TMWriteFile" ? entry.bytes : Bytes{}, entry.length, entry.limit});
        }
        return calls;
    }

    std::optional<sim::testing::SimulatedDriver> m_driver;
};

sim::Scenario With(std::initializer_list<std::pair<const char*, const char*>> settings)
{
    std::string text;
    for (const auto& [key, value] : settings) {
        text += std::string(key) + " = " + value + "\n";
    }
    std::vector<std::string> errors;
    auto scenario = sim::Scenario::Parse(text, &errors);
    EXPECT_TRUE(errors.empty());
    return scenario;
}

const Bytes kStatus{0x1B, 0x69, 0x53};
const Bytes kMode{0x1B, 0x69, 0x61, 0x01};
const Bytes kVersion{0x54, 0x63, 0x63, 0x01, 0x20, 0x00, 0x20, 0x00, 0x10};
const Bytes kModel{0x1B, 0x69, 0x46, 0x53};
const Bytes kSysRead{0x55, 0x08, 0xF9, 0x01, 0x01, 0x00};
const Bytes kSysWriteA{0x55, 0x09, 0xFA, 0x01, 0x01, 0x00, 0x01, 0x00};
const Bytes kSysWriteB{0x55, 0x09, 0xFA, 0x01, 0x01, 0x00, 0x00, 0x00};
const Bytes kSysFinal{0x55, 0x09, 0xFC, 0x01, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00};

TEST_F(ChannelTest, Binding_LibraryOrExportMissing_FailsAndEveryExchangeFails)
{
    EXPECT_FALSE(BindRawIoLibrary());
    EXPECT_EQ(platform::headless::LibraryLoadRequests(), std::vector<std::string>{"tmfilo.dll"});
    EXPECT_FALSE(RequestPrinterStatus(kPrinter));
    EXPECT_FALSE(RequestFirmwareVersion(kPrinter).sent);
    EXPECT_FALSE(CheckPrinterModel(kPrinter));
    EXPECT_FALSE(CheckPrinterSystem(kPrinter));

    sim::testing::SimulatedDriver withoutRead({}, {"TMReadFile"});
    EXPECT_FALSE(BindRawIoLibrary());
    EXPECT_FALSE(RequestPrinterStatus(kPrinter));
    EXPECT_TRUE(withoutRead.printer().Log().size() <= 1);

    UnbindRawIoLibrary();
    EXPECT_EQ(platform::headless::LoadedLibraryCount(), 0);
}

TEST_F(ChannelTest, StatusExchange_SendsStatusRequestAndJudgesIdentification)
{
    Driver();
    const auto reply = RequestPrinterStatus(kPrinter);
    ASSERT_TRUE(reply);
    EXPECT_TRUE(reply->IsSupportedModel());
    EXPECT_EQ(Calls(), (std::vector<Call>{Write(kStatus), Read(32)}));

    Driver(With({{"identification", "K0W"}}));
    EXPECT_FALSE(RequestPrinterStatus(kPrinter)->IsSupportedModel());

    // Four bytes cannot carry the identification at bytes 2 to 4.
    Driver(With({{"reply.status", "00 00 4B 30"}}));
    EXPECT_FALSE(RequestPrinterStatus(kPrinter)->IsSupportedModel());
}

TEST_F(ChannelTest, StatusExchange_FailedWriteOrRead_GivesNoReply)
{
    Driver(With({{"fail", "status.write"}}));
    EXPECT_FALSE(RequestPrinterStatus(kPrinter));
    EXPECT_EQ(Calls(), (std::vector<Call>{Write(kStatus)}));

    Driver(With({{"silent", "status.read"}}));
    EXPECT_FALSE(RequestPrinterStatus(kPrinter));
}

TEST_F(ChannelTest, VersionExchange_ReadsVersionTextFromBytes11To14)
{
    Driver(With({{"version", "5.10"}}));
    auto exchange = RequestFirmwareVersion(kPrinter);
    EXPECT_TRUE(exchange.sent);
    EXPECT_EQ(exchange.version, "5.10");
    EXPECT_EQ(Calls(), (std::vector<Call>{Write(kMode), Write(kVersion), Read(16)}));

    // A zero byte among the four ends the text early; all zero leaves it empty.
    Driver(With({{"reply.version", "00000000000000000000003400320000"}}));
    EXPECT_EQ(RequestFirmwareVersion(kPrinter).version, "4");
    Driver(With({{"reply.version", "41414141414141414141410000000041"}}));
    EXPECT_EQ(RequestFirmwareVersion(kPrinter).version, "");
}

TEST_F(ChannelTest, VersionExchange_UnansweredReadIsNoVersionButFailedWriteFails)
{
    Driver(With({{"silent", "version.read"}}));
    auto exchange = RequestFirmwareVersion(kPrinter);
    EXPECT_TRUE(exchange.sent);
    EXPECT_FALSE(exchange.version);

    Driver(With({{"fail", "mode.write"}}));
    exchange = RequestFirmwareVersion(kPrinter);
    EXPECT_FALSE(exchange.sent);
    EXPECT_EQ(Calls(), (std::vector<Call>{Write(kMode)}));

    Driver(With({{"fail", "version.write"}}));
    EXPECT_FALSE(RequestFirmwareVersion(kPrinter).sent);
    EXPECT_EQ(Calls(), (std::vector<Call>{Write(kMode), Write(kVersion)}));
}

TEST_F(ChannelTest, ModelExchange_PassesOnByte5Alone)
{
    Driver();
    EXPECT_TRUE(CheckPrinterModel(kPrinter));
    // No mode prefix before the model request.
    EXPECT_EQ(Calls(), (std::vector<Call>{Write(kModel), Read(32)}));

    Driver(With({{"reply.model", "FFFFFFFFFF30FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF"}}));
    EXPECT_TRUE(CheckPrinterModel(kPrinter));
    Driver(With({{"model", "1"}}));
    EXPECT_FALSE(CheckPrinterModel(kPrinter));
    Driver(With({{"silent", "model.read"}}));
    EXPECT_FALSE(CheckPrinterModel(kPrinter));
    Driver(With({{"fail", "model.write"}}));
    EXPECT_FALSE(CheckPrinterModel(kPrinter));
}

TEST_F(ChannelTest, SystemExchange_AnswersWithTheOppositeValue)
{
    Driver(With({{"system", "0"}}));
    EXPECT_TRUE(CheckPrinterSystem(kPrinter));
    EXPECT_EQ(Calls(),
              (std::vector<Call>{Write(kMode), Write(kSysRead), Read(1), Write(kSysWriteA), Write(kSysFinal)}));

    Driver(With({{"system", "1"}}));
    EXPECT_TRUE(CheckPrinterSystem(kPrinter));
    EXPECT_EQ(Calls(),
              (std::vector<Call>{Write(kMode), Write(kSysRead), Read(1), Write(kSysWriteB), Write(kSysFinal)}));
}

TEST_F(ChannelTest, SystemExchange_OtherReplyStopsAndUnansweredReadStillFinishes)
{
    Driver(With({{"system", "2"}}));
    EXPECT_FALSE(CheckPrinterSystem(kPrinter));
    EXPECT_EQ(Calls(), (std::vector<Call>{Write(kMode), Write(kSysRead), Read(1)}));

    Driver(With({{"silent", "sys_read.read"}}));
    EXPECT_TRUE(CheckPrinterSystem(kPrinter));
    EXPECT_EQ(Calls(), (std::vector<Call>{Write(kMode), Write(kSysRead), Read(1), Write(kSysFinal)}));

    Driver(With({{"silent", "sys_read.read"}, {"fail", "sys_final.write"}}));
    EXPECT_FALSE(CheckPrinterSystem(kPrinter));

    Driver(With({{"fail", "sys_write_a.write"}}));
    EXPECT_FALSE(CheckPrinterSystem(kPrinter));
    EXPECT_EQ(Calls().size(), 4u);  // nothing after the failed answer
}

}  // namespace
