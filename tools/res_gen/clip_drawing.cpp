#include "res_gen/clip_drawing.h"

#include <algorithm>
#include <iterator>

#include "res_gen/avi_writer.h"
#include "res_gen/rle8.h"

namespace res_gen {

namespace {

enum Colour : std::uint8_t {
    BACKGROUND = CLIP_BACKGROUND,
    BLACK,
    DARK_GRAY,
    MID_GRAY,
    LIGHT_GRAY,
    PALE_GRAY,
    WHITE,
    DARK_BLUE,
    BLUE,
    LIGHT_BLUE,
    DARK_GREEN,
    GREEN,
    AMBER,
    COLOUR_COUNT
};

// The printer, side on, with its label tape coming out on the left.
constexpr int PRINTER_LEFT = 10;
constexpr int PRINTER_RIGHT = 66;
constexpr int PRINTER_TOP = 14;
constexpr int PRINTER_BOTTOM = 34;

// The document the data comes from.
constexpr int DOCUMENT_LEFT = 218;
constexpr int DOCUMENT_RIGHT = 244;
constexpr int DOCUMENT_TOP = 6;
constexpr int DOCUMENT_BOTTOM = 34;
constexpr int DOCUMENT_FOLD = 6;

// Blocks run leftwards between the two, visible only in [PATH_LEFT, PATH_RIGHT).
constexpr int PATH_LEFT = PRINTER_RIGHT;
constexpr int PATH_RIGHT = DOCUMENT_LEFT;
constexpr int BLOCK_TOP = 20;
constexpr int BLOCK_WIDTH = 8;
constexpr int BLOCK_HEIGHT = 6;
constexpr int BLOCK_SPACING = 34;
// Blocks alternate between two colours, so the pattern repeats every two
// spacings; covering that in the frame count makes the clip loop seamlessly.
constexpr int PATTERN_LENGTH = 2 * BLOCK_SPACING;
constexpr int STEP_PER_FRAME = PATTERN_LENGTH / CLIP_FRAME_COUNT;
static_assert(STEP_PER_FRAME * CLIP_FRAME_COUNT == PATTERN_LENGTH);

void DrawPrinter(IndexedImage& image, bool receiving)
{
    // Lid, then the body, then the slot the data enters by.
    image.FillRect(PRINTER_LEFT + 6, PRINTER_TOP - 4, PRINTER_RIGHT - 6, PRINTER_TOP, MID_GRAY);
    image.FillRect(PRINTER_LEFT, PRINTER_TOP, PRINTER_RIGHT, PRINTER_BOTTOM - 4, LIGHT_GRAY);
    image.FillRect(PRINTER_LEFT, PRINTER_BOTTOM - 4, PRINTER_RIGHT, PRINTER_BOTTOM, DARK_GRAY);
    image.FillRect(PRINTER_RIGHT - 2, BLOCK_TOP - 1, PRINTER_RIGHT, BLOCK_TOP + BLOCK_HEIGHT + 1, BLACK);

    // Label tape out of the left side, with printing on it.
    image.FillRect(PRINTER_LEFT - 8, 22, PRINTER_LEFT, 28, WHITE);
    image.FillRect(PRINTER_LEFT - 6, 24, PRINTER_LEFT - 2, 26, DARK_BLUE);

    // Data lamp: lit while a block is going in.
    image.FillRect(PRINTER_LEFT + 6, PRINTER_TOP + 3, PRINTER_LEFT + 10, PRINTER_TOP + 5, receiving ? AMBER : MID_GRAY);
}

void DrawDocument(IndexedImage& image)
{
    image.FillRect(DOCUMENT_LEFT, DOCUMENT_TOP, DOCUMENT_RIGHT, DOCUMENT_BOTTOM, WHITE);
    // Folded top right corner: background above the diagonal, the fold below.
    for (int row = 0; row < DOCUMENT_FOLD; ++row) {
        const int fold = DOCUMENT_RIGHT - DOCUMENT_FOLD + row;
        image.FillRect(fold, DOCUMENT_TOP + row, DOCUMENT_RIGHT, DOCUMENT_TOP + row + 1, BACKGROUND);
        image.FillRect(DOCUMENT_RIGHT - DOCUMENT_FOLD, DOCUMENT_TOP + row, fold, DOCUMENT_TOP + row + 1, PALE_GRAY);
    }
    // Lines of text, each a little shorter than the page.
    constexpr int LINE_TOPS[] = {14, 20, 26};
    constexpr int LINE_ENDS[] = {DOCUMENT_RIGHT - 4, DOCUMENT_RIGHT - 8, DOCUMENT_RIGHT - 12};
    for (std::size_t line = 0; line < std::size(LINE_TOPS); ++line) {
        image.FillRect(DOCUMENT_LEFT + 4, LINE_TOPS[line], LINE_ENDS[line], LINE_TOPS[line] + 2, LIGHT_BLUE);
    }
}

// Returns whether a block is passing into the printer's slot.
bool DrawBlocks(IndexedImage& image, int frame)
{
    const int shift = (frame * STEP_PER_FRAME) % PATTERN_LENGTH;
    bool entering = false;
    for (int block = 0; PATH_LEFT + block * BLOCK_SPACING - shift < PATH_RIGHT; ++block) {
        const int left = PATH_LEFT + block * BLOCK_SPACING - shift;
        const int visibleLeft = std::max(left, PATH_LEFT);
        const int visibleRight = std::min(left + BLOCK_WIDTH, PATH_RIGHT);
        if (visibleLeft >= visibleRight) {
            continue;
        }
        entering = entering || left < PATH_LEFT;
        // A darker bottom edge gives the block some depth.
        const bool blue = block % 2 == 0;
        image.FillRect(visibleLeft, BLOCK_TOP, visibleRight, BLOCK_TOP + BLOCK_HEIGHT - 1, blue ? BLUE : GREEN);
        image.FillRect(visibleLeft, BLOCK_TOP + BLOCK_HEIGHT - 1, visibleRight, BLOCK_TOP + BLOCK_HEIGHT,
                       blue ? DARK_BLUE : DARK_GREEN);
    }
    return entering;
}

}  // namespace

std::vector<Rgb> TransferClipPalette()
{
    std::vector<Rgb> palette(COLOUR_COUNT);
    palette[BACKGROUND] = {0xC0, 0xC0, 0xC0};
    palette[BLACK] = {0x00, 0x00, 0x00};
    palette[DARK_GRAY] = {0x40, 0x40, 0x40};
    palette[MID_GRAY] = {0x80, 0x80, 0x80};
    palette[LIGHT_GRAY] = {0xA8, 0xA8, 0xA8};
    palette[PALE_GRAY] = {0xE0, 0xE0, 0xE0};
    palette[WHITE] = {0xFF, 0xFF, 0xFF};
    palette[DARK_BLUE] = {0x00, 0x20, 0x80};
    palette[BLUE] = {0x20, 0x60, 0xE0};
    palette[LIGHT_BLUE] = {0x80, 0xB0, 0xF0};
    palette[DARK_GREEN] = {0x00, 0x60, 0x00};
    palette[GREEN] = {0x20, 0xD0, 0x40};
    palette[AMBER] = {0xF0, 0xA0, 0x00};
    return palette;
}

IndexedImage DrawTransferFrame(int frame)
{
    IndexedImage image(CLIP_WIDTH, CLIP_HEIGHT, BACKGROUND);
    DrawDocument(image);
    const bool receiving = DrawBlocks(image, frame);
    DrawPrinter(image, receiving);
    return image;
}

std::vector<std::uint8_t> BuildTransferClip()
{
    Rle8Clip clip{
        .width = CLIP_WIDTH,
        .height = CLIP_HEIGHT,
        .framesPerSecond = CLIP_FRAMES_PER_SECOND,
        .palette = TransferClipPalette(),
        .frames = {},
    };
    for (int frame = 0; frame < CLIP_FRAME_COUNT; ++frame) {
        clip.frames.push_back(EncodeRle8(DrawTransferFrame(frame)));
    }
    return WriteAvi(clip, CLIP_FILE_SIZE);
}

}  // namespace res_gen
