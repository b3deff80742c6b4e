#include <windows.h>

#include <winspool.h>
#include <cstddef>
#include <utility>

// windows.h names the character-set variants through macros of these names;
// the layer's own functions carry them too.
#undef DocumentProperties
#undef DeviceCapabilities

#include "platform/devmode_layout.h"
#include "platform/printer_driver.h"
#include "platform/printing_constants.h"

// The device-mode offsets the description reads must be the platform's own.
static_assert(offsetof(DEVMODEA, dmSize) == devmode_layout::dmSize);
static_assert(offsetof(DEVMODEA, dmDriverExtra) == devmode_layout::dmDriverExtra);
static_assert(offsetof(DEVMODEA, dmFields) == devmode_layout::dmFields);
static_assert(offsetof(DEVMODEA, dmOrientation) == devmode_layout::dmOrientation);
static_assert(offsetof(DEVMODEA, dmPaperSize) == devmode_layout::dmPaperSize);
static_assert(offsetof(DEVMODEA, dmPaperLength) == devmode_layout::dmPaperLength);
static_assert(offsetof(DEVMODEA, dmPaperWidth) == devmode_layout::dmPaperWidth);
static_assert(offsetof(DEVMODEA, dmScale) == devmode_layout::dmScale);
static_assert(offsetof(DEVMODEA, dmPrintQuality) == devmode_layout::dmPrintQuality);
static_assert(offsetof(DEVMODEA, dmColor) == devmode_layout::dmColor);
static_assert(offsetof(DEVMODEA, dmYResolution) == devmode_layout::dmYResolution);
static_assert(sizeof(DEVMODEA) == devmode_layout::PUBLIC_SIZE);

// So must the printing constants it uses.
static_assert(printing::FIELD_ORIENTATION == DM_ORIENTATION && printing::FIELD_PAPER_SIZE == DM_PAPERSIZE);
static_assert(printing::FIELD_PAPER_LENGTH == DM_PAPERLENGTH && printing::FIELD_PAPER_WIDTH == DM_PAPERWIDTH);
static_assert(printing::FIELD_SCALE == DM_SCALE && printing::FIELD_COPIES == DM_COPIES);
static_assert(printing::FIELD_PRINT_QUALITY == DM_PRINTQUALITY && printing::FIELD_COLOR == DM_COLOR);
static_assert(printing::FIELD_Y_RESOLUTION == DM_YRESOLUTION);
static_assert(printing::PROPERTIES_OUT_BUFFER == DM_OUT_BUFFER && printing::PROPERTIES_IN_BUFFER == DM_IN_BUFFER);
static_assert(printing::PRINT_QUALITY_DRAFT == DMRES_DRAFT && printing::PRINT_QUALITY_LOW == DMRES_LOW);
static_assert(printing::PRINT_QUALITY_MEDIUM == DMRES_MEDIUM && printing::PRINT_QUALITY_HIGH == DMRES_HIGH);
static_assert(printing::ORIENTATION_PORTRAIT == DMORIENT_PORTRAIT && printing::COLOR_MODE_COLOR == DMCOLOR_COLOR);
static_assert(printing::PAPER_USER_DEFINED == DMPAPER_USER);
static_assert(printing::CAPS_FIELDS == DC_FIELDS && printing::CAPS_PAPERS == DC_PAPERS);
static_assert(printing::CAPS_PAPER_SIZES == DC_PAPERSIZE && printing::CAPS_MIN_EXTENT == DC_MINEXTENT);
static_assert(printing::CAPS_MAX_EXTENT == DC_MAXEXTENT && printing::CAPS_RESOLUTIONS == DC_ENUMRESOLUTIONS);
static_assert(printing::CAPS_PAPER_NAMES == DC_PAPERNAMES && printing::CAPS_ORIENTATION == DC_ORIENTATION);
static_assert(printing::CAPS_COPIES == DC_COPIES);
static_assert(printing::PAPER_SIZE_ENTRY == sizeof(POINT));
static_assert(printing::PAPER_CODE_ENTRY == sizeof(WORD) && printing::RESOLUTION_ENTRY == 2 * sizeof(LONG));
static_assert(printing::ESCAPE_QUERY_SUPPORT == QUERYESCSUPPORT);
static_assert(printing::ESCAPE_PHYSICAL_PAGE_SIZE == GETPHYSPAGESIZE);
static_assert(printing::ESCAPE_PRINTING_OFFSET == GETPRINTINGOFFSET);

namespace platform {
namespace {

const DEVMODEA* AsDevMode(std::span<const std::uint8_t> bytes)
{
    return bytes.empty() ? nullptr : reinterpret_cast<const DEVMODEA*>(bytes.data());
}

}  // namespace

std::int32_t DocumentProperties(const std::string& printer, std::span<std::uint8_t> output,
                                std::span<const std::uint8_t> input, std::uint32_t mode)
{
    HANDLE handle = nullptr;
    std::string name = printer;
    if (!::OpenPrinterA(name.data(), &handle, nullptr)) {
        return -1;
    }
    const LONG result = ::DocumentPropertiesA(nullptr, handle, name.data(),
                                              output.empty() ? nullptr : reinterpret_cast<DEVMODEA*>(output.data()),
                                              const_cast<DEVMODEA*>(AsDevMode(input)), mode);
    ::ClosePrinter(handle);
    return result;
}

std::int32_t DeviceCapabilities(const std::string& device, const std::string& port, std::uint16_t index,
                                std::span<std::uint8_t> output, std::span<const std::uint8_t> devMode)
{
    return ::DeviceCapabilitiesA(device.c_str(), port.c_str(), index,
                                 output.empty() ? nullptr : reinterpret_cast<LPSTR>(output.data()), AsDevMode(devMode));
}

void InformationContext::ReleaseHandle(void* handle)
{
    ::DeleteDC(static_cast<HDC>(handle));
}

InformationContext InformationContext::Create(const std::string& driver, const std::string& device,
                                              const std::string& port, std::span<const std::uint8_t> devMode)
{
    InformationContext context;
    context.m_handle.Reset(::CreateICA(driver.c_str(), device.c_str(), port.c_str(), AsDevMode(devMode)));
    return context;
}

int InformationContext::QueryEscapeSupport(int escape) const
{
    const auto code = static_cast<WORD>(escape);
    return ::Escape(static_cast<HDC>(m_handle.Get()), QUERYESCSUPPORT, sizeof(code), reinterpret_cast<LPCSTR>(&code),
                    nullptr);
}

int InformationContext::PointEscape(int escape, PointAnswer& answer) const
{
    POINT point{};
    const int result = ::Escape(static_cast<HDC>(m_handle.Get()), escape, 0, nullptr, &point);
    answer = {point.x, point.y};
    return result;
}

}  // namespace platform
