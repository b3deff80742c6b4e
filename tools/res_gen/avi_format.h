#pragma once
// Layout of the RIFF AVI files the clip generator writes: chunk identifiers,
// the sizes of the fixed headers and the flag values they carry. Only what a
// single-stream, palette-based video clip needs is here.

#include <cstddef>
#include <cstdint>

namespace avi_format {

// A four-character code as it lies in the file: first character first, so
// read as a little-endian 32-bit value the first character is the low byte.
constexpr std::uint32_t FourCC(const char (&code)[5])
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(code[0])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(code[1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(code[2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(code[3])) << 24;
}

// Chunk and list identifiers.
inline constexpr std::uint32_t FOURCC_RIFF = FourCC("RIFF");
inline constexpr std::uint32_t FOURCC_LIST = FourCC("LIST");
inline constexpr std::uint32_t FOURCC_JUNK = FourCC("JUNK");
inline constexpr std::uint32_t FORM_AVI = FourCC("AVI ");
inline constexpr std::uint32_t LIST_HEADERS = FourCC("hdrl");
inline constexpr std::uint32_t LIST_STREAM = FourCC("strl");
inline constexpr std::uint32_t LIST_MOVIE = FourCC("movi");
inline constexpr std::uint32_t CHUNK_MAIN_HEADER = FourCC("avih");
inline constexpr std::uint32_t CHUNK_STREAM_HEADER = FourCC("strh");
inline constexpr std::uint32_t CHUNK_STREAM_FORMAT = FourCC("strf");
inline constexpr std::uint32_t CHUNK_INDEX = FourCC("idx1");
// Frame data of stream 00, "dc" for a compressed bitmap.
inline constexpr std::uint32_t CHUNK_COMPRESSED_FRAME = FourCC("00dc");

// Stream type and the decompressor that handles RLE8 bitmaps.
inline constexpr std::uint32_t STREAM_TYPE_VIDEO = FourCC("vids");
inline constexpr std::uint32_t HANDLER_RLE = FourCC("RLE ");

// Sizes of the fixed parts, in bytes.
inline constexpr std::size_t CHUNK_HEADER_SIZE = 8;    // identifier, size
inline constexpr std::size_t LIST_HEADER_SIZE = 12;    // "LIST", size, list type
inline constexpr std::size_t MAIN_HEADER_SIZE = 56;    // avih
inline constexpr std::size_t STREAM_HEADER_SIZE = 56;  // strh
inline constexpr std::size_t BITMAP_INFO_HEADER_SIZE = 40;
inline constexpr std::size_t PALETTE_ENTRY_SIZE = 4;  // blue, green, red, reserved
inline constexpr std::size_t INDEX_ENTRY_SIZE = 16;   // identifier, flags, offset, length

// Main header flags.
inline constexpr std::uint32_t AVIF_HASINDEX = 0x10;
// Index entry flags.
inline constexpr std::uint32_t AVIIF_KEYFRAME = 0x10;
// Stream header: let the player choose the quality.
inline constexpr std::uint32_t QUALITY_DEFAULT = 0xFFFFFFFF;

// Bitmap format.
inline constexpr std::uint16_t BITMAP_PLANES = 1;
inline constexpr std::uint16_t BITS_PER_PIXEL_8 = 8;
inline constexpr std::uint32_t BI_RLE8 = 1;

// Index entry offsets count from the "movi" list type, which comes 4 bytes
// before the first frame chunk.
inline constexpr std::size_t INDEX_OFFSET_ORIGIN = 4;

}  // namespace avi_format
