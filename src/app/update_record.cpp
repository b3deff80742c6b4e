#include "app/update_record.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <string_view>

#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/file.h"
#include "platform/process.h"
#include "platform/ui.h"
#include "res/resource.h"

namespace {

// The program's version: the project's, major.minor.
constexpr const char* kProgramVersion = VR38_PROGRAM_VERSION;

constexpr const char* kRecordFolder = "VR38Update";
constexpr const char* kRecordFile = "VR38Update.log";
constexpr const char* kRotatedSuffix = ".1";
constexpr std::size_t kRecordLimit = 1024 * 1024;
constexpr const char* kLineEnd = "\r\n";

struct Field {
    std::string_view key;
    std::string value;
};

bool NeedsQuotes(std::string_view value)
{
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= ' ' || byte == 0x7F || c == '"' || c == '\\') {
            return true;
        }
    }
    return value.empty();
}

std::string Written(std::string_view value)
{
    if (!NeedsQuotes(value)) {
        return std::string(value);
    }
    std::string quoted = "\"";
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (byte < ' ' || byte == 0x7F) {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            quoted += escape;
        } else {
            quoted += c;
        }
    }
    return quoted + '"';
}

// 2026-12-09T14:03:27+01:00
std::string Timestamp(const platform::LocalTime& time)
{
    const int offset = time.utcOffsetMinutes < 0 ? -time.utcOffsetMinutes : time.utcOffsetMinutes;
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", time.year, time.month, time.day,
                  time.hour, time.minute, time.second, time.utcOffsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
    return text;
}

std::string Hex16(std::uint16_t value)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", value);
    return text;
}

void Append(const std::string& line)
{
    const auto localAppData = platform::LocalAppDataFolder();
    if (!localAppData) {
        return;
    }
    const auto company = *localAppData + '\\' + platform::AnsiToUtf8(platform::LoadResourceString(IDS_REGISTRY_KEY));
    const auto folder = company + '\\' + kRecordFolder;
    const auto path = folder + '\\' + kRecordFile;
    if (platform::CreateFolder(company) && platform::CreateFolder(folder) &&
        platform::RenameFileIfLonger(path, path + kRotatedSuffix, kRecordLimit - std::min(line.size(), kRecordLimit))) {
        platform::AppendToFile(path, line);
    }
}

void Write(std::string_view event, std::initializer_list<Field> fields)
{
    std::string line = Timestamp(platform::CurrentLocalTime()) + " event=" + std::string(event);
    for (const auto& [key, value] : fields) {
        line.append(" ").append(key).append("=").append(Written(value));
    }
    Append(line + kLineEnd);
}

}  // namespace

void UpdateRecord::Update(const std::string& printer, std::uint16_t printerId)
{
    Write("update",
          {{"program", kProgramVersion}, {"printer", platform::AnsiToUtf8(printer)}, {"printer_id", Hex16(printerId)}});
}

void UpdateRecord::Identification(const std::optional<StatusReply>& status)
{
    if (!status) {
        Write("identification", {{"result", "no-reply"}});
        return;
    }
    const auto* id = status->bytes.data() + printer_commands::STATUS_ID_OFFSET;
    const std::string identification(id, id + printer_commands::STATUS_IDENTIFICATION.size());
    Write("identification", {{"result", "replied"}, {"identification", platform::AnsiToUtf8(identification)}});
}

bool UpdateRecord::Check(const char* check, bool passed)
{
    Write("check", {{"check", check}, {"result", passed ? "passed" : "failed"}});
    return passed;
}

void UpdateRecord::Version(const VersionExchange& exchange)
{
    if (!exchange.sent) {
        Write("version", {{"result", "unsent"}});
    } else if (exchange.version) {
        Write("version", {{"result", "replied"}, {"version", platform::AnsiToUtf8(*exchange.version)}});
    } else {
        Write("version", {{"result", "no-reply"}, {"version", "unknown"}});
    }
}

int UpdateRecord::Answer(int answer)
{
    Write("answer", {{"answer", answer == platform::ID_YES ? "yes" : answer == platform::ID_NO ? "no" : "none"}});
    return answer;
}

void UpdateRecord::Header(const FirmwareHeader& header)
{
    Write("header", {{"length", std::to_string(header.DataLength())}, {"printer_id", Hex16(header.PrinterId())}});
}

void UpdateRecord::HeaderUnreadable()
{
    Write("header", {{"result", "unreadable"}});
}

void UpdateRecord::TransferStarts()
{
    m_transferStart = platform::SteadyMilliseconds();
}

void UpdateRecord::TransferEnded(std::int32_t result)
{
    Write("transfer", {{"result", std::to_string(result)},
                       {"duration_ms", std::to_string(platform::SteadyMilliseconds() - m_transferStart)}});
}

void UpdateRecord::Message(int stringId)
{
    Write("message", {{"id", std::to_string(stringId)}});
}

void UpdateRecord::Message(const char* name)
{
    Write("message", {{"id", name}});
}
