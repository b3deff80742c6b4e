#pragma once
// The simulated driver's call log: one entry per call that reached the
// printer, with the bytes that went either way. Written as one tab-separated
// line per entry, so that a test in another process can read it back.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

struct LogEntry {
    std::string call;                 // export name, or "progress" for a callback
    std::string printer;              // the printer named by the call, if any
    std::int32_t length = 0;          // length argument (bytes to write or read)
    std::int32_t limit = 0;           // time-out or limit argument
    std::int32_t result = 0;          // what the call returned
    std::vector<std::uint8_t> bytes;  // bytes written, read or filled in
    std::string note;                 // command recognised, or why the call failed

    std::string ToLine() const;
    static std::optional<LogEntry> FromLine(std::string_view line);
    bool operator==(const LogEntry&) const = default;
};

std::vector<LogEntry> ReadLogFile(const std::string& path);

}  // namespace sim
