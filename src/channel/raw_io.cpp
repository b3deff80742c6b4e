#include "channel/raw_io.h"

#include <algorithm>
#include <array>

#include "channel/printer_commands.h"

platform::Library g_hRawIoLib;
TMWriteFileProc g_pfnTMWriteFile = nullptr;
TMReadFileProc g_pfnTMReadFile = nullptr;

namespace {

// The library names the printer by a writable, zero-terminated buffer with
// room for at least 256 characters.
constexpr std::size_t kPrinterBufferSize = 260;
using PrinterBuffer = std::array<char, kPrinterBufferSize>;

PrinterBuffer MakePrinterBuffer(std::string_view printer)
{
    PrinterBuffer buffer{};
    const auto length = std::min(printer.size(), buffer.size() - 1);
    std::copy_n(printer.begin(), length, buffer.begin());
    return buffer;
}

}  // namespace

bool BindRawIoLibrary()
{
    g_hRawIoLib = platform::Library::Load(RAW_IO_LIBRARY_NAME);
    if (!g_hRawIoLib) {
        return false;
    }
    g_pfnTMWriteFile = g_hRawIoLib.Resolve<TMWriteFileProc>("TMWriteFile");
    if (g_pfnTMWriteFile == nullptr) {
        return false;
    }
    g_pfnTMReadFile = g_hRawIoLib.Resolve<TMReadFileProc>("TMReadFile");
    return g_pfnTMReadFile != nullptr;
}

void UnbindRawIoLibrary()
{
    g_hRawIoLib.Free();
    g_pfnTMWriteFile = nullptr;
    g_pfnTMReadFile = nullptr;
}

void ResetChannelState()
{
    UnbindRawIoLibrary();
}

bool RawWrite(std::string_view printer, std::span<const std::uint8_t> bytes)
{
    if (g_pfnTMWriteFile == nullptr) {
        return false;
    }
    auto name = MakePrinterBuffer(printer);
    // The library takes a writable buffer; it gets a copy of the bytes.
    std::array<std::uint8_t, 64> data{};
    if (bytes.size() > data.size()) {
        return false;
    }
    std::ranges::copy(bytes, data.begin());
    std::int32_t count = 0;
    return g_pfnTMWriteFile(name.data(), 0, data.data(), static_cast<std::int32_t>(bytes.size()), &count,
                            printer_commands::WRITE_TIMEOUT_MS) != 0;
}

bool RawRead(std::string_view printer, std::span<std::uint8_t> reply, std::size_t readLength)
{
    std::ranges::fill(reply, std::uint8_t{0});
    if (g_pfnTMReadFile == nullptr || readLength > reply.size()) {
        return false;
    }
    auto name = MakePrinterBuffer(printer);
    std::int32_t count = 0;
    return g_pfnTMReadFile(name.data(), 0, reply.data(), static_cast<std::int32_t>(readLength), &count,
                           printer_commands::READ_TIMEOUT_MS) != 0;
}
