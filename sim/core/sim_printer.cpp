#include "core/sim_printer.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <fstream>
#include <iomanip>
#include <span>
#include <thread>

#include "channel/printer_commands.h"
#include "core/firmware_image.h"
#include "transfer/transfer_format.h"

namespace sim {
namespace {

namespace cmd = printer_commands;

struct KnownCommand {
    const char* name;
    std::span<const std::uint8_t> bytes;
    bool hasReply;
};

const std::array<KnownCommand, 8> kCommands{{
    {"status", cmd::CMD_STATUS, true},
    {"mode", cmd::CMD_MODE, false},
    {"version", cmd::CMD_VERSION, true},
    {"model", cmd::CMD_MODEL, true},
    {"sys_read", cmd::CMD_SYS_READ, true},
    {"sys_write_a", cmd::CMD_SYS_WRITE_A, false},
    {"sys_write_b", cmd::CMD_SYS_WRITE_B, false},
    {"sys_final", cmd::CMD_SYS_FINAL, false},
}};

const KnownCommand* Recognise(const std::uint8_t* data, std::int32_t length)
{
    if (data == nullptr || length <= 0) {
        return nullptr;
    }
    for (const auto& command : kCommands) {
        if (command.bytes.size() == static_cast<std::size_t>(length) &&
            std::equal(command.bytes.begin(), command.bytes.end(), data)) {
            return &command;
        }
    }
    return nullptr;
}

std::string SafeText(const char* text)
{
    return text == nullptr ? std::string() : std::string(text);
}

std::int32_t ReadInt32(const std::uint8_t* bytes)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | bytes[i];
    }
    return static_cast<std::int32_t>(value);
}

// How long a step that gets no answer holds its caller: the time-out the
// caller gave, as the driver waits it, or the scenario's shorter wait.
int UnansweredWait(std::int32_t timeoutMs, int silentWaitMs)
{
    const int timeout = std::max<std::int32_t>(timeoutMs, 0);
    return silentWaitMs >= 0 ? std::min(timeout, silentWaitMs) : timeout;
}

}  // namespace

Printer::Printer(Scenario scenario) : m_scenario(std::move(scenario)) {}

void Printer::SetScenario(Scenario scenario)
{
    std::lock_guard lock(m_mutex);
    m_scenario = std::move(scenario);
}

Scenario Printer::GetScenario() const
{
    std::lock_guard lock(m_mutex);
    return m_scenario;
}

void Printer::SetLogFile(std::string path)
{
    std::lock_guard lock(m_mutex);
    m_logFile = std::move(path);
}

std::vector<LogEntry> Printer::Log() const
{
    std::lock_guard lock(m_mutex);
    return m_log;
}

void Printer::ClearLog()
{
    std::lock_guard lock(m_mutex);
    m_log.clear();
}

void Printer::SetStateChangedHandler(std::function<void(const Scenario&)> handler)
{
    std::lock_guard lock(m_mutex);
    m_stateChanged = std::move(handler);
}

void Printer::Record(LogEntry entry)
{
    std::lock_guard lock(m_mutex);
    if (!m_logFile.empty()) {
        std::ofstream out(m_logFile, std::ios::app);
        out << entry.ToLine() << '\n';
    }
    m_log.push_back(std::move(entry));
}

void Printer::SetTimingFile(std::string path)
{
    std::lock_guard lock(m_mutex);
    m_timingFile = std::move(path);
}

void Printer::WriteTiming(SendTiming& timing, std::int32_t result)
{
    const auto total = SendTiming::Clock::now() - timing.started;
    std::string timingFile;
    {
        std::lock_guard lock(m_mutex);
        timingFile = m_timingFile;
    }
    if (timingFile.empty()) {
        return;
    }
    auto& spans = timing.callbacks;
    SendTiming::Clock::duration inside{};
    for (const auto span : spans) {
        inside += span;
    }
    const auto count = static_cast<std::ptrdiff_t>(spans.size());
    SendTiming::Clock::duration longest{};
    SendTiming::Clock::duration median{};
    if (count > 0) {
        longest = *std::ranges::max_element(spans);
        std::ranges::nth_element(spans, spans.begin() + count / 2);
        median = spans[static_cast<std::size_t>(count / 2)];
    }
    const auto us = [](SendTiming::Clock::duration span) {
        return std::chrono::duration_cast<std::chrono::duration<double, std::micro>>(span).count();
    };
    std::ofstream out(timingFile, std::ios::app);
    out << std::fixed << std::setprecision(1) << "TRSendFile result=" << result << " reports=" << count
        << " send_us=" << us(total) << " callback_us=" << us(inside) << " callback_median_us=" << us(median)
        << " callback_max_us=" << us(longest) << '\n';
}

std::vector<std::uint8_t> Printer::ReplyFor(const std::string& command, const Scenario& scenario) const
{
    if (const auto found = scenario.replies.find(command); found != scenario.replies.end()) {
        return found->second;
    }
    std::array<std::uint8_t, 32> reply{};
    std::size_t size = 0;
    if (command == "status") {
        size = cmd::STATUS_REPLY_SIZE;
        reply[0] = 0x80;
        reply[1] = 0x20;
        std::copy_n(scenario.identification.begin(), std::min<std::size_t>(scenario.identification.size(), 3),
                    reply.begin() + cmd::STATUS_ID_OFFSET);
    } else if (command == "version") {
        size = cmd::VERSION_REPLY_READ_SIZE;
        std::memcpy(reply.data(), "VR-380MX  ", 10);
        std::copy_n(scenario.version.begin(), std::min(scenario.version.size(), cmd::VERSION_TEXT_LENGTH),
                    reply.begin() + cmd::VERSION_TEXT_OFFSET);
    } else if (command == "model") {
        size = cmd::MODEL_REPLY_SIZE;
        reply[0] = 0x80;
        reply[cmd::MODEL_BYTE_OFFSET] = scenario.modelByte;
    } else if (command == "sys_read") {
        size = cmd::SYSTEM_REPLY_SIZE;
        reply[0] = scenario.systemByte;
    }
    return {reply.begin(), reply.begin() + static_cast<std::ptrdiff_t>(size)};
}

std::vector<std::uint8_t> Printer::StatusArea(const Scenario& scenario) const
{
    if (!scenario.transferStatus.empty()) {
        return scenario.transferStatus;
    }
    std::vector<std::uint8_t> status(transfer_format::STATUS_SIZE, 0);
    std::ranges::copy(transfer_format::STATUS_SIGNATURE, status.begin());
    status[transfer_format::STATUS_PRINTER_ID_OFFSET] = static_cast<std::uint8_t>(scenario.printerId & 0xFF);
    status[transfer_format::STATUS_PRINTER_ID_OFFSET + 1] = static_cast<std::uint8_t>(scenario.printerId >> 8);
    return status;
}

std::optional<std::int32_t> Printer::InjectedResult(const char* exportName) const
{
    std::lock_guard lock(m_mutex);
    if (const auto found = m_scenario.exportResults.find(exportName); found != m_scenario.exportResults.end()) {
        return found->second;
    }
    return std::nullopt;
}

std::int32_t Printer::TMWriteFile(const char* printer, std::int32_t /*reserved*/, const std::uint8_t* data,
                                  std::int32_t length, std::int32_t* count, std::int32_t timeoutMs)
{
    LogEntry entry{"TMWriteFile", SafeText(printer), length, timeoutMs, 0, {}, "unknown"};
    if (data != nullptr && length > 0) {
        entry.bytes.assign(data, data + length);
    }
    const auto* command = Recognise(data, length);
    int unanswered = 0;
    {
        std::lock_guard lock(m_mutex);
        m_pendingReply.reset();
        if (command != nullptr) {
            entry.note = command->name;
            const auto step = std::string(command->name) + ".write";
            if (m_scenario.failingSteps.contains(step)) {
                entry.note += " fail";
            } else if (m_scenario.silentSteps.contains(step)) {
                entry.note += " timeout";
                unanswered = UnansweredWait(timeoutMs, m_scenario.silentWaitMs);
            } else {
                entry.result = 1;
                if (command->hasReply) {
                    m_pendingReply = command->name;
                }
            }
        } else {
            entry.result = 1;  // the printer ignores what it does not know
        }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(unanswered));
    if (count != nullptr) {
        *count = entry.result != 0 ? length : 0;
    }
    const auto result = entry.result;
    Record(std::move(entry));
    return result;
}

std::int32_t Printer::TMReadFile(const char* printer, std::int32_t /*reserved*/, std::uint8_t* data,
                                 std::int32_t length, std::int32_t* count, std::int32_t timeoutMs)
{
    LogEntry entry{"TMReadFile", SafeText(printer), length, timeoutMs, 0, {}, "no reply"};
    int unanswered = 0;
    {
        std::lock_guard lock(m_mutex);
        if (m_pendingReply) {
            const auto step = *m_pendingReply + ".read";
            entry.note = *m_pendingReply;
            if (m_scenario.failingSteps.contains(step)) {
                entry.note += " fail";
            } else if (m_scenario.silentSteps.contains(step)) {
                entry.note += " timeout";
                unanswered = UnansweredWait(timeoutMs, m_scenario.silentWaitMs);
            } else {
                const auto reply = ReplyFor(*m_pendingReply, m_scenario);
                const auto size = std::min<std::size_t>(reply.size(), length > 0 ? length : 0);
                if (data != nullptr) {
                    std::copy_n(reply.begin(), size, data);
                }
                entry.bytes.assign(reply.begin(), reply.begin() + static_cast<std::ptrdiff_t>(size));
                entry.result = 1;
            }
            m_pendingReply.reset();
        }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(unanswered));
    if (count != nullptr) {
        *count = static_cast<std::int32_t>(entry.bytes.size());
    }
    const auto result = entry.result;
    Record(std::move(entry));
    return result;
}

std::int32_t Printer::TRInitPrinter(const char* printer, std::uint8_t* initInfo10)
{
    const auto result = InjectedResult("TRInitPrinter").value_or(0);
    if (result == 0) {
        std::lock_guard lock(m_mutex);
        m_initialisedPrinter = SafeText(printer);
        if (initInfo10 != nullptr) {
            const std::array<std::uint8_t, transfer_format::INIT_INFO_SIZE> info{0x01, 0x00, 'V', 'R', '3', '8'};
            std::ranges::copy(info, initInfo10);
        }
    }
    Record({"TRInitPrinter", SafeText(printer), 0, 0, result, {}, {}});
    return result;
}

std::int32_t Printer::TRCheckSupportPrinter(const char* printer)
{
    const auto result = InjectedResult("TRCheckSupportPrinter").value_or(0);
    Record({"TRCheckSupportPrinter", SafeText(printer), 0, 0, result, {}, {}});
    return result;
}

std::int32_t Printer::TRCmdInit(std::int32_t limit)
{
    auto result = InjectedResult("TRCmdInit").value_or(0);
    {
        std::lock_guard lock(m_mutex);
        if (result == 0 && m_initialisedPrinter.empty()) {
            result = kResultNotInitialised;
        }
    }
    Record({"TRCmdInit", {}, 0, limit, result, {}, {}});
    return result;
}

std::int32_t Printer::TRGetStatus(std::uint8_t* status32, std::int32_t limit)
{
    const auto result = InjectedResult("TRGetStatus").value_or(0);
    LogEntry entry{"TRGetStatus", {}, 0, limit, result, {}, {}};
    if (result == 0 && status32 != nullptr) {
        const auto status = StatusArea(GetScenario());
        const auto size = std::min(status.size(), transfer_format::STATUS_SIZE);
        std::copy_n(status.begin(), size, status32);
        entry.bytes.assign(status.begin(), status.begin() + static_cast<std::ptrdiff_t>(size));
    }
    Record(std::move(entry));
    return result;
}

std::int32_t Printer::TRGetFileList(char* list, std::int32_t capacity, std::int32_t* count)
{
    if (list != nullptr && capacity > 0) {
        list[0] = '\0';
    }
    if (count != nullptr) {
        *count = 0;
    }
    const auto result = InjectedResult("TRGetFileList").value_or(0);
    Record({"TRGetFileList", {}, capacity, 0, result, {}, {}});
    return result;
}

std::int32_t Printer::TRSendFile(const std::uint8_t* header64, const std::uint8_t* data, std::int32_t* length,
                                 std::uint8_t* status32, std::int32_t limit, TransferProgressProc progress)
{
    namespace image = firmware_image;
    const auto started = SendTiming::Clock::now();
    const auto scenario = GetScenario();
    const std::int32_t dataLength = length != nullptr ? *length : -1;
    LogEntry entry{"TRSendFile", {}, dataLength, limit, 0, {}, {}};
    if (header64 != nullptr) {
        entry.bytes.assign(header64, header64 + image::HEADER_SIZE);
    }

    auto finish = [&](std::int32_t result, std::string note) {
        entry.result = result;
        entry.note = std::move(note);
        Record(entry);
        return result;
    };

    if (const auto injected = InjectedResult("TRSendFile")) {
        return finish(*injected, "injected");
    }
    if (header64 == nullptr || data == nullptr || length == nullptr || progress == nullptr) {
        return finish(kResultBadHeader, "missing argument");
    }
    const std::uint16_t headerId =
        static_cast<std::uint16_t>(header64[image::PRINTER_ID_OFFSET] | (header64[image::PRINTER_ID_OFFSET + 1] << 8));
    if (!std::equal(image::SIGNATURE.begin(), image::SIGNATURE.end(), header64) || headerId != scenario.printerId) {
        return finish(kResultBadHeader, "header refused");
    }
    if (dataLength <= 0 || ReadInt32(header64 + image::DATA_LENGTH_OFFSET) != dataLength) {
        return finish(kResultBadLength, "length differs from header");
    }
    if (status32 != nullptr) {
        const auto status = StatusArea(scenario);
        std::copy_n(status.begin(), std::min(status.size(), transfer_format::STATUS_SIZE), status32);
    }

    // The data is read whole, as the printer would receive it.
    std::uint32_t checksum = 0;
    for (std::int32_t i = 0; i < dataLength; ++i) {
        checksum = checksum * 31 + data[i];
    }

    // Each report tells the percentage of the data sent so far: every
    // progress.step percent, or after every progress.bytes bytes. The time
    // spent in the program's callback is kept apart from the library's own.
    SendTiming timing{started, {}};
    std::int64_t sent = 0;
    for (int percent = 0;;) {
        if (scenario.progressDelayMs > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(scenario.progressDelayMs));
        }
        const auto before = SendTiming::Clock::now();
        const auto answer = progress(percent);
        timing.callbacks.push_back(SendTiming::Clock::now() - before);
        Record({"progress", {}, percent, 0, answer, {}, {}});
        if (answer == 0) {
            WriteTiming(timing, kResultCancelled);
            return finish(kResultCancelled, "cancelled at " + std::to_string(percent));
        }
        if (percent == 100) {
            break;
        }
        if (scenario.progressBytes > 0) {
            sent = std::min<std::int64_t>(dataLength, sent + scenario.progressBytes);
            percent = static_cast<int>(sent * 100 / dataLength);
        } else {
            percent = std::min(100, percent + scenario.progressStep);
        }
    }
    WriteTiming(timing, 0);

    std::string version(reinterpret_cast<const char*>(header64 + image::VERSION_OFFSET), image::VERSION_LENGTH);
    version.resize(std::strlen(version.c_str()));
    std::function<void(const Scenario&)> notify;
    Scenario updated;
    {
        std::lock_guard lock(m_mutex);
        if (!version.empty()) {
            m_scenario.version = version;
        }
        updated = m_scenario;
        notify = m_stateChanged;
    }
    if (notify) {
        notify(updated);
    }
    return finish(0, "sent checksum " + std::to_string(checksum) + " version " + version);
}

std::int32_t Printer::TRReceiveFile(const char* name, std::uint8_t* /*buffer*/, std::int32_t* length)
{
    if (length != nullptr) {
        *length = 0;
    }
    const auto result = InjectedResult("TRReceiveFile").value_or(kResultUnsupported);
    Record({"TRReceiveFile", SafeText(name), 0, 0, result, {}, {}});
    return result;
}

std::int32_t Printer::TRDeleteFile(const char* name)
{
    const auto result = InjectedResult("TRDeleteFile").value_or(kResultUnsupported);
    Record({"TRDeleteFile", SafeText(name), 0, 0, result, {}, {}});
    return result;
}

}  // namespace sim
