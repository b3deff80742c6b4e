#pragma once
// The print spooler: the local printers with their level-2 records, and an
// open printer (one owner; closing happens on destruction) whose level-2
// record can be read. The printer's driver (document properties, device
// capabilities, information contexts) is reached through the open printer
// as well, once the printer description needs it.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/unique_handle.h"

namespace platform {

// Attribute bits of a printer (the platform's PRINTER_ATTRIBUTE_DEFAULT and
// PRINTER_ATTRIBUTE_HIDDEN).
inline constexpr std::uint32_t PRINTER_ATTR_DEFAULT = 0x00000004;
inline constexpr std::uint32_t PRINTER_ATTR_HIDDEN = 0x00000020;

// A printer's level-2 record (PRINTER_INFO_2), its texts copied; a text the
// spooler leaves absent is empty.
struct PrinterInfo2 {
    std::string serverName;
    std::string printerName;
    std::string shareName;
    std::string portName;
    std::string driverName;
    std::string comment;
    std::string location;
    std::uint32_t attributes = 0;
    std::uint32_t status = 0;
    std::uint32_t jobs = 0;
};

// The local printers at level 2 (EnumPrintersA with PRINTER_ENUM_LOCAL |
// PRINTER_ENUM_NAME, no name), in the spooler's order: one call learns the
// size, a second fills a buffer of that size. Empty when the buffer cannot be
// had or the second call fails (for instance because a printer was installed
// in between); an empty list when there are no printers.
std::optional<std::vector<PrinterInfo2>> EnumLocalPrinters();

class Printer {
public:
    Printer() = default;

    // OpenPrinterA with default access. Empty when the printer is unknown.
    static Printer Open(const std::string& name);

    bool IsOpen() const { return static_cast<bool>(m_handle); }
    explicit operator bool() const { return IsOpen(); }
    void Close() { m_handle.Reset(); }

    // GetPrinterA at level 2: one call learns the size, a second fills a
    // buffer of that size. Empty when either fails.
    std::optional<PrinterInfo2> GetInfo2() const;

private:
    explicit Printer(void* handle) : m_handle(handle) {}
    static void ReleaseHandle(void* handle);
    UniqueHandle<void*, &Printer::ReleaseHandle> m_handle;
};

}  // namespace platform
