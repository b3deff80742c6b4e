#pragma once
// Lists that a driver answers through DeviceCapabilities-shaped questions:
// first the number of entries, then the entries into a buffer made for that
// number. A driver may answer anything, so the count is checked before any
// memory is given for it.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "catalogue/info_library.h"
#include "platform/global_memory.h"

namespace driver_lists {

// More entries than any driver of this family lists; a larger or negative
// count is refused rather than allocated. The same bound as for the
// information library's lists.
inline constexpr std::int32_t MAX_ENTRIES = MDC_MAX_LIST_ENTRIES;

inline constexpr std::int32_t NO_ANSWER = -1;

struct List {
    platform::GlobalMemory memory;
    std::size_t count = 0;  // entries the buffer holds for certain
    std::size_t entrySize = 0;

    std::span<const std::uint8_t> Entry(std::size_t index) const
    {
        return memory.bytes().subspan(index * entrySize, entrySize);
    }
};

// Asks for the count (ask with an empty buffer), then for the entries into a
// fresh zero-filled buffer of that many entries. Empty when the driver has no
// answer, the count is 0 or out of range, or no memory can be had.
std::optional<List> Fetch(const std::function<std::int32_t(std::span<std::uint8_t>)>& ask, std::size_t entrySize);

// A count as a driver answered it, when it is one that may be trusted.
std::optional<std::size_t> CheckedCount(std::int32_t answer);

}  // namespace driver_lists
