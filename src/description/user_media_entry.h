#pragma once
// USER_MEDIA_ENTRY: a medium the user defined in the driver's settings,
// 150 bytes, as the description keeps it.

#include <array>
#include <cstddef>
#include <cstdint>

#include "description/byte_fields.h"

namespace user_media_entry {

inline constexpr std::size_t SIZE = 150;
inline constexpr std::size_t ID = 0;            // WORD
inline constexpr std::size_t NAME = 2;          // 64 characters, not always terminated
inline constexpr std::size_t SECOND_NAME = 66;  // 64 characters
inline constexpr std::size_t NAME_SIZE = 64;
inline constexpr std::size_t BASE_ID = 130;     // WORD
inline constexpr std::size_t LENGTH = 132;      // WORD, dots
inline constexpr std::size_t WIDTH = 134;       // WORD, dots
inline constexpr std::size_t EXTRA_1 = 136;     // WORD
inline constexpr std::size_t EXTRA_2 = 138;     // WORD
inline constexpr std::size_t PART_COUNT = 140;  // WORD
inline constexpr std::size_t EXTRA_3 = 142;     // WORD
inline constexpr std::size_t RESERVED = 144;    // 6 bytes

// The bytes from BASE_ID up to RESERVED travel unchanged from the private data.
inline constexpr std::size_t CARRIED_SIZE = RESERVED - BASE_ID;

static_assert(SECOND_NAME == NAME + NAME_SIZE && BASE_ID == SECOND_NAME + NAME_SIZE);
static_assert(RESERVED + 6 == SIZE && CARRIED_SIZE == 14);

}  // namespace user_media_entry

struct UserMediaEntry : byte_fields::Record<user_media_entry::SIZE> {
    std::uint16_t Id() const { return Get<std::uint16_t>(user_media_entry::ID); }
    std::uint16_t BaseId() const { return Get<std::uint16_t>(user_media_entry::BASE_ID); }
    std::uint16_t Length() const { return Get<std::uint16_t>(user_media_entry::LENGTH); }
    std::uint16_t Width() const { return Get<std::uint16_t>(user_media_entry::WIDTH); }
    std::uint16_t PartCount() const { return Get<std::uint16_t>(user_media_entry::PART_COUNT); }
};
static_assert(sizeof(UserMediaEntry) == user_media_entry::SIZE);
