#include "res_gen/rle8.h"

#include <algorithm>
#include <span>

#include "res_gen/byte_writer.h"

namespace res_gen {

namespace {

using Row = std::span<const std::uint8_t>;

// Runs this long or longer are repeated; shorter ones are cheaper inside a
// stretch of pixels copied as they are.
constexpr std::size_t MIN_ENCODED_RUN = 3;

std::size_t RunLength(Row row, std::size_t at)
{
    std::size_t length = 1;
    while (at + length < row.size() && length < rle8::MAX_COUNT && row[at + length] == row[at]) {
        ++length;
    }
    return length;
}

void WriteRepeat(ByteWriter& out, std::size_t count, std::uint8_t pixel)
{
    out.U8(static_cast<std::uint8_t>(count));
    out.U8(pixel);
}

// Pixels [begin, end) that hold no run worth repeating. Too few for an
// absolute stretch, they go out as short repeats instead.
void WriteStretch(ByteWriter& out, Row row, std::size_t begin, std::size_t end)
{
    const std::size_t count = end - begin;
    if (count < rle8::MIN_ABSOLUTE_COUNT) {
        for (std::size_t at = begin; at < end;) {
            const std::size_t run = std::min(RunLength(row, at), end - at);
            WriteRepeat(out, run, row[at]);
            at += run;
        }
        return;
    }
    out.U8(rle8::ESCAPE);
    out.U8(static_cast<std::uint8_t>(count));
    out.Bytes(row.subspan(begin, count));
    if (count % 2 != 0) {
        out.U8(0);  // absolute stretches end on a 16-bit boundary
    }
}

void EncodeRow(ByteWriter& out, Row row)
{
    std::size_t at = 0;
    while (at < row.size()) {
        const std::size_t run = RunLength(row, at);
        if (run >= MIN_ENCODED_RUN) {
            WriteRepeat(out, run, row[at]);
            at += run;
            continue;
        }
        std::size_t end = at;
        while (end < row.size()) {
            const std::size_t next = RunLength(row, end);
            if (next >= MIN_ENCODED_RUN || end + next - at > rle8::MAX_COUNT) {
                break;
            }
            end += next;
        }
        WriteStretch(out, row, at, end);
        at = end;
    }
    out.U8(rle8::ESCAPE);
    out.U8(rle8::END_OF_LINE);
}

}  // namespace

std::vector<std::uint8_t> EncodeRle8(const IndexedImage& image)
{
    ByteWriter out;
    const auto width = static_cast<std::size_t>(image.width);
    for (int y = image.height - 1; y >= 0; --y) {
        EncodeRow(out, Row(image.pixels).subspan(static_cast<std::size_t>(y) * width, width));
    }
    out.U8(rle8::ESCAPE);
    out.U8(rle8::END_OF_BITMAP);
    return std::move(out).Take();
}

}  // namespace res_gen
