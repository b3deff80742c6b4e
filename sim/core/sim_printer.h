#pragma once
// A simulated VR-380MX behind its driver's raw I/O and transfer libraries.
// It recognises every command the program sends, answers as the scenario
// says, and logs every call with its bytes.

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "core/scenario.h"
#include "core/sim_log.h"
#include "driver/driver_exports.h"

namespace sim {

// Result codes of the simulated transfer library beyond success and cancel.
inline constexpr std::int32_t kResultNotInitialised = 2;
inline constexpr std::int32_t kResultBadHeader = 3;
inline constexpr std::int32_t kResultBadLength = 4;
inline constexpr std::int32_t kResultUnsupported = 5;
inline constexpr std::int32_t kResultCancelled = 8;

class Printer {
public:
    explicit Printer(Scenario scenario = {});

    // Replaces the scenario; a reply that is pending stays pending.
    void SetScenario(Scenario scenario);
    Scenario GetScenario() const;

    // Every entry is also appended to this file, when one is named.
    void SetLogFile(std::string path);
    std::vector<LogEntry> Log() const;
    void ClearLog();

    // Each TRSendFile that reaches its progress reports appends a line here:
    // its result, the number of reports, its whole time and the time spent
    // inside the program's callback (total, median, longest), in microseconds.
    void SetTimingFile(std::string path);

    // Called after a complete transfer has changed the reported version.
    void SetStateChangedHandler(std::function<void(const Scenario&)> handler);

    // Raw I/O library.
    std::int32_t TMWriteFile(const char* printer, std::int32_t reserved, const std::uint8_t* data, std::int32_t length,
                             std::int32_t* count, std::int32_t timeoutMs);
    std::int32_t TMReadFile(const char* printer, std::int32_t reserved, std::uint8_t* data, std::int32_t length,
                            std::int32_t* count, std::int32_t timeoutMs);

    // Transfer library.
    std::int32_t TRInitPrinter(const char* printer, std::uint8_t* initInfo10);
    std::int32_t TRCheckSupportPrinter(const char* printer);
    std::int32_t TRCmdInit(std::int32_t limit);
    std::int32_t TRGetStatus(std::uint8_t* status32, std::int32_t limit);
    std::int32_t TRGetFileList(char* list, std::int32_t capacity, std::int32_t* count);
    std::int32_t TRSendFile(const std::uint8_t* header64, const std::uint8_t* data, std::int32_t* length,
                            std::uint8_t* status32, std::int32_t limit, TransferProgressProc progress);
    std::int32_t TRReceiveFile(const char* name, std::uint8_t* buffer, std::int32_t* length);
    std::int32_t TRDeleteFile(const char* name);

    // Driver information library (core/info_library.cpp).
    std::int32_t MyDeviceCapabilities(const char* device, const char* port, std::uint16_t capability, char* output,
                                      const void* devMode);

private:
    struct SendTiming {
        using Clock = std::chrono::steady_clock;
        Clock::time_point started;
        std::vector<Clock::duration> callbacks;  // one per progress report
    };

    void WriteTiming(SendTiming& timing, std::int32_t result);
    std::vector<std::uint8_t> ReplyFor(const std::string& command, const Scenario& scenario) const;
    std::vector<std::uint8_t> StatusArea(const Scenario& scenario) const;
    std::optional<std::int32_t> InjectedResult(const char* exportName) const;
    void Record(LogEntry entry);

    mutable std::mutex m_mutex;
    Scenario m_scenario;
    std::optional<std::string> m_pendingReply;  // command whose reply a read gets
    std::string m_initialisedPrinter;
    std::vector<LogEntry> m_log;
    std::string m_logFile;
    std::string m_timingFile;
    std::function<void(const Scenario&)> m_stateChanged;
};

}  // namespace sim
