#pragma once
// The driver's private block of the device mode, as far as the description
// reads it. Which of the two layouts it has is said by the driver's
// capability word. Offsets are from the start of the private block.

#include <cstddef>
#include <cstdint>

namespace private_layout {

// Both layouts.
inline constexpr std::size_t STATE_FLAGS = 2;  // BYTE
inline constexpr std::size_t MODE_WORD = 8;    // WORD
inline constexpr std::uint16_t TAPE_MODE_SPECIAL = 4;
// State flag set while the description rewrites the mode word.
inline constexpr std::uint8_t STATE_REWRITING = 0x04;

namespace extended {

inline constexpr std::size_t HEADER_SIZE = 30;
inline constexpr std::size_t ENTRY_SIZE = 150;
inline constexpr std::size_t BLOCK_SIZE = 0;        // WORD
inline constexpr std::size_t SELECTION_FLAGS = 4;   // WORD
inline constexpr std::size_t MEDIUM_ID = 6;         // WORD
inline constexpr std::size_t FEED_MARGIN_KEY = 10;  // WORD
inline constexpr std::size_t PART_COUNT = 12;       // WORD
inline constexpr std::size_t ENTRY_COUNT = 14;      // WORD
inline constexpr std::size_t LENGTH = 18;           // DWORD, dots
inline constexpr std::size_t OPTION_WORD = 22;      // DWORD

// Block sizes that are valid whatever the entry count says.
inline constexpr std::uint16_t BLOCK_SIZE_20_ENTRIES = 3030;
inline constexpr std::uint16_t BLOCK_SIZE_30_ENTRIES = 4530;
// At most this many entries are read: their offsets stay below 3000.
inline constexpr std::size_t MAX_ENTRIES_READ = 20;

// Selection flags.
inline constexpr std::uint16_t SELECT_BY_MEDIUM = 0x01;
inline constexpr std::uint16_t SELECT_LENGTH = 0x02;
inline constexpr std::uint16_t SELECT_FEED_MARGIN = 0x10;
inline constexpr std::uint16_t SELECT_PART_COUNT = 0x20;

// Entries: the user-media entry layout, id and names up to offset 130, the
// carried fields from 130 to 143.
inline constexpr std::size_t ENTRY_ID = 0;
inline constexpr std::size_t ENTRY_NAME = 2;
inline constexpr std::size_t ENTRY_SECOND_NAME = 66;
inline constexpr std::size_t ENTRY_CARRIED = 130;

static_assert(HEADER_SIZE + ENTRY_SIZE * 20 == BLOCK_SIZE_20_ENTRIES);
static_assert(HEADER_SIZE + ENTRY_SIZE * 30 == BLOCK_SIZE_30_ENTRIES);
static_assert(ENTRY_SIZE * MAX_ENTRIES_READ == 3000);

}  // namespace extended

namespace compact {

inline constexpr std::size_t OPTION_BYTE = 107;  // BYTE
inline constexpr std::size_t ENTRY_COUNT = 109;  // BYTE
inline constexpr std::size_t FIRST_ENTRY = 112;
inline constexpr std::size_t ENTRY_SIZE = 73;

inline constexpr std::size_t ENTRY_NAME = 0;  // 64 characters
inline constexpr std::size_t ENTRY_NAME_SIZE = 64;
inline constexpr std::size_t ENTRY_BASE_ID = 64;  // WORD
inline constexpr std::size_t ENTRY_LENGTH = 66;   // WORD, dots
inline constexpr std::size_t ENTRY_EXTRA_1 = 68;  // BYTE
inline constexpr std::size_t ENTRY_EXTRA_2 = 69;  // WORD, unaligned

inline constexpr std::uint8_t OPTION_BIT_40 = 0x40;
inline constexpr std::uint8_t OPTION_BIT_80 = 0x80;

// User media from the compact layout get ids counting up from this one.
inline constexpr std::uint16_t FIRST_USER_ID = 306;

static_assert(ENTRY_EXTRA_2 + 2 + 2 == ENTRY_SIZE);

}  // namespace compact

}  // namespace private_layout
