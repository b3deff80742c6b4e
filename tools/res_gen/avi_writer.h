#pragma once
// Writes a silent AVI clip of one video stream whose frames are RLE8 key
// frames, the kind the Windows animation control plays.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "res_gen/indexed_image.h"

namespace res_gen {

struct Rle8Clip {
    int width = 0;
    int height = 0;
    std::uint32_t framesPerSecond = 0;
    std::vector<Rgb> palette;                       // at most 256 colours
    std::vector<std::vector<std::uint8_t>> frames;  // each one from EncodeRle8
};

// Size of the file WriteAvi makes when it needs no padding.
std::size_t AviNaturalSize(const Rle8Clip& clip);

// The clip as a RIFF AVI file of exactly fileSize bytes: a JUNK chunk between
// the header list and the movie list makes up the difference. Throws
// std::length_error when the clip cannot be brought to that size.
//
// The stream's and main header's suggested buffer sizes and the format's image
// size all give the largest frame: the animation control sizes its read
// buffer from them and shows nothing when they are too small.
std::vector<std::uint8_t> WriteAvi(const Rle8Clip& clip, std::size_t fileSize);

}  // namespace res_gen
