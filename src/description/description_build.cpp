// The steps of building a description that work on what has already been
// read: the standard features, the filters of a paper list, the fallback
// resolution and the extents in dots.

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "description/driver_flags.h"
#include "description/driver_lists.h"
#include "description/printer_description.h"
#include "platform/devmode_layout.h"
#include "platform/printer_driver.h"
#include "platform/printing_constants.h"

namespace {

constexpr double kInchesPerTenthMm = 0.003937007874015748;   // 1 / 254
constexpr double kDotsPer1150MmPerDpi = 45.275590551181104;  // 1150 / 25.4
constexpr std::uint16_t kPaperCodeUserDefinedToo = 262;
constexpr std::uint16_t kFirstDriverPaperCode = 256;
constexpr std::size_t kLongestPaperName = 49;
constexpr char kDisplayNameSeparator = '|';
constexpr std::uint16_t kFallbackMediaClass = driver_flags::MEDIA_CLASS_2;
constexpr std::uint16_t kFallbackDriverValue = 1;
constexpr std::int16_t kFullScale = 100;
constexpr std::int32_t kMinWidthAddition = 1;
constexpr std::int32_t kMinLengthAddition = 4;

// Truncates toward zero, keeping values a driver's wild answer produced
// within range.
std::int32_t Truncate(double value)
{
    if (!(value > std::numeric_limits<std::int32_t>::min() && value < std::numeric_limits<std::int32_t>::max())) {
        return value > 0 ? std::numeric_limits<std::int32_t>::max() : std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(value);
}

// A conversion may have given the largest number of dots already.
std::int32_t AddDots(std::int32_t dots, std::int32_t more)
{
    return dots > std::numeric_limits<std::int32_t>::max() - more ? std::numeric_limits<std::int32_t>::max()
                                                                  : dots + more;
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
    if (m_dwDmFields & printing::FIELD_COLOR) {
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
        return entry.Id() == printing::PAPER_USER_DEFINED || entry.Id() == kPaperCodeUserDefinedToo;
    });
    if (m_aMedia.empty()) {
        m_aMedia.shrink_to_fit();
        return;
    }
    auto devMode = DevMode();
    if (devMode.Short(devmode_layout::dmPaperSize) == printing::PAPER_USER_DEFINED) {
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
    // The driver family's own arithmetic, in floating point and truncated:
    // for whole numbers that is x + 5 and y + 5.
    m_nResX = Truncate((x * 0.1 + 0.5) * 10);
    m_nResY = Truncate((y * 0.1 + 0.5) * 10);
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
        m_nMinWidth = AddDots(m_nMinWidth, kMinWidthAddition);
        m_nMinLength = AddDots(m_nMinLength, kMinLengthAddition);
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

void PrinterDescription::BuildFromStandardQueries()
{
    SetStandardFeatures();
    if (m_aMedia.empty() && LoadPaperList(false)) {
        m_dwDescFlags |= DESC_FLAG_TABLES_OWNED;
    }
    if (m_nResX == 0) {
        ChooseFallbackResolution();
    }
    m_ptOffset = {};
    m_ptMarginAdd = {};
    m_wMediaClass = kFallbackMediaClass;
    m_wMediaClassInit = kFallbackMediaClass;
    m_wDriverValue = kFallbackDriverValue;
}

bool PrinterDescription::LoadPaperList(bool split)
{
    using namespace printing;
    auto ask = [this](std::uint16_t capability) {
        return [this, capability](std::span<std::uint8_t> buffer) { return DeviceCaps(capability, buffer); };
    };

    const auto count = driver_lists::CheckedCount(DeviceCaps(CAPS_PAPER_NAMES, {}));
    if (!count) {
        return false;
    }
    m_aMedia.resize(*count);

    // Each query is asked for its own count right before its entries, so its
    // buffer always suits the driver; where the three counts disagree, only
    // the papers all of them describe are filled.
    const auto names = driver_lists::Fetch(ask(CAPS_PAPER_NAMES), PAPER_NAME_SIZE);
    if (!names) {
        return false;
    }
    const auto named = std::min(names->count, m_aMedia.size());
    for (std::size_t i = 0; i < named; ++i) {
        const auto raw = names->Entry(i);
        std::string name(reinterpret_cast<const char*>(raw.data()), raw.size());
        name.resize(std::min({name.find('\0'), name.size(), kLongestPaperName}));
        std::string display = name;
        if (const auto bar = name.rfind(kDisplayNameSeparator); split && bar != std::string::npos) {
            display = name.substr(bar + 1);
            name.resize(bar);
        }
        auto& entry = m_aMedia[i];
        std::ranges::copy(name, entry.bytes.begin() + media_entry::NAME);
        std::ranges::copy(display, entry.bytes.begin() + media_entry::DISPLAY_NAME);
    }

    const auto sizes = driver_lists::Fetch(ask(CAPS_PAPER_SIZES), PAPER_SIZE_ENTRY);
    if (!sizes) {
        return false;
    }
    const auto measured = std::min(named, sizes->count);
    for (std::size_t i = 0; i < measured; ++i) {
        const auto pair = sizes->Entry(i);
        auto& entry = m_aMedia[i];
        entry.Put<std::uint16_t>(media_entry::PAPER_WIDTH, byte_fields::Get<std::uint16_t>(pair, 0));
        entry.Put<std::uint16_t>(media_entry::PAPER_LENGTH, byte_fields::Get<std::uint16_t>(pair, 4));
        entry.Put<std::uint16_t>(media_entry::RESERVED_WIDTH_1, 0);
        entry.Put<std::uint16_t>(media_entry::RESERVED_WIDTH_2, 0);
        entry.Put<std::uint16_t>(media_entry::RESERVED_LENGTH, 0);
        entry.bytes[media_entry::PART_COUNT] = 1;
    }

    const auto codes = driver_lists::Fetch(ask(CAPS_PAPERS), PAPER_CODE_ENTRY);
    if (!codes) {
        return false;
    }
    const auto coded = std::min(measured, codes->count);
    for (std::size_t i = 0; i < coded; ++i) {
        const auto code = byte_fields::Get<std::uint16_t>(codes->Entry(i), 0);
        m_aMedia[i].Put<std::uint16_t>(media_entry::ID, code);
        m_aMedia[i].Put<std::uint16_t>(media_entry::BASE_ID, code);
    }

    DropUserPaperSizes();
    if ((m_dwDriverFlags & driver_flags::CAP_MODEL_CLASS) && (m_dwDriverFlags & driver_flags::CAP_DRIVER_PAPERS_ONLY)) {
        KeepDriverPaperSizes();
    }
    MeasurePapers();
    return true;
}

bool PrinterDescription::MeasurePapers()
{
    using namespace printing;
    namespace dm = devmode_layout;
    auto devMode = DevMode();
    const std::string driver(m_szDriver.data());
    const std::string printer(m_szPrinter.data());
    const std::string port(m_szPort.data());

    const auto savedPaper = devMode.Short(dm::dmPaperSize);
    std::int16_t savedOrientation = 0;
    if (m_dwDmFields & FIELD_SCALE) {
        devMode.SetFields(devMode.Fields() | FIELD_SCALE);
        devMode.SetShort(dm::dmScale, kFullScale);
    }
    if (m_dwDmFields & FIELD_ORIENTATION) {
        savedOrientation = devMode.Short(dm::dmOrientation);
        devMode.SetFields(devMode.Fields() | FIELD_ORIENTATION);
        devMode.SetShort(dm::dmOrientation, ORIENTATION_PORTRAIT);
    }

    // Both fillers keep the table within MAX_ENTRIES papers, far below a
    // 16-bit count.
    static_assert(driver_lists::MAX_ENTRIES <= 0xFFFF);
    for (auto& entry : m_aMedia) {
        for (const auto field :
             {media_entry::PHYSICAL_LENGTH, media_entry::VERTICAL_OFFSET, media_entry::PRINTABLE_LENGTH,
              media_entry::PHYSICAL_WIDTH, media_entry::HORIZONTAL_OFFSET, media_entry::PRINTABLE_WIDTH}) {
            entry.Put<std::int16_t>(field, 0);
        }
        devMode.SetFields(devMode.Fields() | FIELD_PAPER_SIZE);
        devMode.SetShort(dm::dmPaperSize, static_cast<std::int16_t>(entry.Id()));

        const auto context = platform::InformationContext::Create(driver, printer, port, m_pDevMode.bytes());
        if (!context) {
            devMode.SetShort(dm::dmPaperSize, savedPaper);
            return false;
        }
        platform::PointAnswer point;
        if (context.QueryEscapeSupport(ESCAPE_PHYSICAL_PAGE_SIZE) > 0 &&
            context.PointEscape(ESCAPE_PHYSICAL_PAGE_SIZE, point) > 0) {
            entry.Put<std::int16_t>(media_entry::PHYSICAL_WIDTH, static_cast<std::int16_t>(point.x));
            entry.Put<std::int16_t>(media_entry::PHYSICAL_LENGTH, static_cast<std::int16_t>(point.y));
        }
        if (context.QueryEscapeSupport(ESCAPE_PRINTING_OFFSET) > 0 &&
            context.PointEscape(ESCAPE_PRINTING_OFFSET, point) > 0) {
            entry.Put<std::int16_t>(media_entry::HORIZONTAL_OFFSET, static_cast<std::int16_t>(point.x));
            entry.Put<std::int16_t>(media_entry::VERTICAL_OFFSET, static_cast<std::int16_t>(point.y));
            // The offset's x goes to the top and its y to the left margin, as
            // the driver family has always stored them.
            m_rcMinMargins.top = static_cast<std::int16_t>(point.x);
            m_rcMinMargins.left = static_cast<std::int16_t>(point.y);
        }
        entry.Put<std::int16_t>(media_entry::PRINTABLE_WIDTH,
                                static_cast<std::int16_t>(entry.PhysicalWidth() - 2 * entry.HorizontalOffset()));
        entry.Put<std::int16_t>(media_entry::PRINTABLE_LENGTH,
                                static_cast<std::int16_t>(entry.PhysicalLength() - 2 * entry.VerticalOffset()));
    }

    devMode.SetFields(devMode.Fields() | FIELD_PAPER_SIZE);
    devMode.SetShort(dm::dmPaperSize, savedPaper);
    if (m_dwDmFields & FIELD_ORIENTATION) {
        devMode.SetFields(devMode.Fields() | FIELD_ORIENTATION);
        devMode.SetShort(dm::dmOrientation, savedOrientation);
    }
    if (!platform::InformationContext::Create(driver, printer, port, m_pDevMode.bytes())) {
        return false;
    }
    m_rcMinMargins.right = m_rcMinMargins.left;
    m_rcMinMargins.bottom = m_rcMinMargins.top;
    return true;
}
