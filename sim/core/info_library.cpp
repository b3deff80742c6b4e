#include "core/info_library.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "catalogue/info_library.h"
#include "core/sim_printer.h"
#include "description/feed_margin_entry.h"
#include "description/media_entry.h"

namespace sim {
namespace {

// The printer's resolution: 300 dots per inch.
constexpr int kDotsPerInch = 300;
constexpr std::int16_t kTapeLengthTenthMm = 1000;  // a 100 mm label
constexpr std::int16_t kSideOffset = 6;
constexpr std::int16_t kFeedOffset = 12;

std::int16_t Dots(int tenthMm)
{
    return static_cast<std::int16_t>((tenthMm * kDotsPerInch + 127) / 254);
}

MediaEntry Tape(std::uint16_t id, const char* name, int widthTenthMm, std::uint8_t parts, std::uint16_t baseId)
{
    namespace m = media_entry;
    MediaEntry entry;
    const auto width = Dots(widthTenthMm);
    const auto length = Dots(kTapeLengthTenthMm);
    entry.Put<std::uint16_t>(m::ID, id);
    entry.Put<std::int16_t>(m::PHYSICAL_LENGTH, length);
    entry.Put<std::uint16_t>(m::PAPER_LENGTH, kTapeLengthTenthMm);
    entry.Put<std::int16_t>(m::VERTICAL_OFFSET, kFeedOffset);
    entry.Put<std::int16_t>(m::PRINTABLE_LENGTH, static_cast<std::int16_t>(length - 2 * kFeedOffset));
    std::strncpy(reinterpret_cast<char*>(entry.bytes.data() + m::NAME), name, m::NAME_SIZE - 1);
    std::strncpy(reinterpret_cast<char*>(entry.bytes.data() + m::DISPLAY_NAME), name, m::NAME_SIZE - 1);
    entry.Put<std::int16_t>(m::PHYSICAL_WIDTH, width);
    entry.Put<std::uint16_t>(m::PAPER_WIDTH, static_cast<std::uint16_t>(widthTenthMm));
    entry.Put<std::int16_t>(m::HORIZONTAL_OFFSET, kSideOffset);
    entry.Put<std::int16_t>(m::PRINTABLE_WIDTH, static_cast<std::int16_t>(width - 2 * kSideOffset));
    entry.Put<std::uint16_t>(m::BASE_ID, baseId);
    entry.bytes[m::PART_COUNT] = parts;
    return entry;
}

const std::vector<MediaEntry>& Media()
{
    static const std::vector<MediaEntry> media{
        Tape(kTape12mm, "12 mm Tape", 120, 1, kTape12mm),
        Tape(kTape24mm, "24 mm Tape", 240, 1, kTape24mm),
        Tape(kTape36mm, "36 mm Tape", 360, 1, kTape36mm),
        Tape(kLabel24mmTwoPart, "24 mm Two-Part Label", 240, 2, kTape24mm),
    };
    return media;
}

const std::vector<FeedMarginEntry>& FeedMargins()
{
    static const std::vector<FeedMarginEntry> margins = [] {
        std::vector<FeedMarginEntry> entries;
        for (const auto& [key, margin] : {std::pair{0, 12}, std::pair{5, 24}, std::pair{10, 36}}) {
            FeedMarginEntry entry;
            entry.bytes[feed_margin_entry::KEY] = static_cast<std::uint8_t>(key);
            byte_fields::Put<std::int16_t>(entry.bytes, feed_margin_entry::MARGIN, static_cast<std::int16_t>(margin));
            entries.push_back(entry);
        }
        return entries;
    }();
    return margins;
}

template <class Entry>
std::int32_t AnswerList(const std::vector<Entry>& entries, char* output)
{
    if (output != nullptr) {
        for (std::size_t i = 0; i < entries.size(); ++i) {
            std::memcpy(output + i * sizeof(Entry), entries[i].bytes.data(), sizeof(Entry));
        }
    }
    return static_cast<std::int32_t>(entries.size());
}

constexpr std::int32_t Pair(std::uint16_t x, std::uint16_t y)
{
    return static_cast<std::int32_t>((y << 16) | x);
}

}  // namespace

std::uint32_t ModelId(const Scenario& scenario)
{
    return (static_cast<std::uint32_t>(scenario.infoModelIdHigh) << 16) | scenario.printerId;
}

std::int32_t AnswerDeviceCapability(const Scenario& scenario, std::uint16_t capability, char* output)
{
    if (scenario.infoNoAnswer.contains(capability)) {
        return MDC_NO_ANSWER;
    }
    switch (capability) {
        case MDC_FLAGS:
            if (scenario.infoFlags == MDC_NO_ANSWER) {
                return MDC_NO_ANSWER;
            }
            return static_cast<std::int32_t>(static_cast<std::uint32_t>(scenario.infoFlags) |
                                             (scenario.infoSpecialTape ? MDC_FLAG_SPECIAL_TAPE : 0));
        case MDC_MODELID:
            return static_cast<std::int32_t>(ModelId(scenario));
        case MDC_MEDIA:
        case MDC_MEDIA2:
            return AnswerList(Media(), output);
        case MDC_FEEDMARGINS:
            return AnswerList(FeedMargins(), output);
        case MDC_COLORS:
            return 2;
        case MDC_OFFSET:
            return Pair(4, 2);
        case MDC_MARGINADD:
            return Pair(1, 1);
        case MDC_VALUE:
            return 1;
        default:
            return MDC_NO_ANSWER;
    }
}

std::int32_t Printer::MyDeviceCapabilities(const char* device, const char* port, std::uint16_t capability, char* output,
                                           const void* devMode)
{
    const auto answer = AnswerDeviceCapability(GetScenario(), capability, output);
    LogEntry entry{"MyDeviceCapabilities", device == nullptr ? std::string() : device, capability, 0, answer, {}, {}};
    // The note tells how the call was made: the port given ("" or absent),
    // and whether a buffer or device mode came with it.
    entry.note = port == nullptr ? "port=null" : "port=\"" + std::string(port) + "\"";
    if (output != nullptr) {
        entry.note += " output";
    }
    if (devMode != nullptr) {
        entry.note += " devmode";
    }
    Record(std::move(entry));
    return answer;
}

}  // namespace sim
