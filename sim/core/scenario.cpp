#include "core/scenario.h"

#include <charconv>
#include <cstdint>
#include <sstream>

namespace sim {
namespace {

std::string_view Trim(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

bool ParseInteger(std::string_view text, long long& value)
{
    int base = 10;
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return false;
    }
    if (negative) {
        value = -value;
    }
    return true;
}

}  // namespace

std::vector<std::uint8_t> ParseHexBytes(std::string_view text, bool* ok)
{
    std::vector<std::uint8_t> bytes;
    bool valid = true;
    std::string digits;
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == ',') {
            continue;
        }
        digits.push_back(c);
    }
    if (digits.size() % 2 != 0) {
        valid = false;
    }
    for (std::size_t i = 0; valid && i + 1 < digits.size(); i += 2) {
        unsigned value = 0;
        const auto [end, error] = std::from_chars(digits.data() + i, digits.data() + i + 2, value, 16);
        if (error != std::errc() || end != digits.data() + i + 2) {
            valid = false;
            break;
        }
        bytes.push_back(static_cast<std::uint8_t>(value));
    }
    if (ok != nullptr) {
        *ok = valid;
    }
    return valid ? bytes : std::vector<std::uint8_t>{};
}

std::string FormatHexBytes(const std::uint8_t* data, std::size_t size)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (std::size_t i = 0; i < size; ++i) {
        if (i != 0) {
            text.push_back(' ');
        }
        text.push_back(kDigits[data[i] >> 4]);
        text.push_back(kDigits[data[i] & 0xF]);
    }
    return text;
}

Scenario Scenario::Parse(std::string_view text, std::vector<std::string>* errors)
{
    Scenario scenario;
    auto complain = [&](std::string_view line) {
        if (errors != nullptr) {
            errors->emplace_back(line);
        }
    };
    std::size_t position = 0;
    while (position < text.size()) {
        auto end = text.find('\n', position);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const auto rawLine = text.substr(position, end - position);
        position = end + 1;
        auto line = rawLine.substr(0, rawLine.find('#'));
        line = Trim(line);
        if (line.empty()) {
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            complain(rawLine);
            continue;
        }
        const auto key = std::string(Trim(line.substr(0, equals)));
        const auto value = Trim(line.substr(equals + 1));
        long long number = 0;
        bool ok = true;
        if (key == "identification") {
            scenario.identification = std::string(value);
        } else if (key == "version") {
            scenario.version = std::string(value);
        } else if (key == "model") {
            ok = value.size() == 1;
            if (ok) {
                scenario.modelByte = static_cast<std::uint8_t>(value[0]);
            }
        } else if (key == "system") {
            ok = ParseInteger(value, number) && number >= 0 && number <= 255;
            if (ok) {
                scenario.systemByte = static_cast<std::uint8_t>(number);
            }
        } else if (key == "printer_id") {
            ok = ParseInteger(value, number) && number >= 0 && number <= 0xFFFF;
            if (ok) {
                scenario.printerId = static_cast<std::uint16_t>(number);
            }
        } else if (key == "fail") {
            scenario.failingSteps.emplace(value);
        } else if (key == "silent") {
            scenario.silentSteps.emplace(value);
        } else if (key == "silent.wait_ms") {
            ok = ParseInteger(value, number) && number >= 0 && number <= 600000;
            if (ok) {
                scenario.silentWaitMs = static_cast<int>(number);
            }
        } else if (key.starts_with("reply.")) {
            scenario.replies[key.substr(6)] = ParseHexBytes(value, &ok);
        } else if (key == "tr.status") {
            scenario.transferStatus = ParseHexBytes(value, &ok);
        } else if (key.starts_with("tr.")) {
            ok = ParseInteger(value, number);
            if (ok) {
                scenario.exportResults[key.substr(3)] = static_cast<std::int32_t>(number);
            }
        } else if (key == "progress.step") {
            ok = ParseInteger(value, number) && number >= 1 && number <= 100;
            if (ok) {
                scenario.progressStep = static_cast<int>(number);
            }
        } else if (key == "progress.bytes") {
            ok = ParseInteger(value, number) && number >= 0 && number <= INT32_MAX;
            if (ok) {
                scenario.progressBytes = static_cast<std::int32_t>(number);
            }
        } else if (key == "progress.delay_ms") {
            ok = ParseInteger(value, number) && number >= 0 && number <= 60000;
            if (ok) {
                scenario.progressDelayMs = static_cast<int>(number);
            }
        } else if (key == "info.flags") {
            ok = ParseInteger(value, number) && number >= -1 && number <= 0xFFFFFFFFLL;
            if (ok) {
                scenario.infoFlags = static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
            }
        } else if (key == "info.special_tape") {
            ok = value == "0" || value == "1";
            if (ok) {
                scenario.infoSpecialTape = value == "1";
            }
        } else if (key == "info.model_id_high") {
            ok = ParseInteger(value, number) && number >= 0 && number <= 0xFFFF;
            if (ok) {
                scenario.infoModelIdHigh = static_cast<std::uint16_t>(number);
            }
        } else if (key == "info.no_answer") {
            ok = ParseInteger(value, number) && number >= 0 && number <= 0xFFFF;
            if (ok) {
                scenario.infoNoAnswer.insert(static_cast<int>(number));
            }
        } else {
            ok = false;
        }
        if (!ok) {
            complain(rawLine);
        }
    }
    return scenario;
}

std::string Scenario::Serialize() const
{
    std::ostringstream out;
    out << "identification = " << identification << '\n';
    out << "version = " << version << '\n';
    out << "model = " << static_cast<char>(modelByte) << '\n';
    out << "system = " << static_cast<int>(systemByte) << '\n';
    out << "printer_id = 0x" << std::hex << printerId << std::dec << '\n';
    for (const auto& step : failingSteps) {
        out << "fail = " << step << '\n';
    }
    for (const auto& step : silentSteps) {
        out << "silent = " << step << '\n';
    }
    if (silentWaitMs >= 0) {
        out << "silent.wait_ms = " << silentWaitMs << '\n';
    }
    for (const auto& [name, bytes] : replies) {
        out << "reply." << name << " = " << FormatHexBytes(bytes.data(), bytes.size()) << '\n';
    }
    for (const auto& [name, result] : exportResults) {
        out << "tr." << name << " = " << result << '\n';
    }
    if (!transferStatus.empty()) {
        out << "tr.status = " << FormatHexBytes(transferStatus.data(), transferStatus.size()) << '\n';
    }
    out << "progress.step = " << progressStep << '\n';
    if (progressBytes != 0) {
        out << "progress.bytes = " << progressBytes << '\n';
    }
    out << "progress.delay_ms = " << progressDelayMs << '\n';
    if (infoFlags == -1) {
        out << "info.flags = -1\n";
    } else {
        out << "info.flags = 0x" << std::hex << static_cast<std::uint32_t>(infoFlags) << std::dec << '\n';
    }
    out << "info.special_tape = " << (infoSpecialTape ? 1 : 0) << '\n';
    out << "info.model_id_high = 0x" << std::hex << infoModelIdHigh << std::dec << '\n';
    for (const int code : infoNoAnswer) {
        out << "info.no_answer = " << code << '\n';
    }
    return out.str();
}

}  // namespace sim
