#include "res_gen/app_icon.h"

#include <algorithm>
#include <utility>

#include "res_gen/byte_writer.h"
#include "res_gen/ico_format.h"
#include "res_gen/indexed_image.h"

namespace res_gen {

namespace {

// The drawing is laid out on a 16 x 16 grid; every size is a whole multiple
// of it, so each grid cell becomes a square of pixels and edges stay sharp.
constexpr int GRID = 16;
constexpr std::uint8_t OPAQUE = 255;
constexpr std::uint8_t TRANSPARENT = 0;

struct Shape {
    int left, top, right, bottom;  // grid cells, right and bottom excluded
    Rgb colour;
};

constexpr Rgb OUTLINE{0x30, 0x30, 0x38};
constexpr Rgb BODY{0xB8, 0xBC, 0xC4};
constexpr Rgb BODY_TOP{0xDC, 0xE0, 0xE6};
constexpr Rgb BODY_BASE{0x80, 0x84, 0x8C};
constexpr Rgb SLOT{0x10, 0x10, 0x10};
constexpr Rgb TAPE{0xFF, 0xFF, 0xFF};
constexpr Rgb TAPE_PRINT{0x20, 0x50, 0xC8};
constexpr Rgb LAMP{0x20, 0xC0, 0x40};

// Back to front.
constexpr Shape PRINTER[] = {
    {5, 1, 11, 7, OUTLINE},  // label tape
    {6, 2, 10, 7, TAPE},        {7, 3, 9, 4, TAPE_PRINT},
    {7, 5, 8, 6, TAPE_PRINT},   {1, 6, 15, 14, OUTLINE},  // body
    {2, 7, 14, 13, BODY},       {2, 7, 14, 9, BODY_TOP},
    {2, 11, 14, 13, BODY_BASE}, {4, 6, 12, 7, SLOT},  // where the tape comes out
    {11, 9, 13, 10, LAMP},
};

static_assert(std::ranges::all_of(APP_ICON_SIZES, [](int size) { return size % GRID == 0; }));

struct Pixel {
    Rgb colour;  // black where transparent, as the mask expects
    std::uint8_t alpha = TRANSPARENT;
};

Pixel RenderPixel(int size, int x, int y)
{
    const int cellX = x * GRID / size;
    const int cellY = y * GRID / size;
    Pixel pixel;
    for (const Shape& shape : PRINTER) {
        if (shape.left <= cellX && cellX < shape.right && shape.top <= cellY && cellY < shape.bottom) {
            pixel = {shape.colour, OPAQUE};
        }
    }
    return pixel;
}

std::size_t MaskRowSize(int size)
{
    const std::size_t bits = static_cast<std::size_t>(size);
    const std::size_t alignBits = 8 * ico_format::MASK_ROW_ALIGNMENT;
    return (bits + alignBits - 1) / alignBits * ico_format::MASK_ROW_ALIGNMENT;
}

std::size_t ImageSize(int size)
{
    const auto side = static_cast<std::size_t>(size);
    return ico_format::BITMAP_INFO_HEADER_SIZE + side * side * ico_format::BYTES_PER_PIXEL + side * MaskRowSize(size);
}

void WriteImage(ByteWriter& out, int size)
{
    using namespace ico_format;
    const auto side = static_cast<std::size_t>(size);
    out.U32(BITMAP_INFO_HEADER_SIZE);
    out.I32(size);      // biWidth
    out.I32(2 * size);  // biHeight: colour rows, then as many mask rows
    out.U16(BITMAP_PLANES);
    out.U16(BITS_PER_PIXEL_32);
    out.U32(BI_RGB);
    out.U32(static_cast<std::uint32_t>(ImageSize(size) - BITMAP_INFO_HEADER_SIZE));  // biSizeImage
    out.Zeros(4 * 4);  // resolution, colours used, colours important

    std::vector<std::uint8_t> mask(side * MaskRowSize(size), 0);
    for (int y = size - 1; y >= 0; --y) {  // bottom row first
        const std::size_t maskRow = static_cast<std::size_t>(size - 1 - y) * MaskRowSize(size);
        for (int x = 0; x < size; ++x) {
            const Pixel pixel = RenderPixel(size, x, y);
            out.U8(pixel.colour.blue);
            out.U8(pixel.colour.green);
            out.U8(pixel.colour.red);
            out.U8(pixel.alpha);
            if (pixel.alpha == TRANSPARENT) {
                mask[maskRow + static_cast<std::size_t>(x) / 8] |= static_cast<std::uint8_t>(0x80u >> (x % 8));
            }
        }
    }
    out.Bytes(mask);
}

}  // namespace

std::vector<std::uint8_t> BuildAppIcon()
{
    using namespace ico_format;
    ByteWriter out;
    out.U16(0);  // reserved
    out.U16(RESOURCE_TYPE_ICON);
    out.U16(static_cast<std::uint16_t>(APP_ICON_SIZES.size()));

    std::size_t offset = DIRECTORY_HEADER_SIZE + APP_ICON_SIZES.size() * DIRECTORY_ENTRY_SIZE;
    for (const int size : APP_ICON_SIZES) {
        const auto dimension = static_cast<std::uint8_t>(size == MAX_ENTRY_DIMENSION ? 0 : size);
        out.U8(dimension);  // width
        out.U8(dimension);  // height
        out.U8(0);          // palette colours: none
        out.U8(0);          // reserved
        out.U16(BITMAP_PLANES);
        out.U16(BITS_PER_PIXEL_32);
        out.U32(static_cast<std::uint32_t>(ImageSize(size)));
        out.U32(static_cast<std::uint32_t>(offset));
        offset += ImageSize(size);
    }
    for (const int size : APP_ICON_SIZES) {
        WriteImage(out, size);
    }
    return std::move(out).Take();
}

}  // namespace res_gen
