// The printer description's own computations, on descriptions filled by hand:
// resolutions, media lookups, the device mode's private data, options, the
// build's filters and extents, and the print area.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <string>
#include <tuple>

#include "description/driver_flags.h"
#include "description/printer_description.h"
#include "description/private_layout.h"
#include "platform/devmode_layout.h"
#include "platform/printing_constants.h"

namespace {

using namespace printing;
constexpr auto kMaxInt32 = std::numeric_limits<std::int32_t>::max();

// A device mode of the public size with the given private block.
void GiveDevMode(PrinterDevice& device, const std::vector<std::uint8_t>& privateBlock)
{
    const auto size = devmode_layout::PUBLIC_SIZE + privateBlock.size();
    device.m_pDevMode = platform::GlobalMemory::AllocateZeroed(size);
    device.m_nDevModeSize = static_cast<std::int32_t>(size);
    device.m_dwDeviceFlags |= DEVICE_FLAG_DEVMODE_OWNED;
    auto bytes = device.m_pDevMode.bytes();
    byte_fields::Put<std::uint16_t>(bytes, devmode_layout::dmSize, devmode_layout::PUBLIC_SIZE);
    byte_fields::Put<std::uint16_t>(bytes, devmode_layout::dmDriverExtra,
                                    static_cast<std::uint16_t>(privateBlock.size()));
    std::ranges::copy(privateBlock, bytes.begin() + devmode_layout::PUBLIC_SIZE);
}

// 16-bit little-endian fields at their byte offsets.
void PutWords(std::span<std::uint8_t> bytes, std::initializer_list<std::pair<std::size_t, int>> fields)
{
    for (const auto& [offset, value] : fields) {
        byte_fields::Put<std::uint16_t>(bytes, offset, static_cast<std::uint16_t>(value));
    }
}

// A medium as the build measures it, its printable extents the physical ones
// less twice the offsets.
MediaEntry Medium(std::uint16_t id, std::int16_t width, std::int16_t length, std::int16_t hOffset = 0,
                  std::int16_t vOffset = 0, std::uint8_t parts = 1, std::uint16_t baseId = 0)
{
    // Id, physical length, vertical offset, printable length, physical width,
    // horizontal offset, printable width, base id; the part count at 130.
    MediaEntry entry;
    PutWords(entry.bytes, {{0, id},
                           {2, length},
                           {6, vOffset},
                           {8, length - 2 * vOffset},
                           {112, width},
                           {116, hOffset},
                           {118, width - 2 * hOffset},
                           {128, baseId}});
    entry.bytes[130] = parts;
    return entry;
}

// The key at 0, the margin at 1.
FeedMarginEntry FeedMargin(std::uint8_t key, std::int16_t margin)
{
    return {{{key, static_cast<std::uint8_t>(margin), static_cast<std::uint8_t>(margin >> 8)}}};
}

// An extended private block: block size at 0, entry count at 14, entries
// from 30.
std::vector<std::uint8_t> ExtendedBlock(std::uint16_t blockSize, std::uint16_t count, std::size_t bytes)
{
    std::vector<std::uint8_t> block(bytes, 0);
    PutWords(block, {{0, blockSize}, {14, count}});
    return block;
}

// An entry of 150 bytes: id, name at 2, base id at 130, width at 134, part
// count at 140.
void PutExtendedEntry(std::vector<std::uint8_t>& block, std::size_t index, std::uint16_t id, const char* name,
                      std::uint16_t baseId, std::uint16_t parts, std::uint16_t width)
{
    const auto entry = std::span(block).subspan(30 + 150 * index);
    std::memcpy(entry.data() + 2, name, std::strlen(name));
    PutWords(entry, {{0, id}, {130, baseId}, {134, width}, {140, parts}});
}

TEST(Resolutions, SortChooseAndConvert)
{
    std::vector<Resolution> resolutions{{300, 300}, {180, 180}, {360, 180}};
    SortResolutions(resolutions);
    EXPECT_EQ(resolutions, (std::vector<Resolution>{{180, 180}, {360, 180}, {300, 300}}));

    std::vector<Resolution> equal{{200, 100}, {100, 200}, {50, 50}};
    SortResolutions(equal);
    EXPECT_EQ(equal, (std::vector<Resolution>{{50, 50}, {200, 100}, {100, 200}}));

    EXPECT_EQ(ChooseResolutionByQuality(resolutions, PRINT_QUALITY_MEDIUM), (Resolution{0, 0}));
    EXPECT_EQ(ChooseResolutionByQuality(resolutions, PRINT_QUALITY_HIGH), (Resolution{300, 300}));
    EXPECT_EQ(ChooseResolutionByQuality(resolutions, PRINT_QUALITY_DRAFT), (Resolution{180, 180}));
    EXPECT_EQ(ChooseResolutionByQuality({{1, 1}, {2, 2}, {3, 3}, {4, 4}}, PRINT_QUALITY_MEDIUM), (Resolution{2, 2}));
    EXPECT_EQ(ChooseResolutionByQuality({{1, 1}, {2, 2}, {3, 3}, {4, 4}}, PRINT_QUALITY_LOW), (Resolution{3, 3}));
    EXPECT_EQ(ChooseResolutionByQuality({{1, 1}, {2, 2}}, PRINT_QUALITY_LOW), (Resolution{1, 1}));

    // Tenths of a millimetre to dots round, and never overflow (the last
    // resolution is a driver's wild answer).
    const std::array<std::int32_t, 3> rows[] = {{180, 255, 181}, {300, -5, -5}, {2'000'000'000, 32767, kMaxInt32}};
    for (const auto& [resolution, tenths, dots] : rows) {
        PrinterDescription d;
        d.m_nResX = resolution;
        EXPECT_EQ(d.DotsFromTenthMm(tenths), dots) << resolution;
    }
}

TEST(MediaLookups, FindFallsBackFeedMarginsScanFromTheLastAndMinMargins)
{
    // A new record finds nothing and holds no options, angle, medium flags or extents.
    PrinterDescription d;
    EXPECT_EQ(std::tuple(d.FindBaseMedia(5), d.FindMediaVariant(5, 1), d.FindMedia(5).Id(), d.FindFeedMargin(7).Key(),
                         d.GetOptions(), d.m_nOrientationAngle, d.m_dwMediaFlags, d.m_nMaxLength),
              std::tuple(nullptr, nullptr, 0, 0, 0u, 0, 0u, 0));

    d.m_aMedia = {Medium(10, 100, 200), Medium(11, 300, 400, 0, 0, 2, 10), Medium(12, 50, 50, 0, 0, 1, 12),
                  Medium(11, 300, 400, 0, 0, 3, 10)};
    const auto* media = d.m_aMedia.data();
    // Medium 12 is its own base, 11 shares medium 10, an unknown id gets the first.
    EXPECT_EQ(std::tuple(d.FindBaseMedia(12), d.FindBaseMedia(11), d.FindBaseMedia(99)),
              std::tuple(media + 2, media, media));
    EXPECT_EQ(std::tuple(d.FindMediaVariant(11, 3), d.FindMediaVariant(11, 4), d.FindMedia(12).PhysicalWidth()),
              std::tuple(media + 3, media, 50));

    // Feed margins are scanned from the last entry.
    d.m_aFeedMargins = {FeedMargin(0, 1), FeedMargin(5, 2), FeedMargin(10, 3)};
    EXPECT_EQ(std::tuple(d.FindFeedMargin(7).Margin(), d.FindFeedMargin(0).Margin(), d.FindFeedMargin(400).Margin()),
              std::tuple(2, 1, 3));
    d.m_aFeedMargins = {FeedMargin(3, 9)};
    EXPECT_EQ(d.FindFeedMargin(2).Margin(), 0);

    // Minimum margins: 65535 each without media, else the smallest offsets.
    d.m_aMedia.clear();
    d.ComputeMinMargins();
    EXPECT_EQ(d.m_rcMinMargins, (Rect32{65535, 65535, 65535, 65535}));
    d.m_aMedia = {Medium(1, 600, 800, 10, 20), Medium(2, 600, 800, 12, 6)};
    d.ComputeMinMargins();
    EXPECT_EQ(d.m_rcMinMargins, (Rect32{10, 6, 10, 6}));
}

TEST(PrivateData, ValidityFollowsBlockSizeAndCount)
{
    // Block size, entry count, bytes the driver gave, valid: the two fixed
    // sizes, a size from the count, and sizes that are neither or more than
    // the driver gave.
    const std::array<int, 4> rows[] = {
        {3030, 5, 3030, 1}, {4530, 7, 4530, 1}, {330, 2, 330, 1}, {3000, 20, 3030, 0}, {4530, 30, 3030, 0}};
    for (const auto& [size, count, given, valid] : rows) {
        PrinterDescription d;
        GiveDevMode(d, ExtendedBlock(size, count, given));
        EXPECT_EQ(d.IsPrivateDataValid(), valid) << size << " " << count;
    }
}

TEST(UserMedia, ExtendedBlockOfThirtyEntriesKeepsTheLastTenZero)
{
    PrinterDescription d;
    d.m_dwDriverFlags = driver_flags::PRIVATE_EXTENDED;
    d.m_aMedia = {Medium(10, 100, 200), Medium(20, 300, 400, 0, 0, 2)};
    auto block = ExtendedBlock(4530, 30, 4530);
    PutExtendedEntry(block, 0, 400, "Label 62 mm", 20, 2, 0);
    PutExtendedEntry(block, 1, 401, "Zero parts", 10, 0, 77);
    PutExtendedEntry(block, 2, 402, "Unknown base", 99, 1, 0);
    PutExtendedEntry(block, 29, 499, "Beyond twenty", 10, 1, 1);
    GiveDevMode(d, block);

    ASSERT_EQ((std::tuple{d.LoadUserMedia(), d.m_aUserMedia.size()}), std::tuple(1, 30u));
    const auto& first = d.m_aUserMedia[0];
    // The width is taken from the base medium.
    EXPECT_EQ(
        std::tuple(first.Id(), reinterpret_cast<const char*>(first.bytes.data() + 2), first.BaseId(), first.Width()),
        std::tuple(400, std::string("Label 62 mm"), 20, 300));
    // Zero parts become one; an unknown base becomes the first medium's id.
    EXPECT_EQ(std::tuple(d.m_aUserMedia[1].PartCount(), d.m_aUserMedia[2].BaseId(), d.FindUserMedia(401).Width(),
                         d.m_wTableFlags),
              std::tuple(1, 10, 77, 0x100));
    EXPECT_TRUE(std::all_of(d.m_aUserMedia.begin() + 20, d.m_aUserMedia.end(),
                            [](const UserMediaEntry& entry) { return entry.bytes == UserMediaEntry{}.bytes; }));

    // Without a media table there is no medium to fall back on: the base stays.
    d.m_aMedia.clear();
    d.LoadUserMedia();
    EXPECT_EQ(std::tuple(d.m_aUserMedia[0].BaseId(), d.m_aUserMedia[2].BaseId()), std::tuple(20, 99));
}

TEST(UserMedia, CompactEntriesCountFrom306AndStayInsideTheTables)
{
    PrinterDescription d;
    d.m_dwDriverFlags = driver_flags::PRIVATE_COMPACT;
    d.m_aMedia = {Medium(10, 100, 200), Medium(11, 300, 400)};
    // Entries of 73 bytes from offset 112: name, base id at 64, length at 66.
    std::vector<std::uint8_t> block(112 + 73 * 3, 0);
    block[109] = 5;  // the entry count, more than the block holds
    auto put = [&](std::size_t i, const char* name, std::uint16_t base) {
        const auto at = 112 + 73 * i;
        std::memcpy(block.data() + at, name, std::strlen(name));
        PutWords(std::span(block).subspan(at), {{64, base}, {66, 500}});
    };
    put(0, "Tape A", 11);
    put(1, "Tape B", 10);
    put(2, "Tape C", 40);  // outside the media table
    GiveDevMode(d, block);

    d.LoadUserMedia();
    ASSERT_EQ(d.m_aUserMedia.size(), 3u);
    const auto& a = d.m_aUserMedia[0];
    // The name is copied into the second; ids are counted from 306; a base
    // outside the media table gives no width.
    EXPECT_EQ(std::tuple(std::memcmp(a.bytes.data() + 2, a.bytes.data() + 66, 64), a.Width(), a.Length(), a.PartCount(),
                         d.m_aUserMedia[1].Id(), d.m_aUserMedia[1].Width(), d.m_aUserMedia[2].Width()),
              std::tuple(0, 300, 500, 1, 307, 100, 0));
}

TEST(Options, ExtendedWordCompactByteAndColourFollowTheMask)
{
    PrinterDescription d;
    d.m_dwDriverFlags = driver_flags::PRIVATE_EXTENDED;
    auto block = ExtendedBlock(30, 0, 30);
    byte_fields::Put<std::uint32_t>(block, 22, 0xC000 | 0x40 | 0x2);  // the option word
    GiveDevMode(d, block);
    d.DevMode().SetShort(devmode_layout::dmColor, COLOR_MODE_COLOR);
    std::tie(d.m_dwOptionMask, d.m_dwOptions) = std::tuple(0x1 | 0x2 | 0x8 | 0x40, 0x1);
    d.LoadSelectedOptions();
    // 0x1 cleared, 0x2 and 0x40 from the word, 0x8 from dmColor, 0x4000 first of 0xC000.
    EXPECT_EQ(
        std::tuple(d.m_dwOptions, d.m_dwOptionsDefault, d.m_dwOptionMask, d.m_dwFeatures),
        std::tuple(0x2u | 0x8 | 0x40 | 0x4000, 0x2u | 0x8 | 0x40 | 0x4000, 0x1u | 0x2 | 0x8 | 0x40 | 0xF000, 0x2000u));

    EXPECT_EQ((std::tuple{d.SetOptions(0xFFFFFFFF), d.GetOptions()}), std::tuple(1, 0x1u | 0x2 | 0x8 | 0x40 | 0xF000));

    // The compact block's option byte.
    PrinterDescription compact;
    compact.m_dwDriverFlags = driver_flags::PRIVATE_COMPACT;
    std::vector<std::uint8_t> compactBlock(112, 0);
    compactBlock[107] = 0x80;
    GiveDevMode(compact, compactBlock);
    std::tie(compact.m_dwOptionMask, compact.m_dwOptions) = std::tuple(0x1 | 0x2 | 0x4, 0x3);
    compact.LoadSelectedOptions();
    EXPECT_EQ(compact.m_dwOptions, 0x4u);
}

TEST(Build, PaperFiltersAndTheFallbackResolution)
{
    PrinterDescription d;
    GiveDevMode(d, {});
    auto paperSize = [&] { return d.DevMode().Short(devmode_layout::dmPaperSize); };
    d.DevMode().SetShort(devmode_layout::dmPaperSize, PAPER_USER_DEFINED);
    d.m_aMedia = {Medium(256, 1, 1), Medium(262, 1, 1)};
    d.DropUserPaperSizes();
    EXPECT_EQ(std::tuple(d.m_aMedia.size(), paperSize()), std::tuple(0u, PAPER_USER_DEFINED));

    d.m_aMedia = {Medium(256, 1, 1), Medium(9, 1, 1), Medium(262, 1, 1), Medium(70, 1, 1)};
    d.DropUserPaperSizes();
    EXPECT_EQ(std::tuple(d.m_aMedia.size(), paperSize()), std::tuple(2u, 9));

    d.m_dwModelId = 0x00023831;
    d.m_aMedia = {Medium(9, 1, 1), Medium(255, 1, 1), Medium(256, 1, 1), Medium(0x8001, 1, 1)};
    d.KeepDriverPaperSizes();
    EXPECT_EQ(std::tuple(d.m_aMedia.size(), paperSize()), std::tuple(2u, 256));

    // The fallback resolution comes from the first paper.
    auto paper = Medium(9, 2480, 3508);
    PutWords(paper.bytes, {{114, 2100}, {4, 2970}});  // paper width and length
    d.m_aMedia = {paper};
    d.ChooseFallbackResolution();
    // 2480 dots over 210 mm is 299.96 dpi, 3508 over 297 mm 300.01: the
    // family's arithmetic makes 304 and 305 of them (x + 5 for whole x).
    EXPECT_EQ(std::tie(d.m_nResX, d.m_nResY), std::tuple(304, 305));

    d.m_nResX = 0;
    d.m_aResolutions = {{150, 150}, {300, 300}, {600, 600}};
    d.ChooseFallbackResolution();
    EXPECT_EQ(d.m_nResX, 300);
}

// Minimum width, minimum length, maximum width, maximum length.
std::array<std::int32_t, 4> Extents(const PrinterDescription& d)
{
    return {d.m_nMinWidth, d.m_nMinLength, d.m_nMaxWidth, d.m_nMaxLength};
}

TEST(Build, ExtentsInDotsAddOneAndFourOrComeFromTheMedia)
{
    PrinterDescription d;
    std::tie(d.m_nExtentResX, d.m_nExtentResY, d.m_nMinExtentX, d.m_nMinExtentY, d.m_nMaxExtentX, d.m_nMaxExtentY) =
        std::tuple(254, 508, 100, 200, 1000, 2000);
    d.ComputeExtentsInDots();
    EXPECT_EQ(Extents(d), (std::array{101, 404, 1000, 4000}));

    d.m_dwDriverFlags = driver_flags::PRIVATE_COMPACT;  // width and length swap
    d.ComputeExtentsInDots();
    EXPECT_EQ(Extents(d), (std::array{401, 104, 4000, 1000}));

    d.m_dwDriverFlags = 0;
    d.m_nMinExtentX = 0;
    d.m_aMedia = {Medium(1, 300, 900), Medium(2, 120, 1500)};
    d.ComputeExtentsInDots();
    // The smallest physical width; the length already above 0 gains no 4.
    EXPECT_EQ(Extents(d), (std::array{120, 400, 1000, 4000}));

    // A resolution of millions of dots per inch saturates the extents rather
    // than overflowing them.
    d.m_nExtentResX = d.m_nExtentResY = 8'400'000;
    d.m_nMinExtentX = d.m_nMinExtentY = 0xFFFF;
    d.ComputeExtentsInDots();
    EXPECT_EQ(std::tie(d.m_nMinWidth, d.m_nMinLength), std::tuple(kMaxInt32, kMaxInt32));
}

class PrintArea : public ::testing::Test {
protected:
    void SetUp() override
    {
        GiveDevMode(d, {});
        d.m_nResX = 300;
    }
    void SelectPaper(std::uint16_t id)
    {
        auto devMode = d.DevMode();
        devMode.SetFields(devMode.Fields() | FIELD_PAPER_SIZE);
        devMode.SetShort(devmode_layout::dmPaperSize, static_cast<std::int16_t>(id));
    }
    PrinterDescription d;
};

TEST_F(PrintArea, CompactLayoutWithoutOrientationPutsLengthIntoWidth)
{
    d.m_dwDriverFlags = driver_flags::PRIVATE_COMPACT;
    auto devMode = d.DevMode();
    devMode.SetFields(FIELD_PAPER_LENGTH);
    devMode.SetShort(devmode_layout::dmPaperLength, 254);
    d.UpdatePrintArea();
    EXPECT_EQ(std::tie(d.m_wOrientation, d.m_nPageLength, d.m_nPageWidth), std::tuple(2, 0, 300));
}

TEST_F(PrintArea, MarginsFromTheMediumItsBaseAndTheDriversPairs)
{
    auto medium = Medium(5, 600, 900, 10, 8);
    PutWords(medium.bytes, {{118, 560}, {8, 880}});  // printable width and length
    d.m_aMedia = {medium};
    // The extended layout without valid private data goes by the paper alone.
    std::tie(d.m_ptOffset, d.m_ptMarginAdd, d.m_dwDriverFlags) =
        std::tuple(Point32{3, 4}, Point32{-1, 2}, driver_flags::PRIVATE_EXTENDED);
    SelectPaper(5);
    d.UpdatePrintArea();
    EXPECT_EQ(std::tie(d.m_nPageWidth, d.m_nPageLength), std::tuple(600, 900));
    EXPECT_EQ(std::tie(d.m_rcMediaMargins, d.m_rcMargins, d.m_rcMaxMargins, d.m_rcOffset),
              std::tuple(Rect32{10, 8, 30, 12}, Rect32{9, 10, 29, 14}, Rect32{9, 10, 29, 14}, Rect32{3, 4, 3, 4}));

    // With feed margins, top and bottom are the first entry's margin.
    d.m_aFeedMargins = {FeedMargin(0, 25), FeedMargin(1, 40)};
    d.UpdatePrintArea();
    EXPECT_EQ(std::tie(d.m_rcMediaMargins.top, d.m_rcMediaMargins.bottom), std::tuple(25, 25));

    // A multi-part medium keeps its base medium's side margins.
    d.m_aFeedMargins.clear();
    d.m_ptMarginAdd = {};
    d.m_aMedia = {Medium(10, 600, 900, 30, 0), Medium(11, 600, 900, 5, 0, 2, 10)};
    SelectPaper(11);
    d.UpdatePrintArea();
    EXPECT_EQ(std::tie(d.m_nParts, d.m_rcMargins.left, d.m_rcMargins.right), std::tuple(2, 30, 30));
}

TEST_F(PrintArea, MediumFlagsOverrideOffsetAndMargins)
{
    // The medium flags at offset 124: 0x10 margins are the offsets, 0x80 no
    // driver offset; 0x1 means nothing here.
    auto offsetMargins = Medium(5, 600, 900, 12, 8);
    offsetMargins.Put<std::uint32_t>(124, 0x10 | 0x1);
    auto noOffset = Medium(6, 600, 900, 12, 8);
    noOffset.Put<std::uint32_t>(124, 0x80);
    d.m_aMedia = {offsetMargins, noOffset};
    std::tie(d.m_ptOffset, d.m_ptMarginAdd) = std::tuple(Point32{3, 4}, Point32{100, 100});

    SelectPaper(5);
    d.UpdatePrintArea();
    EXPECT_EQ(std::tie(d.m_nPageWidth, d.m_rcMediaMargins, d.m_rcMaxMargins),
              std::tuple(600, Rect32{12, 8, 12, 8}, Rect32{112, 108, 112, 108}));

    SelectPaper(6);
    d.UpdatePrintArea();
    EXPECT_EQ(std::tie(d.m_rcOffset, d.m_rcMargins), std::tuple(Rect32{}, d.m_rcMediaMargins));
}

TEST_F(PrintArea, ExtendedSelectionByMediumAndLength)
{
    d.m_dwDriverFlags = driver_flags::PRIVATE_EXTENDED;
    d.m_aMedia = {Medium(10, 600, 900), Medium(11, 400, 700, 0, 0, 2)};
    d.m_aFeedMargins = {FeedMargin(0, 5), FeedMargin(4, 12)};
    auto block = ExtendedBlock(30, 0, 30);
    // Selection flags at 4 (by medium 0x1, length 0x2, feed margin 0x10, part
    // count 0x20), medium id at 6, feed-margin key at 10, part count at 12 and
    // the 32-bit length at 18.
    PutWords(block, {{4, 0x1 | 0x2 | 0x10 | 0x20}, {6, 11}, {10, 6}, {12, 2}, {18, 1234}});
    GiveDevMode(d, block);
    d.UpdatePrintArea();
    EXPECT_EQ(std::tie(d.m_wPaperId, d.m_nPageWidth, d.m_nPageLength, d.m_rcMaxMargins),
              std::tuple(11, 400, 1234, Rect32{0, 12, 0, 12}));

    // A medium whose margins are its offsets takes no private length, and
    // clears the top and bottom maxima while the side ones are 0.
    d.m_aMedia[1].Put<std::uint32_t>(124, 0x10);
    d.m_rcMaxMargins = {0, 50, 0, 50};
    d.ComputePrintArea();
    EXPECT_EQ(std::tie(d.m_nPageLength, d.m_rcMaxMargins), std::tuple(700, Rect32{}));
}

}  // namespace
