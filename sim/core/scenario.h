#pragma once
// The state of a simulated VR-380MX and the failures to inject, read from a
// small text file of "key = value" lines ('#' starts a comment):
//
//   identification = K0V          status reply bytes 2..4
//   version = 5.00                firmware version reported (up to 4 chars)
//   model = 0                     model reply byte 5 (a character)
//   system = 0                    system reply byte (a number)
//   printer_id = 0x3831           printer id in the transfer status
//   fail = status.write           this step fails (repeatable)
//   silent = version.read         this read gets no answer: it returns
//                                 failure after the caller's time-out, as
//                                 the driver does (a silent write the same)
//   silent.wait_ms = 0            waits this long instead, when shorter than
//                                 the time-out (for suites that want speed)
//   reply.status = 00 01 4B       replaces a whole reply (hex bytes):
//                                 reply.status, .version, .model, .sys_read
//   tr.TRCmdInit = 5              result code of a transfer-library export
//   tr.status = 81 20 4B 00 00    replaces the transfer status area
//   progress.step = 25            percent between progress reports
//   progress.bytes = 4096         bytes between progress reports instead
//                                 (the percentage reported is of the bytes sent)
//   progress.delay_ms = 0         pause before each progress report
//   info.flags = 0x10000000       capability word of the information library
//                                 (MDC_FLAGS); -1: no answer
//   info.special_tape = 1         the driver supports the special-tape mode
//                                 (adds MDC_FLAG_SPECIAL_TAPE to info.flags)
//   info.model_id_high = 0x0000   high 16 bits of the model identifier
//                                 (MDC_MODELID); its low 16 are printer_id
//   info.no_answer = 278          the library answers -1 to this code
//                                 (repeatable)
//
// Steps are named after the command written ("status", "mode", "version",
// "model", "sys_read", "sys_write_a", "sys_write_b", "sys_final") with
// ".write" or ".read".

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

inline constexpr std::uint16_t kDefaultPrinterId = 0x3831;

struct Scenario {
    std::string identification = "K0V";
    std::string version = "5.00";
    std::uint8_t modelByte = '0';
    std::uint8_t systemByte = 0;
    std::uint16_t printerId = kDefaultPrinterId;
    std::set<std::string> failingSteps;
    std::set<std::string> silentSteps;
    int silentWaitMs = -1;  // -1: a silent step waits the caller's whole time-out
    std::map<std::string, std::vector<std::uint8_t>> replies;
    std::map<std::string, std::int32_t> exportResults;
    std::vector<std::uint8_t> transferStatus;  // empty: built from the state
    int progressStep = 25;
    std::int32_t progressBytes = 0;  // 0: reports every progressStep percent
    int progressDelayMs = 0;
    std::int32_t infoFlags = 0;
    bool infoSpecialTape = false;
    std::uint16_t infoModelIdHigh = 0;
    std::set<int> infoNoAnswer;

    // Unknown keys and malformed values are reported in errors, one line each.
    static Scenario Parse(std::string_view text, std::vector<std::string>* errors = nullptr);
    std::string Serialize() const;
};

std::vector<std::uint8_t> ParseHexBytes(std::string_view text, bool* ok = nullptr);
std::string FormatHexBytes(const std::uint8_t* data, std::size_t size);

}  // namespace sim
