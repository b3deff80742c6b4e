// make_clip OUTPUT.avi: writes the progress dialog's animation clip.

#include <cstdio>
#include <exception>
#include <fstream>

#include "res_gen/clip_drawing.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_clip OUTPUT.avi\n");
        return 2;
    }
    try {
        const auto clip = res_gen::BuildTransferClip();
        std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(clip.data()), static_cast<std::streamsize>(clip.size()));
        if (!file.flush()) {
            std::fprintf(stderr, "make_clip: cannot write %s\n", argv[1]);
            return 1;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make_clip: %s\n", error.what());
        return 1;
    }
    return 0;
}
