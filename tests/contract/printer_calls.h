#pragma once
// What reaches the printer, as the simulated printer logs it: the bytes the
// program wrote and the arguments of each call. The command bytes are spelled
// out here, apart from the program's own constants, so that a wrong constant
// cannot agree with itself.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "core/sim_log.h"

namespace printer_calls {

using Bytes = std::vector<std::uint8_t>;

struct Call {
    std::string call;
    Bytes bytes;  // bytes written; empty for reads and library calls
    std::int32_t length = 0;
    std::int32_t limit = 0;  // time-out or limit
    bool operator==(const Call&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const Call& c)
    {
        return out << c.call << " len=" << c.length << " limit=" << c.limit << " bytes=" << c.bytes.size();
    }
};

inline Call Write(Bytes bytes)
{
    const auto length = static_cast<std::int32_t>(bytes.size());
    return {"TMWriteFile", std::move(bytes), length, 10000};
}

inline Call Read(std::int32_t length)
{
    return {"TMReadFile", {}, length, 2000};
}

// The calls in order, the raw ones and any other that names a printer naming
// this one (status areas and read replies come from the printer, so only
// writes keep their bytes).
inline std::vector<Call> Calls(const std::vector<sim::LogEntry>& log, const std::string& printer)
{
    std::vector<Call> calls;
    for (const auto& entry : log) {
        if (entry.printer != printer && (entry.call.starts_with("TM") || !entry.printer.empty())) {
            calls.push_back({"wrong printer: " + entry.printer, {}, 0, 0});
        }
        calls.push_back({entry.call, entry.call == "TMWriteFile" ? entry.bytes : Bytes{}, entry.length, entry.limit});
    }
    return calls;
}

inline const Bytes kStatus{0x1B, 0x69, 0x53};
inline const Bytes kMode{0x1B, 0x69, 0x61, 0x01};
inline const Bytes kVersion{0x54, 0x63, 0x63, 0x01, 0x20, 0x00, 0x20, 0x00, 0x10};
inline const Bytes kModel{0x1B, 0x69, 0x46, 0x53};
inline const Bytes kSysRead{0x55, 0x08, 0xF9, 0x01, 0x01, 0x00};
inline const Bytes kSysWriteA{0x55, 0x09, 0xFA, 0x01, 0x01, 0x00, 0x01, 0x00};
inline const Bytes kSysWriteB{0x55, 0x09, 0xFA, 0x01, 0x01, 0x00, 0x00, 0x00};
inline const Bytes kSysFinal{0x55, 0x09, 0xFC, 0x01, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00};

}  // namespace printer_calls
