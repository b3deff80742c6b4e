// The questions the description asks the driver's own information library,
// and what it derives from the capability word.

#include <algorithm>
#include <cstring>

#include "catalogue/driver_info.h"
#include "catalogue/info_library.h"
#include "description/driver_flags.h"
#include "description/printer_description.h"
#include "description/private_layout.h"
#include "platform/library.h"
#include "platform/printing_constants.h"
#include "platform/ui.h"

namespace {

constexpr std::uint32_t kColorsDefault = 1;
constexpr std::uint16_t kDriverValueDefault = 1;
constexpr char kModelClass10 = '1';
constexpr char kModelClass2 = '2';

Point32 SplitPoint(std::int32_t answer)
{
    const auto value = static_cast<std::uint32_t>(answer);
    return {static_cast<std::int32_t>(value & 0xFFFF), static_cast<std::int32_t>(value >> 16)};
}

// Copies a list answer into a table of fixed-size entries.
template <class Entry>
void FillTable(std::vector<Entry>& table, const std::vector<std::uint8_t>& answer)
{
    constexpr auto size = sizeof(Entry);
    table.resize(answer.size() / size);
    for (std::size_t i = 0; i < table.size(); ++i) {
        std::copy_n(answer.begin() + static_cast<std::ptrdiff_t>(i * size), size, table[i].bytes.begin());
    }
}

}  // namespace

int PrinterDescription::QueryDriverCapabilities()
{
    using namespace driver_flags;
    m_dwDriverFlags = 0;
    if (LookupDriverInfoLibrary(m_szDriver.data(), m_szInfoDll) == INFO_LIBRARY_NONE) {
        return 0;
    }
    const auto library = LoadInfoLibrary(m_szInfoDll.data());
    if (!library) {
        platform::ShowMessageBox(DRIVER_DAMAGED_MESSAGE);
        return 0;
    }
    const auto query = library.Resolve<MyDeviceCapabilitiesProc>(MY_DEVICE_CAPABILITIES_EXPORT);
    if (query == nullptr) {
        return 1;
    }
    const char* driver = m_szDriver.data();
    const char* printer = m_szPrinter.data();
    const char* port = m_szPort.data();
    const void* devMode = m_pDevMode.data();
    auto ask = [&](std::uint16_t code) { return query(driver, port, code, nullptr, devMode); };

    const auto flags = ask(MDC_FLAGS);
    m_dwDriverFlags = flags == MDC_NO_ANSWER ? 0 : static_cast<std::uint32_t>(flags);

    const auto mediaCode = m_wMediaClass == MEDIA_CLASS_2 ? MDC_MEDIA2 : MDC_MEDIA;
    if (const auto media =
            QueryCapabilityList(query, driver, printer, port, mediaCode, MDC_MEDIA_ENTRY_SIZE, devMode)) {
        FillTable(m_aMedia, *media);
        if (std::ranges::any_of(m_aMedia, [](const MediaEntry& entry) { return entry.PartCount() > 1; })) {
            m_wTableFlags |= TABLE_MULTI_PART;
        }
    }
    if (const auto margins =
            QueryCapabilityList(query, driver, printer, port, MDC_FEEDMARGINS, MDC_FEEDMARGIN_ENTRY_SIZE, devMode)) {
        FillTable(m_aFeedMargins, *margins);
    }

    ComputeMinMargins();
    if (!m_aFeedMargins.empty()) {
        m_lastFeedMargin = m_aFeedMargins.back();
        const auto first = m_aFeedMargins.front().Margin();
        if (m_rcMinMargins.top != 0 && first < m_rcMinMargins.top) {
            m_rcMinMargins.top = first;
            m_rcMinMargins.bottom = first;
        }
    } else {
        m_lastFeedMargin.bytes[feed_margin_entry::KEY] = 0;
    }
    MapDriverFlags();

    m_dwColors = kColorsDefault;
    if (m_dwDriverFlags & CAP_COLORS) {
        if (const auto colors = ask(MDC_COLORS); colors != MDC_NO_ANSWER) {
            m_dwColors = static_cast<std::uint32_t>(colors) & 0xFFFF;
        }
    }
    if (const auto offset = ask(MDC_OFFSET); offset != MDC_NO_ANSWER) {
        m_ptOffset = SplitPoint(offset);
    }
    if (const auto marginAdd = ask(MDC_MARGINADD); marginAdd != MDC_NO_ANSWER) {
        m_ptMarginAdd = SplitPoint(marginAdd);
    }
    const auto value = ask(MDC_VALUE);
    m_wDriverValue = value == MDC_NO_ANSWER ? kDriverValueDefault : static_cast<std::uint16_t>(value & 0xFFFF);

    const auto modelId = ask(MDC_MODELID);
    if (modelId == MDC_NO_ANSWER) {
        m_dwModelId = 0;
    } else {
        m_dwModelId = static_cast<std::uint32_t>(modelId);
        if ((m_dwDriverFlags & CAP_SPECIAL_TAPE) && PrivateModeWord() == private_layout::TAPE_MODE_SPECIAL) {
            m_dwModelId |= MODEL_ID_SPECIAL_TAPE;
        }
    }

    if (m_dwDriverFlags & CAP_MODEL_CLASS) {
        const auto low = static_cast<char>(m_dwModelId & 0xFF);
        m_wMediaClass = low == kModelClass10 ? MEDIA_CLASS_10 : low == kModelClass2 ? MEDIA_CLASS_2 : MEDIA_CLASS_NONE;
    } else {
        m_wMediaClass = (m_dwDriverFlags & CAP_MEDIA_CLASS_10) ? MEDIA_CLASS_10 : MEDIA_CLASS_NONE;
    }
    m_wMediaClassInit = m_wMediaClass;
    return 1;
}

int PrinterDescription::MapDriverFlags()
{
    using namespace driver_flags;
    const auto d = m_dwDriverFlags;
    const bool modelClass = (d & CAP_MODEL_CLASS) != 0;

    std::uint32_t features = (d & CAP_FEATURES_5D) ? FEATURES_BASE_5D : FEATURES_BASE;
    if (modelClass) {
        if (d & CAP_FEATURE_1) {
            features |= FEATURE_1;
        }
        if (d & CAP_LIMIT_FEATURES) {
            features &= ~FEATURE_4;
        }
        if (d & CAP_FEATURE_10) {
            features |= FEATURE_10;
        }
        if (d & CAP_FEATURE_40) {
            features |= FEATURE_40;
        }
    } else if (d & CAP_LIMIT_FEATURES) {
        features = (features & ~0xFFu) | (features & FEATURES_LIMITED_LOW_BYTE);
    }
    if (m_nMaxCopies == 1) {
        features = (features & ~0xFFu) | (features & FEATURES_SINGLE_COPY_LOW_BYTE);
    }
    if (GetPlatformClass() == PLATFORM_WIN9X) {
        features |= FEATURE_WIN9X;
    }
    if (d & CAP_FEATURE_2) {
        features |= FEATURE_2;
    }
    if (d & CAP_FEATURE_200) {
        features = (features & ~FEATURE_WIN9X) | FEATURE_200;
    }
    if (d & CAP_FEATURE_400) {
        features |= FEATURE_400;
    }
    if (d & CAP_FEATURE_1800) {
        features |= FEATURE_800 | FEATURE_1000;
    }
    m_wTableFlags |= TABLE_FLAGS_DRIVER;

    std::uint32_t options = 0;
    const std::pair<bool, std::uint32_t> rules[] = {
        {(d & CAP_OPTION_1) != 0, OPTION_1},
        {(d & CAP_OPTION_2) != 0, OPTION_2},
        {(d & CAP_OPTION_4) != 0, OPTION_4},
        {(m_dwDmFields & printing::FIELD_COLOR) != 0, OPTION_COLOR},
        {(d & CAP_COLORS) != 0, OPTION_40},
        {(d & CAP_OPTION_80) != 0, OPTION_80},
        {(d & CAP_OPTION_100) != 0, OPTION_100},
        {(d & CAP_OPTION_200) != 0, OPTION_200},
        {modelClass && (d & CAP_OPTION_400) != 0, OPTION_400},
    };
    for (const auto& [applies, option] : rules) {
        if (applies) {
            options |= option;
        }
    }
    if (modelClass && (d & CAP_FEATURE_4000)) {
        features |= FEATURE_4000;
    }
    m_dwFeatures = features;
    m_dwOptionMask = options;
    return 1;
}
