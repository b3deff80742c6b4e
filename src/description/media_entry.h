#pragma once
// MEDIA_ENTRY: one paper or tape size of the media table, 138 bytes, exactly
// as the driver's media lists deliver it. Lengths in dots unless noted.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "description/byte_fields.h"

namespace media_entry {

inline constexpr std::size_t SIZE = 138;
inline constexpr std::size_t ID = 0;                // WORD
inline constexpr std::size_t PHYSICAL_LENGTH = 2;   // short
inline constexpr std::size_t PAPER_LENGTH = 4;      // WORD, tenths of a millimetre
inline constexpr std::size_t VERTICAL_OFFSET = 6;   // short
inline constexpr std::size_t PRINTABLE_LENGTH = 8;  // short
inline constexpr std::size_t RESERVED_LENGTH = 10;  // WORD
inline constexpr std::size_t NAME = 12;             // 50 characters
inline constexpr std::size_t DISPLAY_NAME = 62;     // 50 characters
inline constexpr std::size_t NAME_SIZE = 50;
inline constexpr std::size_t PHYSICAL_WIDTH = 112;     // short
inline constexpr std::size_t PAPER_WIDTH = 114;        // WORD, tenths of a millimetre
inline constexpr std::size_t HORIZONTAL_OFFSET = 116;  // short
inline constexpr std::size_t PRINTABLE_WIDTH = 118;    // short
inline constexpr std::size_t RESERVED_WIDTH_1 = 120;   // WORD
inline constexpr std::size_t RESERVED_WIDTH_2 = 122;   // WORD
inline constexpr std::size_t FLAGS = 124;              // DWORD
inline constexpr std::size_t BASE_ID = 128;            // WORD
inline constexpr std::size_t PART_COUNT = 130;         // BYTE
inline constexpr std::size_t RESERVED_TAIL = 131;      // 7 bytes

static_assert(DISPLAY_NAME == NAME + NAME_SIZE && PHYSICAL_WIDTH == DISPLAY_NAME + NAME_SIZE);
static_assert(RESERVED_TAIL + 7 == SIZE);

// Medium flags the print area looks at.
inline constexpr std::uint32_t FLAG_OFFSET_MARGINS = 0x10;  // margins are the printing offsets
inline constexpr std::uint32_t FLAG_NO_OFFSET = 0x80;       // the driver's offset does not apply

}  // namespace media_entry

struct MediaEntry : byte_fields::Record<media_entry::SIZE> {
    std::uint16_t Id() const { return Get<std::uint16_t>(media_entry::ID); }
    std::int16_t PhysicalLength() const { return Get<std::int16_t>(media_entry::PHYSICAL_LENGTH); }
    std::int16_t PhysicalWidth() const { return Get<std::int16_t>(media_entry::PHYSICAL_WIDTH); }
    std::int16_t VerticalOffset() const { return Get<std::int16_t>(media_entry::VERTICAL_OFFSET); }
    std::int16_t HorizontalOffset() const { return Get<std::int16_t>(media_entry::HORIZONTAL_OFFSET); }
    std::int16_t PrintableLength() const { return Get<std::int16_t>(media_entry::PRINTABLE_LENGTH); }
    std::int16_t PrintableWidth() const { return Get<std::int16_t>(media_entry::PRINTABLE_WIDTH); }
    std::uint16_t PaperLength() const { return Get<std::uint16_t>(media_entry::PAPER_LENGTH); }
    std::uint16_t PaperWidth() const { return Get<std::uint16_t>(media_entry::PAPER_WIDTH); }
    std::uint32_t Flags() const { return Get<std::uint32_t>(media_entry::FLAGS); }
    std::uint16_t BaseId() const { return Get<std::uint16_t>(media_entry::BASE_ID); }
    std::uint8_t PartCount() const { return bytes[media_entry::PART_COUNT]; }

    // The name fields as text, up to the first zero byte or the field's end.
    std::string_view Name() const { return Text(media_entry::NAME); }
    std::string_view DisplayName() const { return Text(media_entry::DISPLAY_NAME); }

private:
    std::string_view Text(std::size_t offset) const
    {
        const auto* first = reinterpret_cast<const char*>(bytes.data() + offset);
        std::size_t length = 0;
        while (length < media_entry::NAME_SIZE && first[length] != '\0') {
            ++length;
        }
        return {first, length};
    }
};
static_assert(sizeof(MediaEntry) == media_entry::SIZE);
