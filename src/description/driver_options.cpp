// What the description derives from the driver's answers: the smallest
// margins over all media and the options selected in the device mode.

#include <algorithm>

#include "description/driver_flags.h"
#include "description/printer_description.h"
#include "description/private_layout.h"
#include "platform/devmode_layout.h"
#include "platform/printing_constants.h"

namespace {

constexpr std::int32_t kNoMargin = 65535;

void Follow(std::uint32_t& options, std::uint32_t bit, bool on)
{
    options = on ? (options | bit) : (options & ~bit);
}

}  // namespace

int PrinterDescription::ComputeMinMargins()
{
    std::int32_t left = kNoMargin;
    std::int32_t top = kNoMargin;
    std::int32_t bottom = kNoMargin;
    for (const auto& entry : m_aMedia) {
        left = std::min<std::int32_t>(left, entry.HorizontalOffset());
        top = std::min<std::int32_t>(top, entry.VerticalOffset());
        bottom =
            std::min<std::int32_t>(bottom, entry.PhysicalLength() - entry.PrintableLength() - entry.VerticalOffset());
    }
    m_rcMinMargins = {left, top, left, bottom};
    return 1;
}

void PrinterDescription::LoadSelectedOptions()
{
    using namespace driver_flags;
    const auto driverFlags = m_dwDriverFlags;
    auto options = m_dwOptions;
    auto mask = m_dwOptionMask;
    const auto block = DevMode().PrivateBlock();

    if (driverFlags & PRIVATE_EXTENDED) {
        if (!IsPrivateDataValid()) {
            return;
        }
        const auto word = byte_fields::Get<std::uint32_t>(block, private_layout::extended::OPTION_WORD);
        for (const auto bit : OPTIONS_FROM_WORD) {
            if (mask & bit) {
                Follow(options, bit, (word & bit) != 0);
            }
        }
        if (mask & OPTION_COLOR) {
            Follow(options, OPTION_COLOR, DevMode().Short(devmode_layout::dmColor) == printing::COLOR_MODE_COLOR);
        }
        if (word & OPTIONS_F000) {
            mask |= OPTIONS_F000;
            m_dwOptionMask = mask;
            m_dwFeatures |= FEATURE_2000;
            options &= ~OPTIONS_F000;
            for (const auto bit : {OPTION_1000, OPTION_2000, OPTION_4000}) {
                if (word & bit) {
                    options |= bit;
                    break;
                }
            }
        }
    } else if (driverFlags & PRIVATE_COMPACT) {
        // A private block too short to hold the option byte selects nothing.
        if (const auto value = byte_fields::TryGet<std::uint8_t>(block, private_layout::compact::OPTION_BYTE)) {
            if (mask & OPTION_1) {
                Follow(options, OPTION_1, (*value & private_layout::compact::OPTION_BIT_40) != 0);
            }
            if (mask & OPTION_2) {
                Follow(options, OPTION_2, (*value & private_layout::compact::OPTION_BIT_40) != 0);
            }
            if (mask & OPTION_4) {
                Follow(options, OPTION_4, (*value & private_layout::compact::OPTION_BIT_80) != 0);
            }
        }
    }
    options &= mask;
    m_dwOptions = options;
    m_dwOptionsDefault = options;
}

int PrinterDescription::SetOptions(std::uint32_t mask)
{
    m_dwOptions = mask & m_dwOptionMask;
    return 1;
}
