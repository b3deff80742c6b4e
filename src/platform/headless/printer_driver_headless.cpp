#include <algorithm>
#include <cstring>
#include <map>
#include <utility>

#include "platform/devmode_layout.h"
#include "platform/headless/printer_driver_script.h"
#include "platform/printer_driver.h"
#include "platform/printing_constants.h"

namespace platform::headless {
namespace {

std::map<std::string, PrinterDriverScript>& Drivers()
{
    static std::map<std::string, PrinterDriverScript> drivers;
    return drivers;
}

struct HeadlessContext {
    PrinterDriverScript* driver;
    std::int16_t paperSize;
};

}  // namespace

void SetPrinterDriver(const std::string& printer, PrinterDriverScript script)
{
    Drivers()[printer] = std::move(script);
}

PrinterDriverScript* FindPrinterDriver(const std::string& printer)
{
    const auto found = Drivers().find(printer);
    return found == Drivers().end() ? nullptr : &found->second;
}

void ResetPrinterDrivers()
{
    Drivers().clear();
}

}  // namespace platform::headless

namespace platform {

using headless::FindPrinterDriver;

std::int32_t DocumentProperties(const std::string& printer, std::span<std::uint8_t> output,
                                std::span<const std::uint8_t> input, std::uint32_t mode)
{
    auto* driver = FindPrinterDriver(printer);
    if (driver == nullptr) {
        return -1;
    }
    ++driver->documentPropertiesCalls;
    if (mode == 0) {
        return static_cast<std::int32_t>(driver->devMode.size());
    }
    if ((mode & printing::PROPERTIES_IN_BUFFER) && !input.empty()) {
        driver->devModesHandedIn.emplace_back(input.begin(), input.end());
        if (driver->acceptInput) {
            std::copy_n(input.begin(), std::min(input.size(), driver->devMode.size()), driver->devMode.begin());
        }
    }
    if ((mode & printing::PROPERTIES_OUT_BUFFER) && output.data() != nullptr && !driver->devMode.empty()) {
        // A real driver writes its whole device mode, whatever the caller's
        // buffer holds: the caller must have asked for its size first.
        std::memcpy(output.data(), driver->devMode.data(), driver->devMode.size());
    }
    return 1;
}

std::int32_t DeviceCapabilities(const std::string& device, const std::string& /*port*/, std::uint16_t index,
                                std::span<std::uint8_t> output, std::span<const std::uint8_t> /*devMode*/)
{
    auto* driver = FindPrinterDriver(device);
    if (driver == nullptr) {
        return -1;
    }
    const auto found = driver->capabilities.find(index);
    if (found == driver->capabilities.end()) {
        return -1;
    }
    if (output.data() != nullptr && !found->second.output.empty()) {
        // The whole answer, as a real driver writes it: the caller's buffer
        // must suit the count it asked for first.
        std::memcpy(output.data(), found->second.output.data(), found->second.output.size());
    }
    return found->second.result;
}

namespace {

// Open contexts; a context's handle is the address of its element.
std::map<const void*, headless::HeadlessContext>& Contexts()
{
    static std::map<const void*, headless::HeadlessContext> contexts;
    return contexts;
}

int g_nextContext = 0;

}  // namespace

void InformationContext::ReleaseHandle(void* handle)
{
    const auto found = Contexts().find(handle);
    if (found != Contexts().end()) {
        --found->second.driver->openInformationContexts;
        Contexts().erase(found);
    }
}

InformationContext InformationContext::Create(const std::string& /*driver*/, const std::string& device,
                                              const std::string& /*port*/, std::span<const std::uint8_t> devMode)
{
    InformationContext context;
    auto* driver = FindPrinterDriver(device);
    if (driver == nullptr || driver->informationContextFails) {
        return context;
    }
    ++driver->informationContexts;
    ++driver->openInformationContexts;
    // dmPaperSize counts only when dmFields marks it set (DM_PAPERSIZE), as
    // DEVMODE's documentation has it for every member.
    const auto paper = devMode.size() >= devmode_layout::dmPaperSize + 2 &&
                               (devMode[devmode_layout::dmFields] & printing::FIELD_PAPER_SIZE) != 0
                           ? static_cast<std::int16_t>(devMode[devmode_layout::dmPaperSize] |
                                                       (devMode[devmode_layout::dmPaperSize + 1] << 8))
                           : std::int16_t{0};
    // Any unique address serves as the handle.
    context.m_handle.Reset(reinterpret_cast<void*>(static_cast<std::uintptr_t>(++g_nextContext)));
    Contexts()[context.m_handle.Get()] = {driver, paper};
    return context;
}

int InformationContext::QueryEscapeSupport(int escape) const
{
    const auto found = Contexts().find(m_handle.Get());
    if (found == Contexts().end() || !found->second.driver->escapesSupported) {
        return 0;
    }
    return escape == printing::ESCAPE_PHYSICAL_PAGE_SIZE || escape == printing::ESCAPE_PRINTING_OFFSET ? 1 : 0;
}

int InformationContext::PointEscape(int escape, PointAnswer& answer) const
{
    const auto found = Contexts().find(m_handle.Get());
    if (found == Contexts().end()) {
        return 0;
    }
    const auto& table = escape == printing::ESCAPE_PHYSICAL_PAGE_SIZE ? found->second.driver->physicalSize
                                                                      : found->second.driver->printingOffset;
    const auto entry = table.find(found->second.paperSize);
    if (entry == table.end()) {
        return 0;
    }
    answer = {entry->second.x, entry->second.y};
    return entry->second.result;
}

}  // namespace platform
