// The device part of the printer description: the device mode, resolutions,
// unit conversion and the record's names.

#include <algorithm>
#include <cmath>
#include <limits>

#include "description/printer_description.h"
#include "platform/code_page.h"
#include "platform/devmode_layout.h"
#include "platform/printing_constants.h"

namespace {

constexpr double kInchesPerTenthMm = 0.003937007874015748;  // 1 / 254

}  // namespace

std::uint32_t DevModeView::Fields() const
{
    return byte_fields::TryGet<std::uint32_t>(m_bytes, devmode_layout::dmFields).value_or(0);
}

void DevModeView::SetFields(std::uint32_t fields)
{
    byte_fields::TryPut<std::uint32_t>(m_bytes, devmode_layout::dmFields, fields);
}

std::int16_t DevModeView::Short(std::size_t offset) const
{
    return byte_fields::TryGet<std::int16_t>(m_bytes, offset).value_or(0);
}

void DevModeView::SetShort(std::size_t offset, std::int16_t value)
{
    byte_fields::TryPut<std::int16_t>(m_bytes, offset, value);
}

std::span<std::uint8_t> DevModeView::PrivateBlock() const
{
    const auto size = byte_fields::TryGet<std::uint16_t>(m_bytes, devmode_layout::dmSize);
    const auto extra = byte_fields::TryGet<std::uint16_t>(m_bytes, devmode_layout::dmDriverExtra);
    if (!size || !extra || *size > m_bytes.size()) {
        return {};
    }
    return m_bytes.subspan(*size, std::min<std::size_t>(*extra, m_bytes.size() - *size));
}

PrinterDevice::~PrinterDevice()
{
    ReleaseDevice();
}

void PrinterDevice::ReleaseDevice()
{
    m_aResolutions.clear();
    m_aResolutions.shrink_to_fit();
    m_pDevMode.Free();
    m_dwDeviceFlags &= ~DEVICE_FLAG_DEVMODE_OWNED;
}

std::int32_t PrinterDevice::DotsFromTenthMm(std::int16_t tenthMm) const
{
    const double dots = static_cast<double>(m_nResX) * tenthMm * kInchesPerTenthMm + 0.5;
    // A resolution from the driver may be anything; the result stays a number
    // of dots that fits.
    if (!(dots > std::numeric_limits<std::int32_t>::min() && dots < std::numeric_limits<std::int32_t>::max())) {
        return dots > 0 ? std::numeric_limits<std::int32_t>::max() : std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(dots);
}

bool PrinterDevice::GetDisplayName(std::span<char> buffer) const
{
    if (!(m_dwDeviceFlags & DEVICE_FLAG_DEVMODE_OWNED) || buffer.empty()) {
        return false;
    }
    const auto* end = std::find(m_szDisplayName.begin(), m_szDisplayName.end(), '\0');
    platform::CopyText(buffer.first(std::min(buffer.size(), platform::MAX_PATH_CHARS)),
                       std::string_view(m_szDisplayName.begin(), end));
    return true;
}

void SortResolutions(std::vector<Resolution>& resolutions)
{
    // Products of resolutions a driver reports are small; wider arithmetic
    // keeps a wild answer from overflowing.
    auto product = [](const Resolution& r) { return std::int64_t{r.x} * r.y; };
    bool exchanged = true;
    while (exchanged) {
        exchanged = false;
        for (std::size_t i = 1; i < resolutions.size(); ++i) {
            if (product(resolutions[i - 1]) > product(resolutions[i])) {
                std::swap(resolutions[i - 1], resolutions[i]);
                exchanged = true;
            }
        }
    }
}

Resolution ChooseResolutionByQuality(const std::vector<Resolution>& resolutions, std::int16_t printQuality)
{
    using namespace printing;
    const auto count = resolutions.size();
    if (count < 2) {
        return count == 1 ? resolutions.front() : Resolution{};
    }
    switch (printQuality) {
        case PRINT_QUALITY_HIGH:
            return resolutions.back();
        case PRINT_QUALITY_DRAFT:
            return resolutions.front();
        case PRINT_QUALITY_MEDIUM:
            return count >= 4 ? resolutions[1] : count == 3 ? Resolution{} : resolutions.front();
        case PRINT_QUALITY_LOW:
            return count >= 4 ? resolutions[2] : count == 3 ? Resolution{} : resolutions.front();
        default:
            return {};
    }
}

PrinterDescription::~PrinterDescription()
{
    ReleaseDescription();
}

void PrinterDescription::ReleaseDescription()
{
    if (m_dwDescFlags & DESC_FLAG_TABLES_OWNED) {
        m_aMedia.clear();
        m_aUserMedia.clear();
        m_aFeedMargins.clear();
        m_aFeedMargins.shrink_to_fit();
        m_dwDescFlags &= ~DESC_FLAG_TABLES_OWNED;
    }
    ReleaseDevice();
}

std::optional<std::uint32_t> PrinterDescription::GetModelId() const
{
    if (!(m_dwDescFlags & DESC_FLAG_TABLES_OWNED)) {
        return std::nullopt;
    }
    return m_dwModelId;
}
