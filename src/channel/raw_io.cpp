#include "channel/raw_io.h"

#include <algorithm>
#include <array>

#include "channel/printer_commands.h"
#include "platform/code_page.h"
#include "platform/max_path.h"

platform::Library g_hRawIoLib;
TMFILO_EXPORTS(DRIVER_EXPORT_DEFINE_POINTER)

namespace {

// The library names the printer by a writable, zero-terminated buffer with
// room for at least 256 characters.
using PrinterBuffer = std::array<char, platform::MAX_PATH_CHARS>;

PrinterBuffer MakePrinterBuffer(std::string_view printer)
{
    PrinterBuffer buffer{};
    platform::CopyText(buffer, printer);
    return buffer;
}

}  // namespace

bool BindRawIoLibrary()
{
    g_hRawIoLib = platform::Library::Load(RAW_IO_LIBRARY_NAME);
    if (!g_hRawIoLib) {
        return false;
    }
    // In order, stopping at the first export missing.
#define BIND_EXPORT(name) &&g_hRawIoLib.Bind(g_pfn##name, #name)
    return true TMFILO_EXPORTS(BIND_EXPORT);
#undef BIND_EXPORT
}

void UnbindRawIoLibrary()
{
    g_hRawIoLib.Free();
    TMFILO_EXPORTS(DRIVER_EXPORT_RESET_POINTER)
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
