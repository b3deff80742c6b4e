#include "core/sim_log.h"

#include <charconv>
#include <fstream>

#include "core/scenario.h"

namespace sim {
namespace {

constexpr char kSeparator = '\t';

bool ToInteger(std::string_view text, std::int32_t& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::string LogEntry::ToLine() const
{
    std::string line = call;
    for (const auto& field : {printer, std::to_string(length), std::to_string(limit), std::to_string(result),
                              FormatHexBytes(bytes.data(), bytes.size()), note}) {
        line.push_back(kSeparator);
        line += field;
    }
    return line;
}

std::optional<LogEntry> LogEntry::FromLine(std::string_view line)
{
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const auto end = line.find(kSeparator, start);
        fields.push_back(line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    if (fields.size() != 7) {
        return std::nullopt;
    }
    LogEntry entry;
    entry.call = fields[0];
    entry.printer = fields[1];
    bool ok =
        ToInteger(fields[2], entry.length) && ToInteger(fields[3], entry.limit) && ToInteger(fields[4], entry.result);
    bool bytesOk = true;
    entry.bytes = ParseHexBytes(fields[5], &bytesOk);
    entry.note = fields[6];
    if (!ok || !bytesOk) {
        return std::nullopt;
    }
    return entry;
}

std::vector<LogEntry> ReadLogFile(const std::string& path)
{
    std::vector<LogEntry> entries;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (auto entry = LogEntry::FromLine(line)) {
            entries.push_back(std::move(*entry));
        }
    }
    return entries;
}

}  // namespace sim
