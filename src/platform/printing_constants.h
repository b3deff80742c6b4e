#pragma once
// The platform's printing constants that the printer description uses, under
// names of our own so that they can sit beside <windows.h>, whose values the
// Win32 backend checks them against: device-mode field bits (DM_*),
// DocumentProperties modes, named print qualities (DMRES_*), capability
// indexes of DeviceCapabilities (DC_*) and escape codes.

#include <cstdint>

namespace printing {

// dmFields bits.
inline constexpr std::uint32_t FIELD_ORIENTATION = 0x00000001;
inline constexpr std::uint32_t FIELD_PAPER_SIZE = 0x00000002;
inline constexpr std::uint32_t FIELD_PAPER_LENGTH = 0x00000004;
inline constexpr std::uint32_t FIELD_PAPER_WIDTH = 0x00000008;
inline constexpr std::uint32_t FIELD_SCALE = 0x00000010;
inline constexpr std::uint32_t FIELD_COPIES = 0x00000100;
inline constexpr std::uint32_t FIELD_PRINT_QUALITY = 0x00000400;
inline constexpr std::uint32_t FIELD_COLOR = 0x00000800;
inline constexpr std::uint32_t FIELD_Y_RESOLUTION = 0x00002000;

// DocumentProperties modes.
inline constexpr std::uint32_t PROPERTIES_OUT_BUFFER = 2;
inline constexpr std::uint32_t PROPERTIES_IN_BUFFER = 8;

// dmPrintQuality's named values.
inline constexpr std::int16_t PRINT_QUALITY_DRAFT = -1;
inline constexpr std::int16_t PRINT_QUALITY_LOW = -2;
inline constexpr std::int16_t PRINT_QUALITY_MEDIUM = -3;
inline constexpr std::int16_t PRINT_QUALITY_HIGH = -4;

inline constexpr std::int16_t ORIENTATION_PORTRAIT = 1;
inline constexpr std::int16_t COLOR_MODE_COLOR = 2;
inline constexpr std::int16_t PAPER_USER_DEFINED = 256;

// DeviceCapabilities indexes.
inline constexpr std::uint16_t CAPS_FIELDS = 1;
inline constexpr std::uint16_t CAPS_PAPERS = 2;
inline constexpr std::uint16_t CAPS_PAPER_SIZES = 3;
inline constexpr std::uint16_t CAPS_MIN_EXTENT = 4;
inline constexpr std::uint16_t CAPS_MAX_EXTENT = 5;
inline constexpr std::uint16_t CAPS_RESOLUTIONS = 13;
inline constexpr std::uint16_t CAPS_PAPER_NAMES = 16;
inline constexpr std::uint16_t CAPS_ORIENTATION = 17;
inline constexpr std::uint16_t CAPS_COPIES = 18;

// Sizes of the entries that the list capabilities fill.
inline constexpr int PAPER_NAME_SIZE = 64;  // CAPS_PAPER_NAMES: characters per name
inline constexpr int PAPER_SIZE_ENTRY = 8;  // CAPS_PAPER_SIZES: a POINT per paper
inline constexpr int PAPER_CODE_ENTRY = 2;  // CAPS_PAPERS: a WORD per paper
inline constexpr int RESOLUTION_ENTRY = 8;  // CAPS_RESOLUTIONS: two LONGs

// Escapes.
inline constexpr int ESCAPE_QUERY_SUPPORT = 8;
inline constexpr int ESCAPE_PHYSICAL_PAGE_SIZE = 12;
inline constexpr int ESCAPE_PRINTING_OFFSET = 13;

}  // namespace printing
