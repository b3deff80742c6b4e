// The simulated printer itself: its scenario file, its log and the transfers
// it refuses, since every other suite trusts what it reports. (A transfer it
// takes is the update procedure's and the whole update's business.)

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "core/firmware_image.h"
#include "core/scenario.h"
#include "core/sim_log.h"
#include "core/sim_printer.h"

namespace {

TEST(SimScenario, ParsesEveryKeyAndReportsBadLines)
{
    std::vector<std::string> errors;
    const auto scenario = sim::Scenario::Parse(
        "# comment\nversion = 5.10\nmodel = 1\nsystem = 1\nprinter_id = 0x00AB\nfail = status.write\n"
        "silent = version.read\nsilent.wait_ms = 0\nreply.model = 00 30\ntr.TRCmdInit = -2\ntr.status = 81 20\n"
        "progress.step = 50\nbogus = 1\nsystem = 300\nno equals sign\n",
        &errors);
    EXPECT_EQ(
        std::tie(scenario.version, scenario.modelByte, scenario.systemByte, scenario.printerId, scenario.progressStep),
        std::tuple("5.10", '1', 1, 0xAB, 50));
    EXPECT_EQ(std::tuple(scenario.failingSteps.contains("status.write"), scenario.silentSteps.contains("version.read"),
                         scenario.silentWaitMs, scenario.exportResults.at("TRCmdInit")),
              std::tuple(true, true, 0, -2));
    using Bytes = std::vector<std::uint8_t>;
    EXPECT_EQ(std::tie(scenario.replies.at("model"), scenario.transferStatus),
              std::tuple(Bytes{0x00, 0x30}, Bytes{0x81, 0x20}));
    EXPECT_EQ(errors.size(), 3u);

    // What the simulator writes back reads the same.
    errors.clear();
    const auto again = sim::Scenario::Parse(scenario.Serialize(), &errors);
    EXPECT_EQ(std::tuple(again.Serialize(), again.silentWaitMs, errors.size()),
              std::tuple(scenario.Serialize(), 0, 0u));
}

TEST(SimLog, LinesRoundTripWithBlanksInPrinterNames)
{
    const sim::LogEntry entry{"TMWriteFile", "Corvane VR-380MX (Special Tape)", 3, 10000, 1, {0x1B, 0x69, 0x53},
                              "status"};
    EXPECT_EQ(sim::LogEntry::FromLine(entry.ToLine()), entry);
    EXPECT_FALSE(sim::LogEntry::FromLine("TMWriteFile\tx\t3"));
    EXPECT_FALSE(sim::LogEntry::FromLine("a\tb\tnot a number\t0\t0\t\t"));
}

// A step that gets no answer holds its caller for the time-out it passed, as
// the driver does, or for the scenario's shorter wait; then it fails.
TEST(SimPrinter, SilentSteps_HoldTheCallerForItsTimeOutOrTheShorterWait)
{
    // scenario, time-out passed, how many of the version's write and read succeed, least ms held
    const std::tuple<const char*, std::int32_t, std::int32_t, int> cases[] = {
        {"silent = version.read", 150, 1, 150},
        {"silent = version.write\nsilent.wait_ms = 60000", 100, 0, 100},  // then nothing to read
        {"silent = version.read\nsilent.wait_ms = 0", 5000, 1, 0},
    };
    const std::uint8_t version[] = {0x54, 0x63, 0x63, 0x01, 0x20, 0x00, 0x20, 0x00, 0x10};
    for (const auto& [scenario, timeoutMs, succeeded, leastMs] : cases) {
        sim::Printer printer(sim::Scenario::Parse(scenario));
        const auto started = std::chrono::steady_clock::now();
        const auto answered = printer.TMWriteFile("P", 0, version, sizeof(version), nullptr, timeoutMs) +
                              printer.TMReadFile("P", 0, nullptr, 16, nullptr, timeoutMs);
        const auto held = std::chrono::steady_clock::now() - started;
        EXPECT_EQ(answered, succeeded) << scenario;
        EXPECT_TRUE(held >= std::chrono::milliseconds(leastMs) && held < std::chrono::milliseconds(2500)) << scenario;
    }
}

int32_t DRIVER_CALL StopAtHalf(int32_t percent)
{
    return percent >= 50 ? 0 : 1;
}

TEST(SimTransfer, RefusesForeignHeadersAndStopsWhenAsked)
{
    sim::Printer printer(sim::Scenario::Parse("printer_id = 0x3831\nprogress.step = 25"));
    std::array<std::uint8_t, 32> status{};

    auto foreign = sim::firmware_image::MakeFirmwareFile(0x3832, "5.10", 10, 10);
    std::int32_t length = 10;
    EXPECT_EQ(printer.TRSendFile(foreign.data(), foreign.data() + 64, &length, status.data(), 500000, &StopAtHalf),
              sim::kResultBadHeader);

    auto file = sim::firmware_image::MakeFirmwareFile(0x3831, "5.10", 10, 10);
    length = 9;  // differs from the header
    EXPECT_EQ(printer.TRSendFile(file.data(), file.data() + 64, &length, status.data(), 500000, &StopAtHalf),
              sim::kResultBadLength);

    length = 10;
    EXPECT_EQ(printer.TRSendFile(file.data(), file.data() + 64, &length, status.data(), 500000, &StopAtHalf),
              sim::kResultCancelled);
    EXPECT_EQ(printer.GetScenario().version, "5.00");
}

}  // namespace
