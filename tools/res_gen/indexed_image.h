#pragma once
// A palette-indexed picture, one byte per pixel, rows top to bottom, with the
// few drawing operations the generated resources use.

#include <algorithm>
#include <cstdint>
#include <vector>

namespace res_gen {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Rgb&) const = default;
};

struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // width * height, row by row from the top

    IndexedImage(int w, int h, std::uint8_t fill)
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill)
    {
    }

    std::uint8_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }

    // Fills [left, right) x [top, bottom), cut to the picture.
    void FillRect(int left, int top, int right, int bottom, std::uint8_t colour)
    {
        left = std::max(left, 0);
        top = std::max(top, 0);
        right = std::min(right, width);
        bottom = std::min(bottom, height);
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                pixels[static_cast<std::size_t>(y * width + x)] = colour;
            }
        }
    }

    bool operator==(const IndexedImage&) const = default;
};

}  // namespace res_gen
