// make_pd3: writes a firmware data file for the simulated printer,
// "VR380MX_510.pd3", into a folder (the current one unless named).
//
//   make_pd3 [--printer-id ID] [--version TEXT] [--length BYTES] [--folder DIR]
//
// The printer id defaults to the simulated printer's, the version to "5.10"
// and the length to 65536 data bytes.

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "core/firmware_image.h"
#include "core/scenario.h"
#include "transfer/firmware_format.h"

namespace {

bool ParseNumber(std::string_view text, long long& value)
{
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

int Usage()
{
    std::fprintf(stderr, "usage: make_pd3 [--printer-id ID] [--version TEXT] [--length BYTES] [--folder DIR]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    long long printerId = sim::kDefaultPrinterId;
    long long length = 65536;
    std::string version = "5.10";
    std::filesystem::path folder = ".";
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        if (i + 1 >= argc) {
            return Usage();
        }
        const std::string_view value = argv[++i];
        if (option == "--printer-id") {
            if (!ParseNumber(value, printerId) || printerId < 0 || printerId > 0xFFFF) {
                return Usage();
            }
        } else if (option == "--length") {
            if (!ParseNumber(value, length) || length < 0 || length > 0x7FFFFFFF) {
                return Usage();
            }
        } else if (option == "--version") {
            version = value;
        } else if (option == "--folder") {
            folder = value;
        } else {
            return Usage();
        }
    }
    const auto bytes =
        sim::firmware_image::MakeFirmwareFile(static_cast<std::uint16_t>(printerId), version,
                                              static_cast<std::int32_t>(length), static_cast<std::size_t>(length));
    const auto path = folder / FIRMWARE_DATA_FILE;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
        std::fprintf(stderr, "make_pd3: cannot write %s\n", path.string().c_str());
        return 1;
    }
    return 0;
}
