#pragma once
// Movable, zero-filled global memory, locked for as long as it is held: the
// storage the platform's printer calls take a device mode in.

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/unique_handle.h"

namespace platform {

class GlobalMemory {
public:
    GlobalMemory() = default;

    // Allocates and locks size zero bytes; empty when that fails or size is 0.
    static GlobalMemory AllocateZeroed(std::size_t size);

    explicit operator bool() const { return static_cast<bool>(m_block); }
    std::uint8_t* data() const { return m_block.Get().data; }
    std::size_t size() const { return m_block.Get().size; }
    std::span<std::uint8_t> bytes() const { return {data(), size()}; }

    // Unlocks and frees the memory, if any is held.
    void Free() { m_block.Reset(); }

private:
    // The memory's handle and where it is locked.
    struct Block {
        void* handle = nullptr;
        std::uint8_t* data = nullptr;
        std::size_t size = 0;
        bool operator==(const Block&) const = default;
    };
    static void ReleaseBlock(Block block);
    UniqueHandle<Block, &GlobalMemory::ReleaseBlock> m_block;
};

}  // namespace platform
