// The media, feed-margin and user-media tables: lookups, the validity check
// of the device mode's extended private data, and the user media read from it.

#include <algorithm>

#include "description/driver_flags.h"
#include "description/printer_description.h"
#include "description/private_layout.h"

namespace {

// Each table kind's shared empty entry, returned when a lookup finds nothing.
const MediaEntry kEmptyMedia{};
const UserMediaEntry kEmptyUserMedia{};
const FeedMarginEntry kEmptyFeedMargin{};

// Copies a name of up to 64 characters up to its first zero byte and pads the
// rest of the target with zero bytes.
void CopyName(std::span<const std::uint8_t> source, std::span<std::uint8_t> target)
{
    const auto end = std::find(source.begin(), source.end(), std::uint8_t{0});
    const auto copied = std::copy(source.begin(), end, target.begin());
    std::fill(copied, target.end(), std::uint8_t{0});
}

}  // namespace

const MediaEntry& PrinterDescription::FindMedia(std::uint16_t id) const
{
    const auto found = std::ranges::find_if(m_aMedia, [id](const MediaEntry& entry) { return entry.Id() == id; });
    return found != m_aMedia.end() ? *found : kEmptyMedia;
}

const MediaEntry* PrinterDescription::FindBaseMedia(std::uint16_t id) const
{
    const auto found = std::ranges::find_if(m_aMedia, [id](const MediaEntry& entry) { return entry.Id() == id; });
    if (found == m_aMedia.end()) {
        return m_aMedia.empty() ? nullptr : &m_aMedia.front();
    }
    const auto base = found->BaseId();
    if (base != found->Id() && base != 0) {
        return &FindMedia(base);
    }
    return &*found;
}

const MediaEntry* PrinterDescription::FindMediaVariant(std::uint16_t id, std::uint16_t partCount) const
{
    const auto found = std::ranges::find_if(m_aMedia, [&](const MediaEntry& entry) {
        return entry.Id() == id && std::uint16_t{entry.PartCount()} == partCount;
    });
    if (found != m_aMedia.end()) {
        return &*found;
    }
    return m_aMedia.empty() ? nullptr : &m_aMedia.front();
}

const UserMediaEntry& PrinterDescription::FindUserMedia(std::uint16_t id) const
{
    const auto found =
        std::ranges::find_if(m_aUserMedia, [id](const UserMediaEntry& entry) { return entry.Id() == id; });
    return found != m_aUserMedia.end() ? *found : kEmptyUserMedia;
}

const FeedMarginEntry& PrinterDescription::FindFeedMargin(std::uint16_t key) const
{
    for (auto entry = m_aFeedMargins.rbegin(); entry != m_aFeedMargins.rend(); ++entry) {
        if (entry->Key() <= key) {
            return *entry;
        }
    }
    return kEmptyFeedMargin;
}

std::optional<std::uint16_t> PrinterDescription::PrivateModeWord() const
{
    return byte_fields::TryGet<std::uint16_t>(DevMode().PrivateBlock(), private_layout::MODE_WORD);
}

int PrinterDescription::IsPrivateDataValid() const
{
    namespace ext = private_layout::extended;
    const auto block = DevMode().PrivateBlock();
    const auto size = byte_fields::TryGet<std::uint16_t>(block, ext::BLOCK_SIZE);
    const auto count = byte_fields::TryGet<std::uint16_t>(block, ext::ENTRY_COUNT);
    if (!size || !count) {
        return 0;
    }
    const bool known = *size == ext::BLOCK_SIZE_20_ENTRIES || *size == ext::BLOCK_SIZE_30_ENTRIES ||
                       *size == ext::HEADER_SIZE + ext::ENTRY_SIZE * std::size_t{*count};
    // A block that announces more bytes than the driver really gave is no
    // valid block: everything read from it must lie inside it.
    return known && block.size() >= *size ? 1 : 0;
}

int PrinterDescription::LoadUserMedia()
{
    const auto block = DevMode().PrivateBlock();
    if (m_dwDriverFlags & driver_flags::PRIVATE_EXTENDED) {
        namespace ext = private_layout::extended;
        if (!IsPrivateDataValid()) {
            return 1;
        }
        const auto count = byte_fields::Get<std::uint16_t>(block, ext::ENTRY_COUNT);
        m_aUserMedia.resize(count);
        for (std::size_t i = 0; i < count && i < ext::MAX_ENTRIES_READ; ++i) {
            const auto source = block.subspan(ext::HEADER_SIZE + ext::ENTRY_SIZE * i, ext::ENTRY_SIZE);
            auto& target = m_aUserMedia[i];
            target.Put<std::uint16_t>(user_media_entry::ID, byte_fields::Get<std::uint16_t>(source, ext::ENTRY_ID));
            CopyName(source.subspan(ext::ENTRY_NAME, user_media_entry::NAME_SIZE),
                     std::span(target.bytes).subspan(user_media_entry::NAME, user_media_entry::NAME_SIZE));
            CopyName(source.subspan(ext::ENTRY_SECOND_NAME, user_media_entry::NAME_SIZE),
                     std::span(target.bytes).subspan(user_media_entry::SECOND_NAME, user_media_entry::NAME_SIZE));
            std::copy_n(source.begin() + ext::ENTRY_CARRIED, user_media_entry::CARRIED_SIZE,
                        target.bytes.begin() + user_media_entry::BASE_ID);
            if (target.PartCount() == 0) {
                target.Put<std::uint16_t>(user_media_entry::PART_COUNT, 1);
            }
            // With no media table there is no medium to fall back on; the
            // base id then stays as the driver gave it.
            if (const auto* variant = FindMediaVariant(target.BaseId(), target.PartCount())) {
                target.Put<std::uint16_t>(user_media_entry::BASE_ID, variant->Id());
            }
            const auto& base = FindMedia(target.BaseId());
            if (target.Width() == 0 && base.Id() != 0) {
                target.Put<std::uint16_t>(user_media_entry::WIDTH, static_cast<std::uint16_t>(base.PhysicalWidth()));
            }
        }
    } else if (m_dwDriverFlags & driver_flags::PRIVATE_COMPACT) {
        namespace cmp = private_layout::compact;
        const auto announced = byte_fields::TryGet<std::uint8_t>(block, cmp::ENTRY_COUNT).value_or(0);
        // Only entries that lie wholly inside the private block are read.
        const std::size_t present =
            block.size() > cmp::FIRST_ENTRY ? (block.size() - cmp::FIRST_ENTRY) / cmp::ENTRY_SIZE : 0;
        const std::size_t count = std::min<std::size_t>(announced, present);
        m_aUserMedia.resize(count);
        const int first = m_aMedia.empty() ? 0 : m_aMedia.front().Id();
        for (std::size_t i = 0; i < count; ++i) {
            const auto source = block.subspan(cmp::FIRST_ENTRY + cmp::ENTRY_SIZE * i, cmp::ENTRY_SIZE);
            auto& target = m_aUserMedia[i];
            target.Put<std::uint16_t>(user_media_entry::ID, static_cast<std::uint16_t>(cmp::FIRST_USER_ID + i));
            const auto name = source.subspan(cmp::ENTRY_NAME, cmp::ENTRY_NAME_SIZE);
            CopyName(name, std::span(target.bytes).subspan(user_media_entry::NAME, user_media_entry::NAME_SIZE));
            CopyName(name, std::span(target.bytes).subspan(user_media_entry::SECOND_NAME, user_media_entry::NAME_SIZE));
            const auto baseId = byte_fields::Get<std::uint16_t>(source, cmp::ENTRY_BASE_ID);
            target.Put<std::uint16_t>(user_media_entry::BASE_ID, baseId);
            target.Put<std::uint16_t>(user_media_entry::LENGTH,
                                      byte_fields::Get<std::uint16_t>(source, cmp::ENTRY_LENGTH));
            target.Put<std::uint16_t>(user_media_entry::EXTRA_1, source[cmp::ENTRY_EXTRA_1]);
            target.Put<std::uint16_t>(user_media_entry::EXTRA_2,
                                      byte_fields::Get<std::uint16_t>(source, cmp::ENTRY_EXTRA_2));
            target.Put<std::uint16_t>(user_media_entry::PART_COUNT, 1);
            // The compact layout counts media ids up from the first medium's;
            // a base id outside the table gives no width.
            const int position = int{baseId} - first;
            if (position >= 0 && static_cast<std::size_t>(position) < m_aMedia.size()) {
                target.Put<std::uint16_t>(user_media_entry::WIDTH,
                                          static_cast<std::uint16_t>(m_aMedia[position].PhysicalWidth()));
            }
        }
    }
    if (!m_aUserMedia.empty()) {
        m_wTableFlags |= driver_flags::TABLE_USER_MEDIA;
    }
    return 1;
}
