#pragma once
// What the fuzz targets share: the input as the stand-in libraries draw
// their answers from it (some are called on the transfer worker's thread),
// the headless machine made afresh for every input, and a driver
// information library that answers from the input. Each of its answers is
// drawn once per device name and code, so it may keep another list under the
// printer's name than under the driver's, and it writes the whole list into
// the caller's buffer, as a real library does.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/info_library.h"
#include "platform/headless/library_table.h"
#include "platform/headless/printer_driver_script.h"
#include "platform/headless/process_table.h"
#include "platform/headless/registry_tree.h"
#include "platform/headless/spooler_table.h"
#include "platform/headless/system_table.h"
#include "platform/headless/ui_driver.h"

namespace fuzz {

struct Input {
    std::recursive_mutex mutex;
    FuzzedDataProvider* data = nullptr;
    std::map<std::pair<std::string, std::uint16_t>, platform::headless::CapabilityAnswer> infoAnswers;
};

inline Input& Current()
{
    static Input input;
    return input;
}

// Exactly size bytes: the input's next ones, zeros once it runs out.
inline std::vector<std::uint8_t> Bytes(FuzzedDataProvider& data, std::size_t size)
{
    auto bytes = data.ConsumeBytes<std::uint8_t>(size);
    bytes.resize(size);
    return bytes;
}

// A number of entries as a driver answers it: mostly a few, now and then
// anything at all.
inline std::int32_t Count(FuzzedDataProvider& data)
{
    return data.ConsumeBool() ? data.ConsumeIntegralInRange<std::int32_t>(-1, 6) : data.ConsumeIntegral<std::int32_t>();
}

// A list answer: the count and, for a count that a driver could fill, the
// whole list.
inline platform::headless::CapabilityAnswer ListAnswer(FuzzedDataProvider& data, std::size_t entrySize)
{
    platform::headless::CapabilityAnswer answer;
    answer.result = Count(data);
    if (answer.result > 0 && answer.result <= MDC_MAX_LIST_ENTRIES) {
        answer.output = Bytes(data, static_cast<std::size_t>(answer.result) * entrySize);
    }
    return answer;
}

inline std::int32_t DRIVER_CALL InfoLibraryAnswer(const char* device, const char*, std::uint16_t code, char* output,
                                                  const void*)
{
    auto& input = Current();
    std::lock_guard lock(input.mutex);
    auto [answer, fresh] = input.infoAnswers.try_emplace({device == nullptr ? "" : device, code});
    if (fresh) {
        auto& data = *input.data;
        const bool media = code == MDC_MEDIA || code == MDC_MEDIA2;
        if (media || code == MDC_FEEDMARGINS) {
            answer->second = ListAnswer(data, media ? MDC_MEDIA_ENTRY_SIZE : MDC_FEEDMARGIN_ENTRY_SIZE);
        } else {
            answer->second.result = data.ConsumeIntegral<std::int32_t>();
        }
    }
    if (output != nullptr && !answer->second.output.empty()) {
        std::memcpy(output, answer->second.output.data(), answer->second.output.size());
    }
    return answer->second.result;
}

inline const std::string kInfoLibraryPath = "C:\\Program Files\\Corvane\\VR380\\vr380info.dll";

// An empty machine for the next input, with the information library
// registered at kInfoLibraryPath.
inline void NewMachine(FuzzedDataProvider& data)
{
    namespace h = platform::headless;
    h::ResetRegistry();
    h::ResetSpooler();
    h::ResetPrinterDrivers();
    h::ResetLibraries();
    h::ResetSystemInfo();
    h::ResetProcess();
    h::ResetUi();
    auto& input = Current();
    std::lock_guard lock(input.mutex);
    input.data = &data;
    input.infoAnswers.clear();
    h::RegisterLibrary(kInfoLibraryPath, {{MY_DEVICE_CAPABILITIES_EXPORT,
                                           h::ExportAddress<MyDeviceCapabilitiesProc>(&InfoLibraryAnswer)}});
}

}  // namespace fuzz
