// The information library's contract: the list protocol, and the simulated
// library's answers that the other suites rely on.

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/info_library.h"
#include "core/info_library.h"
#include "core/scenario.h"

namespace {

// A driver that keeps a list of 4-byte entries per device name and, given a
// buffer, writes the whole list it has for that name.
std::map<std::string, std::int32_t> g_counts;
std::vector<std::string> g_devices;

std::int32_t DRIVER_CALL ListDriver(const char* device, const char*, std::uint16_t, char* output, const void*)
{
    g_devices.emplace_back(device);
    const auto count = g_counts[device];
    for (std::int32_t i = 0; output != nullptr && i < count; ++i) {
        std::memset(output + i * 4, 'a' + i, 4);
    }
    return count;
}

TEST(CapabilityList, CountsThenFillsNeverPastTheBufferWhateverEachNameAnnounces)
{
    struct Row {
        std::int32_t driverCount, printerCount;
        std::optional<std::string> entries;
        std::vector<std::string> calls;
        const char* driver = "D";
    };
    const std::int32_t tooMany = MDC_MAX_LIST_ENTRIES + 1;
    const Row rows[] = {
        {2, 2, "aaaabbbb", {"D", "P", "P"}},
        {1, 4, "aaaa", {"D", "P", "P"}},  // the longer list fits its buffer
        {4, 1, "aaaa", {"D", "P", "P"}},
        {0, 4, "", {"D"}},
        {2, 0, "", {"D", "P"}},
        {2, MDC_NO_ANSWER, std::nullopt, {"D", "P"}},
        {2, tooMany, std::nullopt, {"D", "P"}},
        {MDC_NO_ANSWER, 2, std::nullopt, {"D"}},
        {-7, 2, std::nullopt, {"D"}},
        {tooMany, 2, std::nullopt, {"D"}},
        {2, 2, "aaaabbbb", {"P", "P"}, "P"},  // under one name the count is asked once
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.driver << " " << row.driverCount << " " << row.printerCount);
        g_counts = {{"D", row.driverCount}, {"P", row.printerCount}};
        g_devices.clear();
        const auto entries = QueryCapabilityList(&ListDriver, row.driver, "P", "", MDC_MEDIA, 4, nullptr);
        const auto text = entries ? std::optional(std::string(entries->begin(), entries->end())) : std::nullopt;
        EXPECT_EQ(std::tie(text, g_devices), std::tie(row.entries, row.calls));
    }
}

TEST(SimulatedInfoLibrary, AnswersFlagsAndModelIdFromTheScenario)
{
    std::vector<std::string> errors;
    auto scenario = sim::Scenario::Parse(
        "printer_id = 0x3831\ninfo.flags = 0x10000200\ninfo.special_tape = 1\ninfo.model_id_high = 0x0102\n"
        "info.special_tape = 2\ninfo.flags = 0x100000000\n",
        &errors);
    EXPECT_EQ(errors.size(), 2u);
    // By their codes: the flags (269), the model identifier (278), whose low 16
    // bits are the printer id of the transfer status, and the offset (274).
    EXPECT_EQ(sim::AnswerDeviceCapability(scenario, 269), 0x10040200);
    EXPECT_EQ(sim::AnswerDeviceCapability(scenario, 278), 0x01023831);
    EXPECT_EQ(sim::AnswerDeviceCapability(scenario, 274), 0x00020004);     // x 4, y 2
    EXPECT_EQ(sim::AnswerDeviceCapability(scenario, 999), MDC_NO_ANSWER);  // a code it does not know

    errors.clear();
    const auto again = sim::Scenario::Parse(scenario.Serialize() + "info.no_answer = 278\ninfo.flags = -1\n", &errors);
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(sim::AnswerDeviceCapability(again, MDC_MODELID), MDC_NO_ANSWER);
    EXPECT_EQ(sim::AnswerDeviceCapability(again, MDC_FLAGS), MDC_NO_ANSWER);  // even with the special-tape bit
    EXPECT_EQ(sim::Scenario::Parse(again.Serialize()).Serialize(), again.Serialize());
}

}  // namespace
