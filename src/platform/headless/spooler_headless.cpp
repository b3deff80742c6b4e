#include <algorithm>
#include <list>
#include <mutex>
#include <utility>

#include "platform/headless/letter_case.h"
#include "platform/headless/spooler_table.h"
#include "platform/spooler.h"

namespace platform::headless {
namespace {

struct SpoolerState {
    std::mutex mutex;
    std::vector<SpoolerPrinter> printers;
    std::vector<std::string> openRequests;
    // Printers handed out by Printer::Open; a handle is the address of its
    // element, which holds the record as it was when the printer was opened.
    std::list<SpoolerPrinter> open;
};

SpoolerState& State()
{
    static SpoolerState state;
    return state;
}

}  // namespace

SpoolerPrinter MakeSpoolerPrinter(std::string name, std::string driverName, std::uint32_t attributes, std::string port)
{
    SpoolerPrinter printer;
    printer.info.printerName = std::move(name);
    printer.info.driverName = std::move(driverName);
    printer.info.portName = std::move(port);
    printer.info.attributes = attributes;
    return printer;
}

void InstallPrinter(SpoolerPrinter printer)
{
    std::lock_guard lock(State().mutex);
    State().printers.push_back(std::move(printer));
}

bool UninstallPrinter(const std::string& name)
{
    std::lock_guard lock(State().mutex);
    return std::erase_if(State().printers, [&](const SpoolerPrinter& printer) {
               return SameIgnoringCase(printer.info.printerName, name);
           }) != 0;
}

std::vector<std::string> PrinterOpenRequests()
{
    std::lock_guard lock(State().mutex);
    return State().openRequests;
}

int OpenPrinterCount()
{
    std::lock_guard lock(State().mutex);
    return static_cast<int>(State().open.size());
}

void ResetSpooler()
{
    std::lock_guard lock(State().mutex);
    State().printers.clear();
    State().openRequests.clear();
}

}  // namespace platform::headless

namespace platform {

using headless::SpoolerPrinter;

std::optional<std::vector<PrinterInfo2>> EnumLocalPrinters()
{
    std::lock_guard lock(headless::State().mutex);
    std::vector<PrinterInfo2> records;
    for (const auto& printer : headless::State().printers) {
        records.push_back(printer.info);
    }
    return records;
}

Printer Printer::Open(const std::string& name)
{
    auto& state = headless::State();
    std::lock_guard lock(state.mutex);
    state.openRequests.push_back(name);
    const auto found = std::ranges::find_if(state.printers, [&](const SpoolerPrinter& printer) {
        return headless::SameIgnoringCase(printer.info.printerName, name);
    });
    if (found == state.printers.end()) {
        return Printer();
    }
    return Printer(&state.open.emplace_back(*found));
}

void Printer::ReleaseHandle(void* handle)
{
    auto& state = headless::State();
    std::lock_guard lock(state.mutex);
    state.open.remove_if([handle](const SpoolerPrinter& printer) { return &printer == handle; });
}

std::optional<PrinterInfo2> Printer::GetInfo2() const
{
    if (!m_handle) {
        return std::nullopt;
    }
    std::lock_guard lock(headless::State().mutex);
    return static_cast<const SpoolerPrinter*>(m_handle.Get())->info;
}

}  // namespace platform
