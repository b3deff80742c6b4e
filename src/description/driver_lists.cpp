#include "description/driver_lists.h"

namespace driver_lists {

std::optional<std::size_t> CheckedCount(std::int32_t answer)
{
    if (answer <= 0 || answer > MAX_ENTRIES) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(answer);
}

std::optional<List> Fetch(const std::function<std::int32_t(std::span<std::uint8_t>)>& ask, std::size_t entrySize)
{
    const auto count = CheckedCount(ask({}));
    if (!count) {
        return std::nullopt;
    }
    List list;
    list.entrySize = entrySize;
    list.memory = platform::GlobalMemory::AllocateZeroed(*count * entrySize);
    if (!list.memory) {
        return std::nullopt;
    }
    const auto filled = ask(list.memory.bytes());
    // A driver that says it filled fewer entries than it announced is taken
    // at its word; more than the buffer holds is never read.
    list.count = filled > 0 && static_cast<std::size_t>(filled) < *count ? static_cast<std::size_t>(filled) : *count;
    return list;
}

}  // namespace driver_lists
