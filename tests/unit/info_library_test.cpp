// The information library's contract: the list protocol, and the simulated
// library's answers that the other suites rely on.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "catalogue/info_library.h"
#include "core/info_library.h"
#include "core/scenario.h"

namespace {

// A driver that announces g_count entries of 4 bytes and fills as many.
std::int32_t g_count = 0;
std::vector<std::string> g_devices;

std::int32_t DRIVER_CALL ListDriver(const char* device, const char*, std::uint16_t, char* output, const void*)
{
    g_devices.emplace_back(device);
    if (output != nullptr) {
        for (std::int32_t i = 0; i < g_count; ++i) {
            std::memset(output + i * 4, 'a' + i, 4);
        }
    }
    return g_count;
}

TEST(CapabilityList, CountsThenFillsAndRefusesImpossibleCounts)
{
    g_count = 2;
    g_devices.clear();
    const auto entries = QueryCapabilityList(&ListDriver, "Driver", "Printer", "", MDC_MEDIA, 4, nullptr);
    ASSERT_TRUE(entries.has_value());
    EXPECT_EQ(std::string(entries->begin(), entries->end()), "aaaabbbb");
    EXPECT_EQ(g_devices, (std::vector<std::string>{"Driver", "Printer"}));

    g_count = 0;
    g_devices.clear();
    const auto none = QueryCapabilityList(&ListDriver, "Driver", "Printer", "", MDC_MEDIA, 4, nullptr);
    ASSERT_TRUE(none.has_value());
    EXPECT_TRUE(none->empty());
    EXPECT_EQ(g_devices.size(), 1u);  // nothing to fill

    for (const std::int32_t count : {MDC_NO_ANSWER, -7, MDC_MAX_LIST_ENTRIES + 1}) {
        g_count = count;
        EXPECT_FALSE(QueryCapabilityList(&ListDriver, "D", "P", "", MDC_FEEDMARGINS, 103, nullptr)) << count;
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
    EXPECT_EQ(sim::AnswerDeviceCapability(scenario, MDC_FLAGS), 0x10040200);
    // The printer id of the transfer status is the identifier's low 16 bits.
    EXPECT_EQ(sim::AnswerDeviceCapability(scenario, MDC_MODELID), 0x01023831);
    EXPECT_EQ(sim::AnswerDeviceCapability(scenario, 999), MDC_NO_ANSWER);  // a code it does not know

    errors.clear();
    const auto again = sim::Scenario::Parse(scenario.Serialize() + "info.no_answer = 278\ninfo.flags = -1\n", &errors);
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(sim::AnswerDeviceCapability(again, MDC_MODELID), MDC_NO_ANSWER);
    EXPECT_EQ(sim::AnswerDeviceCapability(again, MDC_FLAGS), MDC_NO_ANSWER);  // even with the special-tape bit
    EXPECT_EQ(sim::Scenario::Parse(again.Serialize()).Serialize(), again.Serialize());
}

}  // namespace
