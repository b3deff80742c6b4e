// The generated resources: the progress clip and the application icon. Both
// files are read back here by readers of our own, written from the file
// formats and not from the generators, so a slip in either shows up.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "res/gen/app_icon.h"
#include "res/gen/clip_drawing.h"
#include "res/gen/indexed_image.h"
#include "res/gen/rle8.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using res_gen::IndexedImage;

Bytes ReadSourceFile(const std::string& relative)
{
    std::ifstream file(std::string(VR38_SOURCE_DIR) + "/" + relative, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::uint32_t U16(std::span<const std::uint8_t> data, std::size_t at)
{
    if (at + 2 > data.size()) {
        throw std::out_of_range("read past the end at " + std::to_string(at));
    }
    return data[at] | data[at + 1] << 8;
}

std::uint32_t U32(std::span<const std::uint8_t> data, std::size_t at)
{
    return U16(data, at) | U16(data, at + 2) << 16;
}

std::string Tag(std::span<const std::uint8_t> data, std::size_t at)
{
    if (at + 4 > data.size()) {
        throw std::out_of_range("tag past the end at " + std::to_string(at));
    }
    return std::string(data.begin() + static_cast<std::ptrdiff_t>(at),
                       data.begin() + static_cast<std::ptrdiff_t>(at + 4));
}

// Decodes a bottom-up RLE8 bitmap into rows from the top. Strict: every row is
// filled to its last pixel before its end of line, no position jumps, and the
// end of bitmap comes right after the last row's end of line.
IndexedImage DecodeRle8(std::span<const std::uint8_t> data, int width, int height)
{
    IndexedImage image(width, height, 0xEE);
    std::size_t at = 0;
    int x = 0;
    int row = 0;  // from the bottom
    const auto fail = [&](const std::string& what) {
        throw std::runtime_error(what + " at byte " + std::to_string(at) + ", row " + std::to_string(row));
    };
    const auto put = [&](std::uint8_t pixel) {
        if (x >= width || row >= height) {
            fail("pixel outside the bitmap");
        }
        image.pixels[static_cast<std::size_t>((height - 1 - row) * width + x++)] = pixel;
    };
    while (true) {
        if (at + 2 > data.size()) {
            fail("data ends without end of bitmap");
        }
        const std::uint8_t count = data[at];
        const std::uint8_t value = data[at + 1];
        at += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i) {
                put(value);
            }
        } else if (value == 0) {
            if (x != width) {
                fail("end of line before the row is full");
            }
            x = 0;
            ++row;
        } else if (value == 1) {
            if (row != height || x != 0) {
                fail("end of bitmap before every row is closed");
            }
            if (at != data.size()) {
                fail("bytes after end of bitmap");
            }
            return image;
        } else if (value == 2) {
            fail("position jump in a key frame");
        } else {
            if (at + value + value % 2 > data.size()) {
                fail("absolute stretch runs past the end");
            }
            for (int i = 0; i < value; ++i) {
                put(data[at + static_cast<std::size_t>(i)]);
            }
            at += value + value % 2u;
        }
    }
}

// Empty when the pictures agree, else where they first differ.
std::string Difference(const IndexedImage& actual, const IndexedImage& expected)
{
    if (actual.width != expected.width || actual.height != expected.height) {
        return "size differs";
    }
    for (int y = 0; y < actual.height; ++y) {
        for (int x = 0; x < actual.width; ++x) {
            if (actual.At(x, y) != expected.At(x, y)) {
                return "pixel " + std::to_string(x) + ", " + std::to_string(y) + " is " +
                       std::to_string(actual.At(x, y)) + ", not " + std::to_string(expected.At(x, y));
            }
        }
    }
    return "";
}

TEST(Rle8Encoder, EveryRowShapeDecodesToTheSamePixels)
{
    std::vector<IndexedImage> cases;
    cases.emplace_back(1, 1, 5);  // one pixel
    IndexedImage pair(2, 1, 1);   // too short for an absolute stretch
    pair.pixels[1] = 2;
    cases.push_back(pair);
    IndexedImage triple(3, 2, 1);  // shortest absolute stretch, odd, padded
    triple.pixels = {1, 2, 3, 4, 4, 5};
    cases.push_back(triple);
    cases.emplace_back(600, 1, 7);     // run longer than one count byte holds
    IndexedImage distinct(600, 2, 0);  // absolute stretches longer than 255
    for (std::size_t i = 0; i < distinct.pixels.size(); ++i) {
        distinct.pixels[i] = static_cast<std::uint8_t>(i % 251 + 1);
    }
    cases.push_back(distinct);
    IndexedImage mixed(260, 40, 0);  // runs of 1 to 6 in few colours
    std::uint32_t state = 12345;
    for (std::size_t i = 0; i < mixed.pixels.size();) {
        state = state * 1103515245u + 12345u;
        const std::size_t run = (state >> 16) % 6 + 1;
        const auto colour = static_cast<std::uint8_t>((state >> 8) % 4);
        for (std::size_t k = 0; k < run && i < mixed.pixels.size(); ++k) {
            mixed.pixels[i++] = colour;
        }
    }
    cases.push_back(mixed);

    for (const IndexedImage& image : cases) {
        SCOPED_TRACE(std::to_string(image.width) + " x " + std::to_string(image.height));
        EXPECT_EQ(Difference(DecodeRle8(res_gen::EncodeRle8(image), image.width, image.height), image), "");
    }
}

// -- The clip ---------------------------------------------------------------

struct Chunk {
    std::string id;
    std::size_t data;  // offset of the content
    std::size_t size;
};

// The chunks inside [begin, end), checking each fits and is padded to even.
std::vector<Chunk> Children(std::span<const std::uint8_t> file, std::size_t begin, std::size_t end)
{
    std::vector<Chunk> chunks;
    while (begin < end) {
        Chunk chunk{Tag(file, begin), begin + 8, U32(file, begin + 4)};
        if (chunk.data + chunk.size > end) {
            throw std::runtime_error(chunk.id + " overruns its parent");
        }
        chunks.push_back(chunk);
        begin = chunk.data + chunk.size + chunk.size % 2;
    }
    if (begin != end) {
        throw std::runtime_error("chunks overrun their parent");
    }
    return chunks;
}

const Chunk& Find(const std::vector<Chunk>& chunks, std::span<const std::uint8_t> file, const std::string& id,
                  const std::string& listType = "")
{
    for (const Chunk& chunk : chunks) {
        if (chunk.id == id && (listType.empty() || Tag(file, chunk.data) == listType)) {
            return chunk;
        }
    }
    throw std::runtime_error("no " + id + " " + listType);
}

std::span<const std::uint8_t> ClipFile()
{
    static const Bytes file = res_gen::BuildTransferClip();
    return file;
}

std::vector<Chunk> ClipFrames()
{
    const auto top = Children(ClipFile(), 12, ClipFile().size());
    const Chunk& movie = Find(top, ClipFile(), "LIST", "movi");
    return Children(ClipFile(), movie.data + 4, movie.data + movie.size);
}

TEST(TransferClip, MatchesTheCommittedFile)
{
    EXPECT_TRUE(std::ranges::equal(ClipFile(), ReadSourceFile("src/res/transfer.avi")))
        << "src/res/transfer.avi is stale: run make_clip";
}

TEST(TransferClip, EveryFrameDecodesToItsDrawingWithABackgroundCorner)
{
    const auto frames = ClipFrames();
    ASSERT_EQ(frames.size(), std::size_t{res_gen::CLIP_FRAME_COUNT});
    for (std::size_t i = 0; i < frames.size(); ++i) {
        SCOPED_TRACE("frame " + std::to_string(i));
        EXPECT_EQ(frames[i].id, "00dc");
        const IndexedImage decoded = DecodeRle8(ClipFile().subspan(frames[i].data, frames[i].size), 260, 40);
        EXPECT_EQ(Difference(decoded, res_gen::DrawTransferFrame(static_cast<int>(i))), "");
        // The control treats the first pixel's colour as transparent.
        EXPECT_EQ(decoded.At(0, 39), res_gen::CLIP_BACKGROUND);
    }
    const auto palette = res_gen::TransferClipPalette();
    EXPECT_EQ(std::ranges::count(palette, palette[res_gen::CLIP_BACKGROUND]), 1) << "background colour reused";
}

TEST(TransferClip, HeadersDescribeAPlayableSilentRle8Clip)
{
    const auto file = ClipFile();
    ASSERT_EQ(file.size(), 10752u);
    EXPECT_EQ(Tag(file, 0), "RIFF");
    EXPECT_EQ(U32(file, 4), file.size() - 8);
    EXPECT_EQ(Tag(file, 8), "AVI ");

    std::uint32_t largest = 0;
    for (const Chunk& frame : ClipFrames()) {
        largest = std::max<std::uint32_t>(largest, static_cast<std::uint32_t>(frame.size));
    }

    const auto top = Children(file, 12, file.size());
    const Chunk& headers = Find(top, file, "LIST", "hdrl");
    const auto headerChunks = Children(file, headers.data + 4, headers.data + headers.size);
    const std::size_t main = Find(headerChunks, file, "avih").data;
    EXPECT_EQ(U32(file, main + 0), 100000u);  // microseconds per frame
    EXPECT_NE(U32(file, main + 12) & 0x10, 0u) << "index flag";
    EXPECT_EQ(U32(file, main + 16), 17u);      // frames
    EXPECT_EQ(U32(file, main + 24), 1u);       // streams: no audio
    EXPECT_GE(U32(file, main + 28), largest);  // suggested buffer
    EXPECT_EQ(U32(file, main + 32), 260u);
    EXPECT_EQ(U32(file, main + 36), 40u);

    EXPECT_EQ(std::ranges::count_if(headerChunks, [](const Chunk& c) { return c.id == "LIST"; }), 1);
    const Chunk& streamList = Find(headerChunks, file, "LIST", "strl");
    const auto stream = Children(file, streamList.data + 4, streamList.data + streamList.size);
    const std::size_t strh = Find(stream, file, "strh").data;
    EXPECT_EQ(Tag(file, strh), "vids");
    EXPECT_TRUE(Tag(file, strh + 4) == "RLE " || U32(file, strh + 4) == 0);
    EXPECT_EQ(U32(file, strh + 20), 1u);       // scale
    EXPECT_EQ(U32(file, strh + 24), 10u);      // rate
    EXPECT_EQ(U32(file, strh + 32), 17u);      // length
    EXPECT_GE(U32(file, strh + 36), largest);  // suggested buffer

    const Chunk& format = Find(stream, file, "strf");
    EXPECT_EQ(format.size, 40u + 13 * 4);
    EXPECT_EQ(U32(file, format.data + 0), 40u);
    EXPECT_EQ(U32(file, format.data + 4), 260u);
    EXPECT_EQ(U32(file, format.data + 8), 40u);  // positive: bottom-up
    EXPECT_EQ(U16(file, format.data + 14), 8u);
    EXPECT_EQ(U32(file, format.data + 16), 1u);  // BI_RLE8
    EXPECT_GE(U32(file, format.data + 20), largest);
    EXPECT_EQ(U32(file, format.data + 32), 13u);
}

TEST(TransferClip, IndexPointsAtEveryFrameAsKeyFrame)
{
    const auto file = ClipFile();
    const auto top = Children(file, 12, file.size());
    const std::size_t movieType = Find(top, file, "LIST", "movi").data;
    const Chunk& index = Find(top, file, "idx1");
    const auto frames = ClipFrames();
    ASSERT_EQ(index.size, frames.size() * 16);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        SCOPED_TRACE("entry " + std::to_string(i));
        const std::size_t entry = index.data + i * 16;
        EXPECT_EQ(Tag(file, entry), "00dc");
        EXPECT_NE(U32(file, entry + 4) & 0x10, 0u);
        EXPECT_EQ(movieType + U32(file, entry + 8), frames[i].data - 8);
        EXPECT_EQ(U32(file, entry + 12), frames[i].size);
    }
}

// -- The icon ---------------------------------------------------------------

TEST(AppIcon, MatchesTheCommittedFile)
{
    EXPECT_TRUE(res_gen::BuildAppIcon() == ReadSourceFile("src/res/VR38Update.ico"))
        << "src/res/VR38Update.ico is stale: run make_icon";
}

TEST(AppIcon, DirectoryAndImagesAreConsistent)
{
    const Bytes file = res_gen::BuildAppIcon();
    EXPECT_EQ(U16(file, 0), 0u);
    EXPECT_EQ(U16(file, 2), 1u);  // icon, not cursor
    ASSERT_EQ(U16(file, 4), 3u);
    constexpr std::uint32_t SIDES[] = {16, 32, 48};
    std::size_t expectedOffset = 6 + 3 * 16;  // images follow the directory, in order
    for (std::size_t i = 0; i < 3; ++i) {
        const std::size_t entry = 6 + i * 16;
        const std::uint32_t side = file[entry];
        SCOPED_TRACE(std::to_string(side) + " pixels");
        EXPECT_EQ(side, SIDES[i]);
        EXPECT_EQ(file[entry + 1], side);
        EXPECT_EQ(U16(file, entry + 6), 32u);
        const std::uint32_t length = U32(file, entry + 8);
        const std::uint32_t offset = U32(file, entry + 12);
        EXPECT_EQ(offset, expectedOffset);
        ASSERT_LE(std::size_t{offset} + length, file.size());
        expectedOffset = offset + length;

        EXPECT_EQ(U32(file, offset), 40u);
        EXPECT_EQ(U32(file, offset + 4), side);
        EXPECT_EQ(U32(file, offset + 8), 2 * side);  // colour rows and mask rows
        EXPECT_EQ(U16(file, offset + 14), 32u);
        const std::size_t maskRow = (side + 31) / 32 * 4;
        ASSERT_EQ(length, 40 + side * side * 4 + side * maskRow);

        // The mask must hide exactly the fully transparent pixels, or old
        // renderers draw a box around the printer.
        std::size_t transparent = 0;
        for (std::size_t y = 0; y < side; ++y) {
            for (std::size_t x = 0; x < side; ++x) {
                const std::uint8_t alpha = file[offset + 40 + (y * side + x) * 4 + 3];
                const std::uint8_t maskByte = file[offset + 40 + side * side * 4 + y * maskRow + x / 8];
                const bool masked = (maskByte & (0x80 >> (x % 8))) != 0;
                EXPECT_EQ(masked, alpha == 0) << "at " << x << ", " << y;
                transparent += masked;
            }
        }
        EXPECT_GT(transparent, 0u);
        EXPECT_LT(transparent, side * side / 2) << "the drawing is mostly missing";
    }
    EXPECT_EQ(expectedOffset, file.size());
}

}  // namespace
