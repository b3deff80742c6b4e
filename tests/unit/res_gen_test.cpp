// The generated resources: the progress clip and the application icon. The
// generators must reproduce the committed files, and those files are read back
// here by readers of our own, written from the file formats and not from the
// generators, so that a file regenerated with a slip in it is caught too.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <span>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "res_gen/app_icon.h"
#include "res_gen/clip_drawing.h"
#include "res_gen/rle8.h"

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
    U32(data, at);  // inside the file
    return std::string(data.begin() + static_cast<std::ptrdiff_t>(at),
                       data.begin() + static_cast<std::ptrdiff_t>(at + 4));
}

// Decodes a bottom-up RLE8 key frame. Strict: every row is filled before its
// end of line, there are no position jumps, and the end of bitmap comes right
// after the last row.
IndexedImage DecodeRle8(std::span<const std::uint8_t> data, int width, int height)
{
    IndexedImage image(width, height, 0xEE);
    std::size_t at = 0;
    int x = 0;
    int row = 0;  // from the bottom
    const auto put = [&](std::uint8_t pixel) {
        if (x >= width || row >= height) {
            throw std::runtime_error("pixel outside the bitmap at byte " + std::to_string(at));
        }
        image.pixels[static_cast<std::size_t>((height - 1 - row) * width + x++)] = pixel;
    };
    while (true) {
        const auto word = U16(data, at);
        const auto count = word & 0xFF;
        const auto value = word >> 8;
        at += 2;
        if (count > 0) {
            for (std::uint32_t i = 0; i < count; ++i) {
                put(value);
            }
        } else if (value == 0 && x == width) {
            x = 0;
            ++row;
        } else if (value == 1 && row == height && x == 0 && at == data.size()) {
            return image;
        } else if (value >= 3 && at + value <= data.size()) {
            for (std::size_t i = 0; i < value; ++i) {
                put(data[at + i]);
            }
            at += value + value % 2;
        } else {
            throw std::runtime_error("bad escape " + std::to_string(value) + " at byte " + std::to_string(at));
        }
    }
}

struct Chunk {
    std::string id;
    std::size_t data;  // offset of the content
    std::size_t size;
};

// The chunks inside [begin, end), each fitting and padded to even; a list's
// id is "LIST:" and its type.
std::vector<Chunk> Children(std::span<const std::uint8_t> file, std::size_t begin, std::size_t end)
{
    std::vector<Chunk> chunks;
    while (begin < end) {
        Chunk chunk{Tag(file, begin), begin + 8, U32(file, begin + 4)};
        if (chunk.id == "LIST") {
            chunk.id += ":" + Tag(file, chunk.data);
        }
        chunks.push_back(chunk);
        begin = chunk.data + chunk.size + chunk.size % 2;
    }
    if (begin != end) {
        throw std::runtime_error("chunks overrun their parent");
    }
    return chunks;
}

const Chunk& Find(const std::vector<Chunk>& chunks, const std::string& id)
{
    const auto found = std::ranges::find(chunks, id, &Chunk::id);
    if (found == chunks.end()) {
        throw std::runtime_error("no " + id);
    }
    return *found;
}

std::vector<Chunk> Inside(std::span<const std::uint8_t> file, const Chunk& list)
{
    return Children(file, list.data + 4, list.data + list.size);
}

TEST(GeneratedResources, GeneratorsReproduceTheCommittedFiles)
{
    EXPECT_TRUE(res_gen::BuildTransferClip() == ReadSourceFile("src/res/transfer.avi"))
        << "src/res/transfer.avi is stale: run make_clip";
    EXPECT_TRUE(res_gen::BuildAppIcon() == ReadSourceFile("src/res/VR38Update.ico"))
        << "src/res/VR38Update.ico is stale: run make_icon";
}

// The animation control plays an RLE8 clip only when the suggested buffer
// sizes and the image size hold the largest frame, and shows the colour of a
// frame's first pixel as transparent.
TEST(GeneratedResources, ClipIsAPlayableRle8ClipOfItsDrawings)
{
    const Bytes file = ReadSourceFile("src/res/transfer.avi");
    ASSERT_GT(file.size(), 12u);
    EXPECT_EQ(Tag(file, 0) + Tag(file, 8), "RIFFAVI ");
    EXPECT_EQ(U32(file, 4), file.size() - 8);
    const auto top = Children(file, 12, file.size());
    const auto frames = Inside(file, Find(top, "LIST:movi"));
    ASSERT_EQ(frames.size(), 17u);
    std::uint32_t largest = 0;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        SCOPED_TRACE("frame " + std::to_string(i));
        EXPECT_EQ(frames[i].id, "00dc");
        largest = std::max(largest, static_cast<std::uint32_t>(frames[i].size));
        const auto decoded = DecodeRle8(std::span(file).subspan(frames[i].data, frames[i].size), 260, 40);
        EXPECT_TRUE(decoded == res_gen::DrawTransferFrame(static_cast<int>(i)));
        EXPECT_EQ(decoded.At(0, 39), res_gen::CLIP_BACKGROUND);
    }
    const auto palette = res_gen::TransferClipPalette();
    EXPECT_EQ(std::ranges::count(palette, palette[res_gen::CLIP_BACKGROUND]), 1) << "background colour reused";

    const auto headers = Inside(file, Find(top, "LIST:hdrl"));
    const std::size_t main = Find(headers, "avih").data;
    const auto stream = Inside(file, Find(headers, "LIST:strl"));
    const std::size_t strh = Find(stream, "strh").data;
    const std::size_t strf = Find(stream, "strf").data;
    EXPECT_EQ(Find(stream, "strf").size, 40u + 13 * 4);  // the image header and its palette
    struct Field {
        std::size_t at;
        std::uint32_t expected;
    };
    // Microseconds per frame, frames, one stream (no audio), 260 x 40; a video
    // stream of 10 frames a second, 17 long; a bottom-up BI_RLE8 image with 13
    // colours.
    for (const auto [at, expected] :
         {Field{main + 0, 100000}, Field{main + 16, 17}, Field{main + 24, 1}, Field{main + 32, 260},
          Field{main + 36, 40}, Field{strh + 20, 1}, Field{strh + 24, 10}, Field{strh + 32, 17}, Field{strf + 4, 260},
          Field{strf + 8, 40}, Field{strf + 16, 1}, Field{strf + 32, 13}}) {
        EXPECT_EQ(U32(file, at), expected) << "at " << at;
    }
    EXPECT_EQ(std::tuple(U16(file, strf + 14), Tag(file, strh)), std::tuple(8u, "vids"));
    EXPECT_TRUE(Tag(file, strh + 4) == "RLE " || U32(file, strh + 4) == 0);
    EXPECT_NE(U32(file, main + 12) & 0x10, 0u) << "index flag";
    EXPECT_GE(std::min({U32(file, main + 28), U32(file, strh + 36), U32(file, strf + 20)}), largest);

    // The index names every frame, in order, as a key frame.
    const std::size_t movieType = Find(top, "LIST:movi").data;
    const Chunk& index = Find(top, "idx1");
    ASSERT_EQ(index.size, frames.size() * 16);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const std::size_t entry = index.data + i * 16;
        EXPECT_EQ(std::tuple(Tag(file, entry), U32(file, entry + 4) & 0x10, movieType + U32(file, entry + 8),
                             std::size_t{U32(file, entry + 12)}),
                  std::tuple("00dc", 0x10u, frames[i].data - 8, frames[i].size))
            << "entry " << i;
    }
}

// Three 32-bit images with alpha, one after another behind the directory,
// each with a mask that hides exactly its transparent pixels, or old renderers
// draw a box around the printer.
TEST(GeneratedResources, IconHoldsThreeSizesWithMatchingMasks)
{
    const Bytes file = ReadSourceFile("src/res/VR38Update.ico");
    EXPECT_EQ(U32(file, 0), 0x10000u);  // reserved, then type 1: an icon
    ASSERT_EQ(U16(file, 4), 3u);
    std::size_t expectedOffset = 6 + 3 * 16;
    for (const std::uint32_t side : {16u, 32u, 48u}) {
        SCOPED_TRACE(std::to_string(side) + " pixels");
        const std::size_t entry = 6 + (side / 16 - 1) * 16;
        EXPECT_EQ(std::tuple(U16(file, entry), U16(file, entry + 6)), std::tuple(side | side << 8, 32u));
        const std::uint32_t length = U32(file, entry + 8);
        const std::uint32_t offset = U32(file, entry + 12);
        ASSERT_EQ(offset, expectedOffset);
        expectedOffset = offset + length;
        const std::size_t maskRow = (side + 31) / 32 * 4;
        ASSERT_EQ(length, 40 + side * side * 4 + side * maskRow);
        ASSERT_LE(expectedOffset, file.size());
        // The image header: its size, width, colour rows and mask rows, bits.
        EXPECT_EQ(std::tuple(U32(file, offset), U32(file, offset + 4), U32(file, offset + 8), U16(file, offset + 14)),
                  std::tuple(40u, side, 2 * side, 32u));

        std::size_t transparent = 0;
        for (std::size_t y = 0; y < side; ++y) {
            for (std::size_t x = 0; x < side; ++x) {
                const bool clear = file[offset + 40 + (y * side + x) * 4 + 3] == 0;
                const bool masked = (file[offset + 40 + side * side * 4 + y * maskRow + x / 8] & 0x80 >> x % 8) != 0;
                EXPECT_EQ(masked, clear) << "at " << x << ", " << y;
                transparent += masked;
            }
        }
        EXPECT_GT(transparent, 0u);
        EXPECT_LT(transparent, side * side / 2) << "the drawing is mostly missing";
    }
    EXPECT_EQ(expectedOffset, file.size());
}

}  // namespace
