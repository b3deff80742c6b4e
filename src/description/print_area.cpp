// The page extents and margins of the medium that the device mode selects.

#include <algorithm>

#include "description/driver_flags.h"
#include "description/printer_description.h"
#include "description/private_layout.h"
#include "platform/devmode_layout.h"
#include "platform/printing_constants.h"

namespace {

// The orientation a device mode without one is taken to have.
constexpr std::uint16_t kNoOrientation = 2;

void RaiseTo(Rect32& rect, const Rect32& floor)
{
    rect.left = std::max(rect.left, floor.left);
    rect.top = std::max(rect.top, floor.top);
    rect.right = std::max(rect.right, floor.right);
    rect.bottom = std::max(rect.bottom, floor.bottom);
}

Rect32 Twice(const Point32& point)
{
    return {point.x, point.y, point.x, point.y};
}

}  // namespace

int PrinterDescription::UpdatePrintArea()
{
    m_rcOffset = Twice(m_ptOffset);
    ComputePrintArea();
    m_rcMaxMargins.left = m_rcMargins.left;
    m_rcMaxMargins.right = m_rcMargins.right;
    return 1;
}

int PrinterDescription::ComputePrintArea()
{
    using namespace printing;
    namespace dm = devmode_layout;
    namespace ext = private_layout::extended;
    const auto devMode = DevMode();
    const auto fields = devMode.Fields();
    const auto driverFlags = m_dwDriverFlags;
    // The working medium starts as the empty entry when the device mode
    // names no paper and no layout rule picks one.
    MediaEntry medium;

    m_nPageWidth = 0;
    m_nPageLength = 0;
    m_wOrientation =
        (fields & FIELD_ORIENTATION) ? static_cast<std::uint16_t>(devMode.Short(dm::dmOrientation)) : kNoOrientation;
    if (fields & FIELD_PAPER_SIZE) {
        m_wPaperId = static_cast<std::uint16_t>(devMode.Short(dm::dmPaperSize));
        medium = FindMedia(m_wPaperId);
        m_dwMediaFlags = medium.Flags();
    }

    if (driverFlags & driver_flags::PRIVATE_EXTENDED) {
        const auto& userMedium = FindUserMedia(m_wPaperId);
        if (userMedium.Id() != 0) {
            medium = FindMedia(userMedium.BaseId());
            m_nPageLength = userMedium.Length();
            m_nPageWidth = userMedium.Width();
        } else if (IsPrivateDataValid()) {
            const auto block = devMode.PrivateBlock();
            const auto selection = byte_fields::Get<std::uint16_t>(block, ext::SELECTION_FLAGS);
            if (selection & ext::SELECT_BY_MEDIUM) {
                const std::uint16_t parts =
                    (selection & ext::SELECT_PART_COUNT) ? byte_fields::Get<std::uint16_t>(block, ext::PART_COUNT) : 1;
                const auto* variant = FindMediaVariant(byte_fields::Get<std::uint16_t>(block, ext::MEDIUM_ID), parts);
                medium = variant != nullptr ? *variant : MediaEntry{};
                m_nPageLength = medium.PhysicalLength();
                m_wPaperId = medium.Id();
                m_nPageWidth = medium.PhysicalWidth();
            }
            if (medium.Flags() & media_entry::FLAG_OFFSET_MARGINS) {
                if (m_rcMaxMargins.left == 0 && m_rcMaxMargins.right == 0) {
                    m_rcMaxMargins.top = 0;
                    m_rcMaxMargins.bottom = 0;
                }
            } else {
                if (selection & ext::SELECT_LENGTH) {
                    m_nPageLength = byte_fields::Get<std::int32_t>(block, ext::LENGTH);
                }
                if (selection & ext::SELECT_FEED_MARGIN) {
                    const auto margin =
                        FindFeedMargin(byte_fields::Get<std::uint16_t>(block, ext::FEED_MARGIN_KEY)).Margin();
                    m_rcMaxMargins.top = std::max<std::int32_t>(m_rcMaxMargins.top, margin);
                    m_rcMaxMargins.bottom = std::max<std::int32_t>(m_rcMaxMargins.bottom, margin);
                }
            }
        } else {
            medium = FindMedia(m_wPaperId);
            m_nPageLength = medium.PhysicalLength();
            m_nPageWidth = medium.PhysicalWidth();
            if (fields & FIELD_PAPER_LENGTH) {
                m_nPageLength = DotsFromTenthMm(devMode.Short(dm::dmPaperLength));
            }
        }
    } else if (driverFlags & driver_flags::PRIVATE_COMPACT) {
        const bool portrait = m_wOrientation == static_cast<std::uint16_t>(ORIENTATION_PORTRAIT);
        if (fields & FIELD_PAPER_WIDTH) {
            (portrait ? m_nPageWidth : m_nPageLength) = DotsFromTenthMm(devMode.Short(dm::dmPaperWidth));
        }
        if (fields & FIELD_PAPER_LENGTH) {
            (portrait ? m_nPageLength : m_nPageWidth) = DotsFromTenthMm(devMode.Short(dm::dmPaperLength));
        }
    } else {
        medium = FindMedia(m_wPaperId);
        m_nPageWidth = medium.PhysicalWidth();
        m_nPageLength = medium.PhysicalLength();
        if (fields & FIELD_PAPER_WIDTH) {
            m_nPageWidth = DotsFromTenthMm(devMode.Short(dm::dmPaperWidth));
        }
        if (fields & FIELD_PAPER_LENGTH) {
            m_nPageLength = DotsFromTenthMm(devMode.Short(dm::dmPaperLength));
        }
    }

    // The medium's own margins.
    const std::int32_t horizontal = medium.HorizontalOffset();
    const std::int32_t vertical = medium.VerticalOffset();
    if (medium.Flags() & media_entry::FLAG_OFFSET_MARGINS) {
        m_rcMediaMargins = {horizontal, vertical, horizontal, vertical};
        RaiseTo(m_rcMaxMargins, m_rcMediaMargins);
    } else {
        m_rcMediaMargins.left = horizontal;
        m_rcMediaMargins.right = medium.PhysicalWidth() - medium.PrintableWidth() - horizontal;
        if (!m_aFeedMargins.empty()) {
            m_rcMediaMargins.top = m_aFeedMargins.front().Margin();
            m_rcMediaMargins.bottom = m_aFeedMargins.front().Margin();
        } else {
            m_rcMediaMargins.top = vertical;
            m_rcMediaMargins.bottom = medium.PhysicalLength() - medium.PrintableLength() - vertical;
        }
    }

    // The margins that apply, and the driver's offset.
    if (medium.Flags() & media_entry::FLAG_NO_OFFSET) {
        m_rcOffset = {};
        m_rcMargins = m_rcMediaMargins;
    } else {
        m_rcOffset = Twice(m_ptOffset);
        m_rcMargins = {m_rcMediaMargins.left + m_ptMarginAdd.x, m_rcMediaMargins.top + m_ptMarginAdd.y,
                       m_rcMediaMargins.right + m_ptMarginAdd.x, m_rcMediaMargins.bottom + m_ptMarginAdd.y};
    }

    // A medium of several parts keeps at least its base medium's side margins.
    m_nParts = medium.PartCount() != 0 ? medium.PartCount() : 1;
    if (m_nParts > 1) {
        if (const auto* base = FindBaseMedia(m_wPaperId)) {
            m_rcMargins.left = std::max<std::int32_t>(m_rcMargins.left, base->HorizontalOffset());
            m_rcMargins.right = std::max<std::int32_t>(
                m_rcMargins.right, base->PhysicalWidth() - base->PrintableWidth() - base->HorizontalOffset());
        }
    }

    RaiseTo(m_rcMaxMargins, m_rcMargins);
    return 1;
}
