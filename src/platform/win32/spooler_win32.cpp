#include "platform/spooler.h"

#include <windows.h>
#include <winspool.h>

#include <new>
#include <utility>

namespace platform {
namespace {

static_assert(PRINTER_ATTR_DEFAULT == PRINTER_ATTRIBUTE_DEFAULT);
static_assert(PRINTER_ATTR_HIDDEN == PRINTER_ATTRIBUTE_HIDDEN);

constexpr DWORD kInfoLevel = 2;

std::string Text(const char* text)
{
    return text == nullptr ? std::string() : std::string(text);
}

PrinterInfo2 Copy(const PRINTER_INFO_2A& record)
{
    PrinterInfo2 info;
    info.serverName = Text(record.pServerName);
    info.printerName = Text(record.pPrinterName);
    info.shareName = Text(record.pShareName);
    info.portName = Text(record.pPortName);
    info.driverName = Text(record.pDriverName);
    info.comment = Text(record.pComment);
    info.location = Text(record.pLocation);
    info.attributes = record.Attributes;
    info.status = record.Status;
    info.jobs = record.cJobs;
    return info;
}

// A buffer of the size the spooler asked for; empty when it cannot be had.
std::vector<BYTE> Buffer(DWORD size)
{
    try {
        return std::vector<BYTE>(size);
    } catch (const std::bad_alloc&) {
        return {};
    }
}

}  // namespace

std::optional<std::vector<PrinterInfo2>> EnumLocalPrinters()
{
    constexpr DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_NAME;
    DWORD needed = 0;
    DWORD returned = 0;
    if (::EnumPrintersA(flags, nullptr, kInfoLevel, nullptr, 0, &needed, &returned)) {
        return std::vector<PrinterInfo2>();  // nothing installed
    }
    auto buffer = Buffer(needed);
    if (needed == 0 || buffer.empty()) {
        return std::nullopt;
    }
    if (!::EnumPrintersA(flags, nullptr, kInfoLevel, buffer.data(), needed, &needed, &returned) ||
        returned > needed / sizeof(PRINTER_INFO_2A)) {
        return std::nullopt;
    }
    const auto* records = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
    std::vector<PrinterInfo2> printers;
    printers.reserve(returned);
    for (DWORD i = 0; i < returned; ++i) {
        printers.push_back(Copy(records[i]));
    }
    return printers;
}

Printer Printer::Open(const std::string& name)
{
    HANDLE handle = nullptr;
    if (!::OpenPrinterA(const_cast<char*>(name.c_str()), &handle, nullptr)) {
        return Printer();
    }
    return Printer(handle);
}

void Printer::ReleaseHandle(void* handle)
{
    ::ClosePrinter(static_cast<HANDLE>(handle));
}

std::optional<PrinterInfo2> Printer::GetInfo2() const
{
    if (!m_handle) {
        return std::nullopt;
    }
    DWORD needed = 0;
    ::GetPrinterA(static_cast<HANDLE>(m_handle.Get()), kInfoLevel, nullptr, 0, &needed);
    auto buffer = Buffer(needed);
    if (needed < sizeof(PRINTER_INFO_2A) || buffer.empty() ||
        !::GetPrinterA(static_cast<HANDLE>(m_handle.Get()), kInfoLevel, buffer.data(), needed, &needed)) {
        return std::nullopt;
    }
    return Copy(*reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data()));
}

}  // namespace platform
