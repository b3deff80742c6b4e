#include "res_gen/avi_writer.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>

#include "res_gen/avi_format.h"
#include "res_gen/byte_writer.h"

namespace res_gen {

namespace {

using namespace avi_format;

constexpr std::uint32_t MICROSECONDS_PER_SECOND = 1'000'000;

std::size_t BeginChunk(ByteWriter& out, std::uint32_t id)
{
    out.U32(id);
    return out.SizePlaceholder();
}

std::size_t BeginList(ByteWriter& out, std::uint32_t type)
{
    const std::size_t size = BeginChunk(out, FOURCC_LIST);
    out.U32(type);
    return size;
}

// Closes a chunk or list; the size excludes the pad byte that keeps the next
// chunk on an even offset.
void EndChunk(ByteWriter& out, std::size_t size)
{
    out.FillSize(size);
    if (out.Size() % 2 != 0) {
        out.U8(0);
    }
}

void CheckLength(const ByteWriter& out, std::size_t size, std::size_t expected, const char* what)
{
    if (out.Size() - size - 4 != expected) {
        throw std::logic_error(std::string(what) + " has the wrong length");
    }
}

std::uint32_t LargestFrame(const Rle8Clip& clip)
{
    std::size_t largest = 0;
    for (const auto& frame : clip.frames) {
        largest = std::max(largest, frame.size());
    }
    return static_cast<std::uint32_t>(largest);
}

void WriteMainHeader(ByteWriter& out, const Rle8Clip& clip)
{
    const std::size_t size = BeginChunk(out, CHUNK_MAIN_HEADER);
    out.U32(MICROSECONDS_PER_SECOND / clip.framesPerSecond);  // dwMicroSecPerFrame
    out.U32(LargestFrame(clip) * clip.framesPerSecond);       // dwMaxBytesPerSec
    out.U32(0);                                               // dwPaddingGranularity
    out.U32(AVIF_HASINDEX);                                   // dwFlags
    out.U32(static_cast<std::uint32_t>(clip.frames.size()));  // dwTotalFrames
    out.U32(0);                                               // dwInitialFrames
    out.U32(1);                                               // dwStreams
    out.U32(LargestFrame(clip));                              // dwSuggestedBufferSize
    out.I32(clip.width);                                      // dwWidth
    out.I32(clip.height);                                     // dwHeight
    out.Zeros(4 * 4);                                         // dwReserved[4]
    CheckLength(out, size, MAIN_HEADER_SIZE, "avih");
    EndChunk(out, size);
}

void WriteStreamHeader(ByteWriter& out, const Rle8Clip& clip)
{
    const std::size_t size = BeginChunk(out, CHUNK_STREAM_HEADER);
    out.U32(STREAM_TYPE_VIDEO);                               // fccType
    out.U32(HANDLER_RLE);                                     // fccHandler
    out.U32(0);                                               // dwFlags
    out.U16(0);                                               // wPriority
    out.U16(0);                                               // wLanguage
    out.U32(0);                                               // dwInitialFrames
    out.U32(1);                                               // dwScale
    out.U32(clip.framesPerSecond);                            // dwRate
    out.U32(0);                                               // dwStart
    out.U32(static_cast<std::uint32_t>(clip.frames.size()));  // dwLength
    out.U32(LargestFrame(clip));                              // dwSuggestedBufferSize
    out.U32(QUALITY_DEFAULT);                                 // dwQuality
    out.U32(0);                                               // dwSampleSize, 0 for video
    out.U16(0);                                               // rcFrame: left, top, right, bottom
    out.U16(0);
    out.U16(static_cast<std::uint16_t>(clip.width));
    out.U16(static_cast<std::uint16_t>(clip.height));
    CheckLength(out, size, STREAM_HEADER_SIZE, "strh");
    EndChunk(out, size);
}

void WriteStreamFormat(ByteWriter& out, const Rle8Clip& clip)
{
    const std::size_t size = BeginChunk(out, CHUNK_STREAM_FORMAT);
    const auto colours = static_cast<std::uint32_t>(clip.palette.size());
    out.U32(BITMAP_INFO_HEADER_SIZE);  // biSize
    out.I32(clip.width);               // biWidth
    out.I32(clip.height);              // biHeight, positive: rows bottom up
    out.U16(BITMAP_PLANES);            // biPlanes
    out.U16(BITS_PER_PIXEL_8);         // biBitCount
    out.U32(BI_RLE8);                  // biCompression
    out.U32(LargestFrame(clip));       // biSizeImage
    out.I32(0);                        // biXPelsPerMeter
    out.I32(0);                        // biYPelsPerMeter
    out.U32(colours);                  // biClrUsed
    out.U32(0);                        // biClrImportant: all of them
    for (const Rgb& colour : clip.palette) {
        out.U8(colour.blue);
        out.U8(colour.green);
        out.U8(colour.red);
        out.U8(0);
    }
    CheckLength(out, size, BITMAP_INFO_HEADER_SIZE + colours * PALETTE_ENTRY_SIZE, "strf");
    EndChunk(out, size);
}

void WriteIndex(ByteWriter& out, const Rle8Clip& clip)
{
    const std::size_t size = BeginChunk(out, CHUNK_INDEX);
    std::size_t offset = INDEX_OFFSET_ORIGIN;
    for (const auto& frame : clip.frames) {
        out.U32(CHUNK_COMPRESSED_FRAME);
        out.U32(AVIIF_KEYFRAME);
        out.U32(static_cast<std::uint32_t>(offset));
        out.U32(static_cast<std::uint32_t>(frame.size()));
        offset += CHUNK_HEADER_SIZE + frame.size() + frame.size() % 2;
    }
    CheckLength(out, size, clip.frames.size() * INDEX_ENTRY_SIZE, "idx1");
    EndChunk(out, size);
}

// junkSize: the whole JUNK chunk, header included; none when empty.
std::vector<std::uint8_t> Write(const Rle8Clip& clip, std::optional<std::size_t> junkSize)
{
    ByteWriter out;
    const std::size_t riff = BeginChunk(out, FOURCC_RIFF);
    out.U32(FORM_AVI);

    const std::size_t headers = BeginList(out, LIST_HEADERS);
    WriteMainHeader(out, clip);
    const std::size_t stream = BeginList(out, LIST_STREAM);
    WriteStreamHeader(out, clip);
    WriteStreamFormat(out, clip);
    EndChunk(out, stream);
    EndChunk(out, headers);

    if (junkSize) {
        const std::size_t junk = BeginChunk(out, FOURCC_JUNK);
        out.Zeros(*junkSize - CHUNK_HEADER_SIZE);
        EndChunk(out, junk);
    }

    const std::size_t movie = BeginList(out, LIST_MOVIE);
    for (const auto& frame : clip.frames) {
        const std::size_t chunk = BeginChunk(out, CHUNK_COMPRESSED_FRAME);
        out.Bytes(frame);
        EndChunk(out, chunk);
    }
    EndChunk(out, movie);

    WriteIndex(out, clip);
    EndChunk(out, riff);
    return std::move(out).Take();
}

}  // namespace

std::size_t AviNaturalSize(const Rle8Clip& clip)
{
    return Write(clip, std::nullopt).size();
}

std::vector<std::uint8_t> WriteAvi(const Rle8Clip& clip, std::size_t fileSize)
{
    const std::size_t natural = AviNaturalSize(clip);
    if (natural == fileSize) {
        return Write(clip, std::nullopt);
    }
    if (fileSize < natural + CHUNK_HEADER_SIZE || (fileSize - natural) % 2 != 0) {
        throw std::length_error("the clip takes " + std::to_string(natural) + " bytes and cannot be padded to " +
                                std::to_string(fileSize));
    }
    return Write(clip, fileSize - natural);
}

}  // namespace res_gen
