#pragma once
// The public fields of the platform's device mode (DEVMODEA) that the
// printer description reads and writes, by byte offset. The driver's private
// block follows the public part: it starts dmSize bytes in and is
// dmDriverExtra bytes long.

#include <cstddef>
#include <cstdint>

namespace devmode_layout {

inline constexpr std::size_t DM_DEVICE_NAME = 0;  // 32 characters
inline constexpr std::size_t DM_SPEC_VERSION = 32;
inline constexpr std::size_t DM_DRIVER_VERSION = 34;
inline constexpr std::size_t DM_SIZE = 36;          // WORD
inline constexpr std::size_t DM_DRIVER_EXTRA = 38;  // WORD
inline constexpr std::size_t DM_FIELDS = 40;        // DWORD
inline constexpr std::size_t DM_ORIENTATION = 44;   // short
inline constexpr std::size_t DM_PAPER_SIZE = 46;    // short
inline constexpr std::size_t DM_PAPER_LENGTH = 48;  // short, tenths of a millimetre
inline constexpr std::size_t DM_PAPER_WIDTH = 50;   // short, tenths of a millimetre
inline constexpr std::size_t DM_SCALE = 52;         // short
inline constexpr std::size_t DM_COPIES = 54;        // short
inline constexpr std::size_t DM_DEFAULT_SOURCE = 56;
inline constexpr std::size_t DM_PRINT_QUALITY = 58;  // short
inline constexpr std::size_t DM_COLOR = 60;          // short
inline constexpr std::size_t DM_DUPLEX = 62;
inline constexpr std::size_t DM_Y_RESOLUTION = 64;  // short
inline constexpr std::size_t DM_FORM_NAME = 70;     // 32 characters

// The size of the public part as this platform defines it.
inline constexpr std::size_t PUBLIC_SIZE = 156;

static_assert(DM_FIELDS == DM_SIZE + 4 && DM_ORIENTATION == DM_FIELDS + 4);
static_assert(DM_Y_RESOLUTION == DM_COLOR + 4 && DM_FORM_NAME + 32 + 2 + 4 * 13 == PUBLIC_SIZE);

}  // namespace devmode_layout
