#pragma once
// The public fields of the platform's device mode (DEVMODEA) that the
// printer description reads and writes, by byte offset. The driver's private
// block follows the public part: it starts dmSize bytes in and is
// dmDriverExtra bytes long.

#include <cstddef>
#include <cstdint>

namespace devmode_layout {

inline constexpr std::size_t dmDeviceName = 0;  // 32 characters
inline constexpr std::size_t dmSpecVersion = 32;
inline constexpr std::size_t dmDriverVersion = 34;
inline constexpr std::size_t dmSize = 36;         // WORD
inline constexpr std::size_t dmDriverExtra = 38;  // WORD
inline constexpr std::size_t dmFields = 40;       // DWORD
inline constexpr std::size_t dmOrientation = 44;  // short
inline constexpr std::size_t dmPaperSize = 46;    // short
inline constexpr std::size_t dmPaperLength = 48;  // short, tenths of a millimetre
inline constexpr std::size_t dmPaperWidth = 50;   // short, tenths of a millimetre
inline constexpr std::size_t dmScale = 52;        // short
inline constexpr std::size_t dmCopies = 54;       // short
inline constexpr std::size_t dmDefaultSource = 56;
inline constexpr std::size_t dmPrintQuality = 58;  // short
inline constexpr std::size_t dmColor = 60;         // short
inline constexpr std::size_t dmDuplex = 62;
inline constexpr std::size_t dmYResolution = 64;  // short
inline constexpr std::size_t dmFormName = 70;     // 32 characters

// The size of the public part as this platform defines it.
inline constexpr std::size_t PUBLIC_SIZE = 156;

static_assert(dmFields == dmSize + 4 && dmOrientation == dmFields + 4);
static_assert(dmYResolution == dmColor + 4 && dmFormName + 32 + 2 + 4 * 13 == PUBLIC_SIZE);

}  // namespace devmode_layout
