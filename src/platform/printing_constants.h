#pragma once
// The platform's printing constants that the printer description uses, under
// the platform's own names: device-mode field bits, capability indexes of
// DeviceCapabilities, escape codes and the named print qualities.

#include <cstdint>

namespace printing {

// dmFields bits.
inline constexpr std::uint32_t DM_ORIENTATION = 0x00000001;
inline constexpr std::uint32_t DM_PAPERSIZE = 0x00000002;
inline constexpr std::uint32_t DM_PAPERLENGTH = 0x00000004;
inline constexpr std::uint32_t DM_PAPERWIDTH = 0x00000008;
inline constexpr std::uint32_t DM_SCALE = 0x00000010;
inline constexpr std::uint32_t DM_COPIES = 0x00000100;
inline constexpr std::uint32_t DM_PRINTQUALITY = 0x00000400;
inline constexpr std::uint32_t DM_COLOR = 0x00000800;
inline constexpr std::uint32_t DM_YRESOLUTION = 0x00002000;

// DocumentProperties modes.
inline constexpr std::uint32_t DM_OUT_BUFFER = 2;
inline constexpr std::uint32_t DM_IN_BUFFER = 8;

// dmPrintQuality's named values.
inline constexpr std::int16_t DMRES_DRAFT = -1;
inline constexpr std::int16_t DMRES_LOW = -2;
inline constexpr std::int16_t DMRES_MEDIUM = -3;
inline constexpr std::int16_t DMRES_HIGH = -4;

inline constexpr std::int16_t DMORIENT_PORTRAIT = 1;
inline constexpr std::int16_t DMCOLOR_COLOR = 2;
inline constexpr std::int16_t DMPAPER_USER = 256;

// DeviceCapabilities indexes.
inline constexpr std::uint16_t DC_FIELDS = 1;
inline constexpr std::uint16_t DC_PAPERS = 2;
inline constexpr std::uint16_t DC_PAPERSIZE = 3;
inline constexpr std::uint16_t DC_MINEXTENT = 4;
inline constexpr std::uint16_t DC_MAXEXTENT = 5;
inline constexpr std::uint16_t DC_ENUMRESOLUTIONS = 13;
inline constexpr std::uint16_t DC_PAPERNAMES = 16;
inline constexpr std::uint16_t DC_ORIENTATION = 17;
inline constexpr std::uint16_t DC_COPIES = 18;

// Sizes of the entries that the list capabilities fill.
inline constexpr int PAPER_NAME_SIZE = 64;  // DC_PAPERNAMES: characters per name
inline constexpr int PAPER_SIZE_ENTRY = 8;  // DC_PAPERSIZE: a POINT per paper
inline constexpr int PAPER_CODE_ENTRY = 2;  // DC_PAPERS: a WORD per paper
inline constexpr int RESOLUTION_ENTRY = 8;  // DC_ENUMRESOLUTIONS: two LONGs

// Escapes.
inline constexpr int QUERYESCSUPPORT = 8;
inline constexpr int GETPHYSPAGESIZE = 12;
inline constexpr int GETPRINTINGOFFSET = 13;

// Printer attributes.
inline constexpr std::uint32_t PRINTER_ATTRIBUTE_DEFAULT = 0x00000004;
inline constexpr std::uint32_t PRINTER_ATTRIBUTE_HIDDEN = 0x00000020;

}  // namespace printing
