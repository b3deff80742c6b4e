#pragma once
// Movable, zero-filled global memory, locked for as long as it is held: the
// storage the platform's printer calls take a device mode in.

#include <cstddef>
#include <cstdint>
#include <span>

namespace platform {

class GlobalMemory {
public:
    GlobalMemory() = default;
    ~GlobalMemory();
    GlobalMemory(const GlobalMemory&) = delete;
    GlobalMemory& operator=(const GlobalMemory&) = delete;
    GlobalMemory(GlobalMemory&& other) noexcept;
    GlobalMemory& operator=(GlobalMemory&& other) noexcept;

    // Allocates and locks size zero bytes; empty when that fails or size is 0.
    static GlobalMemory AllocateZeroed(std::size_t size);

    explicit operator bool() const { return m_data != nullptr; }
    std::uint8_t* data() const { return m_data; }
    std::size_t size() const { return m_size; }
    std::span<std::uint8_t> bytes() const { return {m_data, m_size}; }

    // Unlocks and frees the memory, if any is held.
    void Free();

private:
    void* m_handle = nullptr;
    std::uint8_t* m_data = nullptr;
    std::size_t m_size = 0;
};

}  // namespace platform
