// The simulated printer itself: its scenario file, its log and the transfers
// it refuses, since every other suite trusts what it reports. (A transfer it
// takes is the update procedure's and the whole update's business.)

#include <gtest/gtest.h>

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
        "silent = version.read\nreply.model = 00 30\ntr.TRCmdInit = -2\ntr.status = 81 20\nprogress.step = 50\n"
        "bogus = 1\nsystem = 300\nno equals sign\n",
        &errors);
    EXPECT_EQ(
        std::tie(scenario.version, scenario.modelByte, scenario.systemByte, scenario.printerId, scenario.progressStep),
        std::tuple("5.10", '1', 1, 0xAB, 50));
    EXPECT_EQ(std::tuple(scenario.failingSteps.contains("status.write"), scenario.silentSteps.contains("version.read"),
                         scenario.exportResults.at("TRCmdInit")),
              std::tuple(true, true, -2));
    using Bytes = std::vector<std::uint8_t>;
    EXPECT_EQ(std::tie(scenario.replies.at("model"), scenario.transferStatus),
              std::tuple(Bytes{0x00, 0x30}, Bytes{0x81, 0x20}));
    EXPECT_EQ(errors.size(), 3u);

    // What the simulator writes back reads the same.
    errors.clear();
    const auto again = sim::Scenario::Parse(scenario.Serialize(), &errors);
    EXPECT_EQ(std::tuple(again.Serialize(), errors.size()), std::tuple(scenario.Serialize(), 0u));
}

TEST(SimLog, LinesRoundTripWithBlanksInPrinterNames)
{
    const sim::LogEntry entry{"TMWriteFile", "Corvane VR-380MX (Special Tape)", 3, 10000, 1, {0x1B, 0x69, 0x53},
                              "status"};
    EXPECT_EQ(sim::LogEntry::FromLine(entry.ToLine()), entry);
    EXPECT_FALSE(sim::LogEntry::FromLine("TMWriteFile\tx\t3"));
    EXPECT_FALSE(sim::LogEntry::FromLine("a\tb\tnot a number\t0\t0\t\t"));
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
