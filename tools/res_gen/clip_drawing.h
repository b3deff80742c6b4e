#pragma once
// The clip the progress dialog plays while firmware is sent: data blocks
// travel from a document on the right into a label printer on the left.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "res_gen/indexed_image.h"

namespace res_gen {

inline constexpr int CLIP_WIDTH = 260;
inline constexpr int CLIP_HEIGHT = 40;
inline constexpr int CLIP_FRAME_COUNT = 17;
inline constexpr std::uint32_t CLIP_FRAMES_PER_SECOND = 10;
inline constexpr std::size_t CLIP_FILE_SIZE = 10752;

// Palette index 0 is the background. The control shows the colour of a
// frame's first pixel (bottom left) as transparent, so that corner stays
// background and no other entry has the same colour.
inline constexpr std::uint8_t CLIP_BACKGROUND = 0;

std::vector<Rgb> TransferClipPalette();

// Frame 0 to CLIP_FRAME_COUNT - 1; the last one leads smoothly into the first.
IndexedImage DrawTransferFrame(int frame);

// The finished AVI file, CLIP_FILE_SIZE bytes.
std::vector<std::uint8_t> BuildTransferClip();

}  // namespace res_gen
