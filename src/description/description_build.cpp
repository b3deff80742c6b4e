// The steps of building a description that work on what has already been
// read: the standard features, the filters of a paper list, the fallback
// resolution and the extents in dots.

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/devmode_layout.h"
#include "description/driver_flags.h"
#include "description/printer_description.h"
#include "platform/printing_constants.h"

namespace {

constexpr double kInchesPerTenthMm = 0.003937007874015748;   // 1 / 254
constexpr double kDotsPer1150MmPerDpi = 45.275590551181104;  // 1150 / 25.4
constexpr std::uint16_t kPaperCodeUserDefined = 256;         // DMPAPER_USER
constexpr std::uint16_t kPaperCodeUserDefinedToo = 262;
constexpr std::uint16_t kFirstDriverPaperCode = 256;

// Truncates toward zero, keeping values a driver's wild answer produced
// within range.
std::int32_t Truncate(double value)
{
    if (!(value > std::numeric_limits<std::int32_t>::min() && value < std::numeric_limits<std::int32_t>::max())) {
        return value > 0 ? std::numeric_limits<std::int32_t>::max() : std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(value);
}

std::int32_t TenthMmToDots(std::int32_t tenthMm, std::int32_t dpi)
{
    return Truncate(static_cast<double>(tenthMm) * dpi * kInchesPerTenthMm);
}

}  // namespace

void PrinterDescription::SetStandardFeatures()
{
    using namespace driver_flags;
    m_dwFeatures = FEATURES_FALLBACK;
    m_wTableFlags = TABLE_FLAGS_FALLBACK;
    if (m_dwDmFields & printing::DM_COLOR) {
        m_dwColors = FALLBACK_COLORS_COLOR;
        m_dwOptionMask |= OPTION_COLOR;
    } else {
        m_dwColors = FALLBACK_COLORS_MONO;
    }
}

void PrinterDescription::DropUserPaperSizes()
{
    if (m_dwModelId != 0) {
        return;
    }
    std::erase_if(m_aMedia, [](const MediaEntry& entry) {
        return entry.Id() == kPaperCodeUserDefined || entry.Id() == kPaperCodeUserDefinedToo;
    });
    if (m_aMedia.empty()) {
        m_aMedia.shrink_to_fit();
        return;
    }
    auto devMode = DevMode();
    if (devMode.Short(devmode_layout::dmPaperSize) == printing::DMPAPER_USER) {
        devMode.SetShort(devmode_layout::dmPaperSize, static_cast<std::int16_t>(m_aMedia.front().Id()));
    }
}

void PrinterDescription::KeepDriverPaperSizes()
{
    if (m_dwModelId == 0) {
        return;
    }
    std::erase_if(m_aMedia, [](const MediaEntry& entry) { return entry.Id() < kFirstDriverPaperCode; });
    if (m_aMedia.empty()) {
        m_aMedia.shrink_to_fit();
        return;
    }
    auto devMode = DevMode();
    if (devMode.Short(devmode_layout::dmPaperSize) < static_cast<std::int16_t>(kFirstDriverPaperCode)) {
        devMode.SetShort(devmode_layout::dmPaperSize, static_cast<std::int16_t>(m_aMedia.front().Id()));
    }
}

void PrinterDescription::ChooseFallbackResolution()
{
    if (m_nResX != 0 || m_aMedia.empty()) {
        return;
    }
    const auto& first = m_aMedia.front();
    if (first.PaperWidth() == 0 || first.PaperLength() == 0) {
        return;
    }
    const auto x = Truncate(first.PhysicalWidth() / (first.PaperWidth() * kInchesPerTenthMm));
    const auto y = Truncate(first.PhysicalLength() / (first.PaperLength() * kInchesPerTenthMm));
    if (!m_aResolutions.empty()) {
        // The driver's resolution nearest to what the paper's size in dots
        // says; the first of equally near ones.
        auto distance = [&](const Resolution& r) {
            return std::llabs(std::int64_t{r.x} - x) + std::llabs(std::int64_t{r.y} - y);
        };
        const auto nearest = std::ranges::min_element(
            m_aResolutions, [&](const Resolution& a, const Resolution& b) { return distance(a) < distance(b); });
        m_nResX = nearest->x;
        m_nResY = nearest->y;
        return;
    }
    // Brought to the nearest multiple of ten: the paper sizes in dots are
    // rounded, so 299.96 dots per inch means 300. (Multiplying before
    // truncating, as the driver family's own tools did, gives x + 5.)
    m_nResX = Truncate(x * 0.1 + 0.5) * 10;
    m_nResY = Truncate(y * 0.1 + 0.5) * 10;
}

void PrinterDescription::ComputeExtentsInDots()
{
    using namespace driver_flags;
    const auto resX = m_nExtentResX;
    const auto resY = m_nExtentResY;
    if ((m_dwDriverFlags & PRIVATE_COMPACT) && !(m_dwDriverFlags & PRIVATE_EXTENDED)) {
        m_nMaxLength = TenthMmToDots(m_nMaxExtentX, resX);
        m_nMaxWidth = TenthMmToDots(m_nMaxExtentY, resY);
        m_nMinLength = TenthMmToDots(m_nMinExtentX, resX);
        m_nMinWidth = TenthMmToDots(m_nMinExtentY, resY);
    } else {
        m_nMaxWidth = TenthMmToDots(m_nMaxExtentX, resX);
        m_nMaxLength = TenthMmToDots(m_nMaxExtentY, resY);
        m_nMinWidth = TenthMmToDots(m_nMinExtentX, resX);
        m_nMinLength = TenthMmToDots(m_nMinExtentY, resY);
    }
    if (m_nMaxWidth > 0 && m_nMaxLength > 0 && m_nMinWidth > 0 && m_nMinLength > 0) {
        m_nMinWidth += 1;
        m_nMinLength += 4;
        return;
    }

    // Otherwise the media table gives the bounds.
    const auto limit = Truncate(resY * kDotsPer1150MmPerDpi);
    std::int32_t largestWidth = 0;
    std::int32_t largestLength = 0;
    std::int32_t smallestWidth = limit;
    std::int32_t smallestLength = limit;
    for (const auto& entry : m_aMedia) {
        largestWidth = std::max<std::int32_t>(largestWidth, entry.PhysicalWidth());
        largestLength = std::max<std::int32_t>(largestLength, entry.PhysicalLength());
        smallestWidth = std::min<std::int32_t>(smallestWidth, entry.PhysicalWidth());
        smallestLength = std::min<std::int32_t>(smallestLength, entry.PhysicalLength());
    }
    if (m_nMaxWidth <= 0) {
        m_nMaxWidth = largestWidth;
    }
    if (m_nMaxLength <= 0) {
        m_nMaxLength = largestLength;
    }
    if (m_nMinWidth <= 0) {
        m_nMinWidth = smallestWidth;
    }
    if (m_nMinLength <= 0) {
        m_nMinLength = smallestLength;
    }
}
