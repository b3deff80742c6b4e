#pragma once
// A little-endian byte sink for the resource files made here, with the RIFF
// habit of writing a size field first and filling it in once the content is
// known.

#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace res_gen {

class ByteWriter {
public:
    void U8(std::uint8_t value) { m_bytes.push_back(value); }
    void U16(std::uint16_t value)
    {
        U8(static_cast<std::uint8_t>(value & 0xFF));
        U8(static_cast<std::uint8_t>(value >> 8));
    }
    void U32(std::uint32_t value)
    {
        U16(static_cast<std::uint16_t>(value & 0xFFFF));
        U16(static_cast<std::uint16_t>(value >> 16));
    }
    void I32(std::int32_t value) { U32(static_cast<std::uint32_t>(value)); }
    void Bytes(std::span<const std::uint8_t> data) { m_bytes.insert(m_bytes.end(), data.begin(), data.end()); }
    void Zeros(std::size_t count) { m_bytes.resize(m_bytes.size() + count, 0); }

    // Writes a placeholder 32-bit size and returns where it lies.
    std::size_t SizePlaceholder()
    {
        const std::size_t at = m_bytes.size();
        U32(0);
        return at;
    }
    // Fills a placeholder with the number of bytes written after it.
    void FillSize(std::size_t placeholder)
    {
        const auto size = static_cast<std::uint32_t>(m_bytes.size() - placeholder - 4);
        for (std::size_t i = 0; i < 4; ++i) {
            m_bytes[placeholder + i] = static_cast<std::uint8_t>(size >> (8 * i));
        }
    }

    std::size_t Size() const { return m_bytes.size(); }
    std::vector<std::uint8_t> Take() && { return std::move(m_bytes); }

private:
    std::vector<std::uint8_t> m_bytes;
};

}  // namespace res_gen
