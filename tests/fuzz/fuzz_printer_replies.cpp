// What the driver's libraries answer during an update: every raw reply and
// the read and write results, TRInitPrinter's area, the transfer status, the
// transfer's result and the progress percentages it reports. The libraries
// write no more than the caller's length, as the real ones do; the counts
// they report may be anything.

#include <algorithm>
#include <numeric>

#include "core/firmware_image.h"
#include "exports/stand_in_exports.h"
#include "fuzz_machine.h"
#include "fuzz_update.h"

// Bound by the program, never called: the simulated driver's.
DECLARE_STAND_IN(TRCheckSupportPrinter)
DECLARE_STAND_IN(TRGetFileList)
DECLARE_STAND_IN(TRReceiveFile)
DECLARE_STAND_IN(TRDeleteFile)

namespace {

volatile std::uint8_t g_sum = 0;

FuzzedDataProvider& Data()
{
    return *fuzz::Current().data;
}

// A result: the library's success unless the input says otherwise.
std::int32_t Result(std::int32_t success)
{
    std::lock_guard lock(fuzz::Current().mutex);
    return Data().ConsumeBool() ? Data().ConsumeIntegral<std::int32_t>() : success;
}

std::int32_t Fill(std::uint8_t* area, std::size_t size)
{
    std::lock_guard lock(fuzz::Current().mutex);
    const auto bytes = fuzz::Bytes(Data(), size);
    std::copy(bytes.begin(), bytes.end(), area);
    return Result(TRANSFER_OK);
}

// A status area, as often as not one of the printer bound for the transfer.
std::int32_t FillStatus(std::uint8_t* status)
{
    std::lock_guard lock(fuzz::Current().mutex);
    const bool plausible = Data().ConsumeBool();
    const auto result = Fill(status, transfer_format::STATUS_SIZE);
    if (plausible) {
        std::ranges::copy(transfer_format::STATUS_SIGNATURE, status);
        status[transfer_format::STATUS_PRINTER_ID_OFFSET] = static_cast<std::uint8_t>(g_wTransferPrinterId);
        status[transfer_format::STATUS_PRINTER_ID_OFFSET + 1] = static_cast<std::uint8_t>(g_wTransferPrinterId >> 8);
    }
    return result;
}

constexpr std::int32_t kRawSuccess = 1;

std::int32_t TRInitPrinter(const char*, std::uint8_t* info)
{
    return Fill(info, transfer_format::INIT_INFO_SIZE);
}

std::int32_t TRCmdInit(std::int32_t)
{
    return Result(TRANSFER_OK);
}

std::int32_t TRGetStatus(std::uint8_t* status, std::int32_t)
{
    return FillStatus(status);
}

std::int32_t TMWriteFile(char*, std::int32_t, std::uint8_t*, std::int32_t length, std::int32_t* count, std::int32_t)
{
    *count = Result(length);
    return Result(kRawSuccess);
}

std::int32_t TMReadFile(char*, std::int32_t, std::uint8_t* reply, std::int32_t length, std::int32_t* count,
                        std::int32_t)
{
    std::lock_guard lock(fuzz::Current().mutex);
    Fill(reply, Data().ConsumeIntegralInRange<std::size_t>(0, static_cast<std::size_t>(std::max(length, 0))));
    *count = Result(length);
    return Result(kRawSuccess);
}

std::int32_t TRSendFile(const std::uint8_t* header, const std::uint8_t* data, std::int32_t* length,
                        std::uint8_t* status, std::int32_t, TransferProgressProc progress)
{
    // The library reads the whole header and data.
    g_sum = std::accumulate(header, header + sim::firmware_image::HEADER_SIZE,
                            std::accumulate(data, data + std::max(*length, 0), std::uint8_t{0}));
    std::vector<std::int32_t> reports;
    {
        std::lock_guard lock(fuzz::Current().mutex);
        reports.resize(Data().ConsumeIntegralInRange<std::size_t>(0, 8));
        for (auto& percent : reports) {
            percent =
                Data().ConsumeBool() ? Data().ConsumeIntegralInRange(0, 100) : Data().ConsumeIntegral<std::int32_t>();
        }
    }
    for (const auto percent : reports) {
        if (progress(percent) == 0) {
            return TRANSFER_CANCELLED;
        }
    }
    return FillStatus(status);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    namespace h = platform::headless;
    FuzzedDataProvider data(bytes, size);
    fuzz::NewMachine(data);
    fuzz::UseWorkFolder();
    const auto printerId = data.ConsumeIntegral<std::uint16_t>();
    fuzz::WriteDataFile(sim::firmware_image::MakeFirmwareFile(printerId, "5.10", 300, 300));
#define EXPORT_ENTRY(name) {#name, h::ExportAddress<name##Proc>(&name)},
    h::RegisterLibrary(RAW_IO_LIBRARY_NAME, {TMFILO_EXPORTS(EXPORT_ENTRY)});
    h::RegisterLibrary(TRANSFER_LIBRARY_NAME, {TRDRV_EXPORTS(EXPORT_ENTRY)});
    fuzz::RunUpdate(printerId);
    return 0;
}
