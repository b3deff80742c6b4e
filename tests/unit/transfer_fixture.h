#pragma once
// A clean bench for transfers (shared state reset, a private current folder
// for data files), data files for the simulated printer, and a fixture with
// that printer bound as the Update step leaves it (raw I/O library, transfer
// library initialised for the printer, printer id set); the update record as
// a test reads it.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <random>
#include <semaphore>
#include <string>
#include <utility>
#include <vector>

#include "channel/raw_io.h"
#include "core/firmware_image.h"
#include "platform/headless/file_log.h"
#include "platform/headless/library_table.h"
#include "platform/headless/power_log.h"
#include "platform/headless/process_table.h"
#include "platform/headless/ui_driver.h"
#include "res/resource.h"
#include "testing/simulated_driver.h"
#include "transfer/transfer_library.h"

namespace transfer_test {

inline constexpr const char* kPrinter = "Corvane VR-380MX";
inline constexpr const char* kDataFile = "VR380MX_510.pd3";

using platform::headless::UiEvent;

// A clean bench for a transfer: the transfer's shared state and the headless
// platform's records reset at start and at end, and a private current folder
// for data files, removed with them at the end.
class TransferBench {
public:
    TransferBench()
    {
        ResetAll();
        std::filesystem::create_directories(m_folder);
        std::filesystem::current_path(m_folder);
    }

    ~TransferBench()
    {
        std::filesystem::current_path(m_previousFolder);
        std::filesystem::remove_all(m_folder);
        ResetAll();
    }
    TransferBench(const TransferBench&) = delete;
    TransferBench& operator=(const TransferBench&) = delete;

private:
    static void ResetAll()
    {
        ResetTransferState();
        ResetChannelState();
        platform::headless::ResetUi();
        platform::headless::ResetFileAccesses();
        platform::headless::ResetPowerCalls();
        platform::headless::ResetProcess();
    }

    std::filesystem::path m_previousFolder = std::filesystem::current_path();
    std::filesystem::path m_folder =
        std::filesystem::temp_directory_path() / ("vr38-transfer-" + std::to_string(std::random_device()()));
};

inline void WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    std::filesystem::create_directories(std::filesystem::absolute(name).parent_path());
    std::ofstream(name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A data file for the simulated printer, with as many data bytes as it
// announces unless told otherwise.
inline void WriteDataFile(std::int32_t announced, std::optional<std::size_t> actual = std::nullopt,
                          std::size_t trailing = 0, std::uint16_t printerId = sim::kDefaultPrinterId,
                          const std::string& name = kDataFile)
{
    WriteFile(name, sim::firmware_image::MakeFirmwareFile(
                        printerId, "5.10", announced, actual.value_or(static_cast<std::size_t>(std::max(announced, 0))),
                        trailing));
}

// The bound library's TRSendFile held until g_sendMayGo is released: what the
// user does meanwhile comes before the library's first report.
inline TRSendFileProc g_heldSend = nullptr;
inline std::binary_semaphore g_sendMayGo{0};
inline void HoldSend()
{
    g_heldSend =
        std::exchange(g_pfnTRSendFile, [](const std::uint8_t* header, const std::uint8_t* data, std::int32_t* length,
                                          std::uint8_t* status, std::int32_t limit, TransferProgressProc progress) {
            g_sendMayGo.acquire();
            return g_heldSend(header, data, length, status, limit, progress);
        });
}

// The texts a control was given, in order.
inline std::vector<std::string> TextsOf(int dialogId, int controlId)
{
    std::vector<std::string> texts;
    for (const auto& event : platform::headless::UiEvents()) {
        if (event.dialogId == dialogId && event.controlId == controlId && event.op == "text") {
            texts.push_back(event.text);
        }
    }
    return texts;
}

// A simulated printer bound as the Update step leaves it, on a clean bench.
class TransferFixture : public ::testing::Test {
protected:
    void SetUp() override { m_bench.emplace(); }

    void TearDown() override
    {
        m_bench.reset();
        m_driver.reset();
        platform::headless::ResetLibraries();
    }

    sim::Printer& Connect(std::string_view scenarioText = {})
    {
        std::vector<std::string> errors;
        const auto scenario = sim::Scenario::Parse(scenarioText, &errors);
        m_driver.emplace(scenario);
        EXPECT_TRUE(errors.empty() && BindRawIoLibrary() && LoadTransferLibrary() && TransferInitPrinter(kPrinter));
        g_wTransferPrinterId = scenario.printerId;
        m_driver->printer().ClearLog();
        return m_driver->printer();
    }

    // Calls of the simulated libraries by export name, in order.
    std::vector<std::string> Calls()
    {
        std::vector<std::string> calls;
        std::ranges::transform(m_driver->printer().Log(), std::back_inserter(calls), &sim::LogEntry::call);
        return calls;
    }

    bool Called(const std::string& call) { return std::ranges::count(Calls(), call) > 0; }

    // The percentages the progress dialog showed are reported ones, in order,
    // from the first to the last (reports that come while the dialog has yet
    // to show one ride on it).
    static void ExpectPercentsShownOf(const std::vector<int>& reported)
    {
        std::vector<int> shown;
        std::ranges::transform(TextsOf(IDD_PROGRESS, IDC_TRANSFER_PERCENT), std::back_inserter(shown),
                               [](const std::string& text) { return std::stoi(text); });
        EXPECT_TRUE(!shown.empty() && shown.front() == reported.front() && shown.back() == reported.back() &&
                    std::ranges::includes(reported, shown))
            << ::testing::PrintToString(shown);
    }

    // Position of the first event matching, or -1.
    static int IndexOf(int dialogId, const std::string& op, int controlId = 0, int from = 0)
    {
        const auto events = platform::headless::UiEvents();
        for (auto i = static_cast<std::size_t>(from); i < events.size(); ++i) {
            if (events[i].dialogId == dialogId && events[i].op == op && events[i].controlId == controlId) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    std::optional<TransferBench> m_bench;
    std::optional<sim::testing::SimulatedDriver> m_driver;
};

// The update record in the test's current folder: the local application-data
// folder given, the record's bytes, and its lines joined by " | " without
// their time, each checked for the stamp and CR LF the headless clock and the
// record give (a line without them stays whole, one without its end drops).
// Windows drops the final dot of the company's name from the folder's.
inline constexpr const char* kRecord = "AppData/Corvane Industries, Ltd/VR38Update/VR38Update.log";

inline void GiveLocalAppData()
{
    std::filesystem::create_directories("AppData");
    platform::headless::SetLocalAppDataFolder(std::filesystem::absolute("AppData").string());
}

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline std::string RecordLines(const std::string& stamp = "2026-01-01T00:00:00+00:00 ")
{
    const auto record = ReadBytes(kRecord);
    std::string lines;
    for (std::size_t at = 0, end; (end = record.find("\r\n", at)) != std::string::npos; at = end + 2) {
        const auto line = record.substr(at, end - at);
        lines += (lines.empty() ? "" : " | ") + (line.starts_with(stamp) ? line.substr(stamp.size()) : line);
    }
    return lines;
}

}  // namespace transfer_test
