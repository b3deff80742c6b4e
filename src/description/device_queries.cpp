// What the device part of the description asks the platform's driver: the
// device mode, the standard capabilities and the resolution it settles on.

#include <algorithm>

#include "description/driver_lists.h"
#include "description/printer_description.h"
#include "platform/devmode_layout.h"
#include "platform/printer_driver.h"
#include "platform/printing_constants.h"

namespace {

constexpr std::int32_t kMinExtentUnknown = 0x7FFF7FFF;

std::string Text(const NameBuffer& buffer)
{
    return std::string(buffer.data());
}

// An extent answer: width in the low word, length in the high word; 0, 0
// when the driver has no usable answer.
void SplitExtent(std::int32_t answer, std::int32_t& x, std::int32_t& y)
{
    const auto value = static_cast<std::uint32_t>(answer);
    const auto low = value & 0xFFFF;
    const auto high = value >> 16;
    if (answer == driver_lists::NO_ANSWER || (low == 0 && high != 0)) {
        x = 0;
        y = 0;
        return;
    }
    x = static_cast<std::int32_t>(low);
    y = static_cast<std::int32_t>(high);
}

bool IsNamedQuality(std::int16_t quality)
{
    return quality >= printing::PRINT_QUALITY_HIGH && quality <= printing::PRINT_QUALITY_DRAFT;
}

}  // namespace

bool PrinterDevice::ReadDefaultDevMode()
{
    return platform::DocumentProperties(Text(m_szPrinter), m_pDevMode.bytes(), {}, printing::PROPERTIES_OUT_BUFFER) > 0;
}

bool PrinterDevice::ApplyDevMode(std::span<const std::uint8_t> input)
{
    return platform::DocumentProperties(Text(m_szPrinter), m_pDevMode.bytes(), input,
                                        printing::PROPERTIES_IN_BUFFER | printing::PROPERTIES_OUT_BUFFER) > 0;
}

std::int32_t PrinterDevice::DeviceCaps(std::uint16_t index, std::span<std::uint8_t> output) const
{
    return platform::DeviceCapabilities(Text(m_szPrinter), Text(m_szPort), index, output, m_pDevMode.bytes());
}

bool PrinterDevice::QueryStandardCapabilities()
{
    using namespace printing;
    namespace dm = devmode_layout;

    const auto fields = DeviceCaps(CAPS_FIELDS, {});
    if (fields == driver_lists::NO_ANSWER) {
        return false;
    }
    m_dwDmFields = static_cast<std::uint32_t>(fields);

    const auto list = driver_lists::Fetch(
        [&](std::span<std::uint8_t> buffer) { return DeviceCaps(CAPS_RESOLUTIONS, buffer); }, RESOLUTION_ENTRY);
    if (list) {
        m_aResolutions.resize(list->count);
        for (std::size_t i = 0; i < list->count; ++i) {
            const auto entry = list->Entry(i);
            m_aResolutions[i] = {byte_fields::Get<std::int32_t>(entry, 0), byte_fields::Get<std::int32_t>(entry, 4)};
        }
        SortResolutions(m_aResolutions);
    }

    const auto devMode = DevMode();
    const auto devFields = devMode.Fields();
    const auto quality = devMode.Short(dm::dmPrintQuality);
    const auto yResolution = devMode.Short(dm::dmYResolution);
    if (m_aResolutions.size() == 1) {
        m_nResX = m_aResolutions.front().x;
        m_nResY = m_aResolutions.front().y;
    } else if (m_aResolutions.size() > 1) {
        if ((devFields & FIELD_PRINT_QUALITY) && IsNamedQuality(quality)) {
            const auto chosen = ChooseResolutionByQuality(m_aResolutions, quality);
            m_nResX = chosen.x;
            m_nResY = chosen.y;
        } else if (devFields & FIELD_Y_RESOLUTION) {
            m_nResX = quality;
            m_nResY = yResolution;
        } else if (devFields & FIELD_PRINT_QUALITY) {
            m_nResX = m_nResY = quality;
        }
    } else if (devFields & FIELD_Y_RESOLUTION) {
        m_nResX = quality;
        m_nResY = yResolution;
    } else if ((devFields & FIELD_PRINT_QUALITY) && quality > 0) {
        m_nResX = m_nResY = quality;
    }

    SplitExtent(DeviceCaps(CAPS_MAX_EXTENT, {}), m_nMaxExtentX, m_nMaxExtentY);
    const auto minExtent = DeviceCaps(CAPS_MIN_EXTENT, {});
    SplitExtent(minExtent == kMinExtentUnknown ? driver_lists::NO_ANSWER : minExtent, m_nMinExtentX, m_nMinExtentY);

    const auto orientation = DeviceCaps(CAPS_ORIENTATION, {});
    if (orientation != driver_lists::NO_ANSWER && orientation != 0) {
        m_nOrientationAngle = static_cast<std::int16_t>(orientation);
    }
    const auto copies = DeviceCaps(CAPS_COPIES, {});
    if (copies != driver_lists::NO_ANSWER && copies != 0) {
        m_nMaxCopies = copies;
    }
    return true;
}
