#pragma once
// Little-endian fields at byte offsets, read and written one byte at a time,
// so no layout is ever reached through a misaligned pointer. The checked forms
// refuse a field that does not lie wholly inside the bytes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <type_traits>

namespace byte_fields {

template <class T>
concept Field = std::is_integral_v<T> && sizeof(T) <= 4;

template <Field T>
constexpr bool Fits(std::size_t size, std::size_t offset)
{
    return offset <= size && size - offset >= sizeof(T);
}

// Reads a field that the caller knows lies inside the bytes.
template <Field T>
constexpr T Get(std::span<const std::uint8_t> bytes, std::size_t offset)
{
    std::uint32_t value = 0;
    for (std::size_t i = sizeof(T); i-- > 0;) {
        value = (value << 8) | bytes[offset + i];
    }
    return static_cast<T>(value);
}

template <Field T>
constexpr void Put(std::span<std::uint8_t> bytes, std::size_t offset, T value)
{
    auto bits = static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<T>>(value));
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        bytes[offset + i] = static_cast<std::uint8_t>(bits & 0xFF);
        bits >>= 8;
    }
}

// Reads a field, or nothing when it does not lie wholly inside the bytes.
template <Field T>
constexpr std::optional<T> TryGet(std::span<const std::uint8_t> bytes, std::size_t offset)
{
    if (!Fits<T>(bytes.size(), offset)) {
        return std::nullopt;
    }
    return Get<T>(bytes, offset);
}

// Writes a field when it lies wholly inside the bytes; nothing otherwise.
template <Field T>
constexpr void TryPut(std::span<std::uint8_t> bytes, std::size_t offset, T value)
{
    if (Fits<T>(bytes.size(), offset)) {
        Put<T>(bytes, offset, value);
    }
}

// A fixed-size record of little-endian fields, kept as its bytes.
template <std::size_t Size>
struct Record {
    std::array<std::uint8_t, Size> bytes{};

    template <Field T>
    T Get(std::size_t offset) const
    {
        return byte_fields::Get<T>(bytes, offset);
    }
    template <Field T>
    void Put(std::size_t offset, T value)
    {
        byte_fields::Put<T>(bytes, offset, value);
    }
};

}  // namespace byte_fields
