#pragma once
// FEED_MARGIN_ENTRY: one margin step the driver offers, 103 bytes, exactly as
// the driver's feed-margin list delivers it.

#include <array>
#include <cstddef>
#include <cstdint>

#include "description/byte_fields.h"

namespace feed_margin_entry {

inline constexpr std::size_t SIZE = 103;
inline constexpr std::size_t KEY = 0;     // BYTE, unsigned step key
inline constexpr std::size_t MARGIN = 1;  // short, dots; unaligned
inline constexpr std::size_t REST = 3;    // 100 bytes carried whole

static_assert(REST + 100 == SIZE);

}  // namespace feed_margin_entry

struct FeedMarginEntry : byte_fields::Record<feed_margin_entry::SIZE> {
    std::uint8_t Key() const { return bytes[feed_margin_entry::KEY]; }
    std::int16_t Margin() const { return byte_fields::Get<std::int16_t>(bytes, feed_margin_entry::MARGIN); }
};
static_assert(sizeof(FeedMarginEntry) == feed_margin_entry::SIZE);
