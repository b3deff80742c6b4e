// The printer description's own computations, on descriptions filled by hand:
// resolutions, media lookups, the device mode's private data, options, the
// build's filters and extents, and the print area.

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <limits>

#include "description/driver_flags.h"
#include "description/printer_description.h"
#include "description/private_layout.h"
#include "platform/devmode_layout.h"
#include "platform/printing_constants.h"

namespace {

namespace ext = private_layout::extended;
namespace cmp = private_layout::compact;
using namespace printing;

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

MediaEntry Medium(std::uint16_t id, std::int16_t width, std::int16_t length, std::int16_t hOffset = 0,
                  std::int16_t vOffset = 0, std::uint8_t parts = 1, std::uint16_t baseId = 0)
{
    MediaEntry entry;
    entry.Put<std::uint16_t>(media_entry::ID, id);
    entry.Put<std::int16_t>(media_entry::PHYSICAL_WIDTH, width);
    entry.Put<std::int16_t>(media_entry::PHYSICAL_LENGTH, length);
    entry.Put<std::int16_t>(media_entry::HORIZONTAL_OFFSET, hOffset);
    entry.Put<std::int16_t>(media_entry::VERTICAL_OFFSET, vOffset);
    entry.Put<std::int16_t>(media_entry::PRINTABLE_WIDTH, static_cast<std::int16_t>(width - 2 * hOffset));
    entry.Put<std::int16_t>(media_entry::PRINTABLE_LENGTH, static_cast<std::int16_t>(length - 2 * vOffset));
    entry.Put<std::uint16_t>(media_entry::BASE_ID, baseId);
    entry.bytes[media_entry::PART_COUNT] = parts;
    return entry;
}

FeedMarginEntry FeedMargin(std::uint8_t key, std::int16_t margin)
{
    FeedMarginEntry entry;
    entry.bytes[feed_margin_entry::KEY] = key;
    byte_fields::Put<std::int16_t>(entry.bytes, feed_margin_entry::MARGIN, margin);
    return entry;
}

// An extended private block: header with block size and count, then entries.
std::vector<std::uint8_t> ExtendedBlock(std::uint16_t blockSize, std::uint16_t count, std::size_t bytes)
{
    std::vector<std::uint8_t> block(bytes, 0);
    byte_fields::Put<std::uint16_t>(block, ext::BLOCK_SIZE, blockSize);
    byte_fields::Put<std::uint16_t>(block, ext::ENTRY_COUNT, count);
    return block;
}

void PutExtendedEntry(std::vector<std::uint8_t>& block, std::size_t index, std::uint16_t id, const char* name,
                      std::uint16_t baseId, std::uint16_t parts, std::uint16_t width)
{
    const auto at = ext::HEADER_SIZE + ext::ENTRY_SIZE * index;
    byte_fields::Put<std::uint16_t>(block, at + ext::ENTRY_ID, id);
    std::memcpy(block.data() + at + ext::ENTRY_NAME, name, std::strlen(name));
    byte_fields::Put<std::uint16_t>(block, at + ext::ENTRY_CARRIED, baseId);
    byte_fields::Put<std::uint16_t>(block, at + ext::ENTRY_CARRIED + 4, width);
    byte_fields::Put<std::uint16_t>(block, at + ext::ENTRY_CARRIED + 10, parts);
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
    const std::vector<Resolution> four{{1, 1}, {2, 2}, {3, 3}, {4, 4}};
    EXPECT_EQ(ChooseResolutionByQuality(four, PRINT_QUALITY_MEDIUM), (Resolution{2, 2}));
    EXPECT_EQ(ChooseResolutionByQuality(four, PRINT_QUALITY_LOW), (Resolution{3, 3}));
    const std::vector<Resolution> two{{1, 1}, {2, 2}};
    EXPECT_EQ(ChooseResolutionByQuality(two, PRINT_QUALITY_LOW), (Resolution{1, 1}));

    // Tenths of a millimetre to dots round, and never overflow.
    PrinterDescription description;
    description.m_nResX = 180;
    EXPECT_EQ(description.DotsFromTenthMm(254), 180);
    description.m_nResX = 300;
    EXPECT_EQ(description.DotsFromTenthMm(-5), -5);
    description.m_nResX = 2'000'000'000;  // a driver's wild answer
    EXPECT_EQ(description.DotsFromTenthMm(32767), std::numeric_limits<std::int32_t>::max());
}

TEST(MediaLookups, FindFallsBackFeedMarginsScanFromTheLastAndMinMargins)
{
    PrinterDescription description;
    EXPECT_EQ(description.FindBaseMedia(5), nullptr);
    EXPECT_EQ(description.FindMediaVariant(5, 1), nullptr);
    EXPECT_EQ(description.FindMedia(5).Id(), 0);

    description.m_aMedia = {Medium(10, 100, 200), Medium(11, 300, 400, 0, 0, 2, 10), Medium(12, 50, 50, 0, 0, 1, 12),
                            Medium(11, 300, 400, 0, 0, 3, 10)};
    EXPECT_EQ(description.FindMedia(12).PhysicalWidth(), 50);
    EXPECT_EQ(description.FindBaseMedia(12), &description.m_aMedia[2]);  // its own id
    EXPECT_EQ(description.FindBaseMedia(11), &description.m_aMedia[0]);  // shares medium 10
    EXPECT_EQ(description.FindBaseMedia(99), &description.m_aMedia[0]);
    EXPECT_EQ(description.FindMediaVariant(11, 3), &description.m_aMedia[3]);
    EXPECT_EQ(description.FindMediaVariant(11, 4), &description.m_aMedia[0]);

    // Feed margins are scanned from the last entry.
    EXPECT_EQ(description.FindFeedMargin(7).Key(), 0);
    description.m_aFeedMargins = {FeedMargin(0, 1), FeedMargin(5, 2), FeedMargin(10, 3)};
    EXPECT_EQ(description.FindFeedMargin(7).Margin(), 2);
    EXPECT_EQ(description.FindFeedMargin(0).Margin(), 1);
    EXPECT_EQ(description.FindFeedMargin(400).Margin(), 3);
    description.m_aFeedMargins = {FeedMargin(3, 9)};
    EXPECT_EQ(description.FindFeedMargin(2).Margin(), 0);

    // Minimum margins: 65535 each without media, else the smallest offsets.
    description.m_aMedia.clear();
    description.ComputeMinMargins();
    EXPECT_EQ(description.m_rcMinMargins, (Rect32{65535, 65535, 65535, 65535}));
    description.m_aMedia = {Medium(1, 600, 800, 10, 20), Medium(2, 600, 800, 12, 6)};
    description.ComputeMinMargins();
    EXPECT_EQ(description.m_rcMinMargins, (Rect32{10, 6, 10, 6}));
}

TEST(PrivateData, ValidityFollowsBlockSizeAndCount)
{
    struct Row {
        std::uint16_t size, count;
        std::size_t given;
        int valid;
    };
    // The two fixed sizes, a size from the count, and sizes that are neither
    // or more than the driver gave.
    const Row rows[] = {
        {3030, 20, 3030, 1}, {4530, 7, 4530, 1}, {330, 2, 330, 1}, {3000, 20, 3030, 0}, {4530, 30, 3030, 0}};
    for (const auto& row : rows) {
        PrinterDescription description;
        GiveDevMode(description, ExtendedBlock(row.size, row.count, row.given));
        EXPECT_EQ(description.IsPrivateDataValid(), row.valid) << row.size << " " << row.count;
    }
}

TEST(UserMedia, ExtendedBlockOfThirtyEntriesKeepsTheLastTenZero)
{
    PrinterDescription description;
    description.m_dwDriverFlags = driver_flags::PRIVATE_EXTENDED;
    description.m_aMedia = {Medium(10, 100, 200), Medium(20, 300, 400, 0, 0, 2)};
    auto block = ExtendedBlock(4530, 30, 4530);
    PutExtendedEntry(block, 0, 400, "Label 62 mm", 20, 2, 0);
    PutExtendedEntry(block, 1, 401, "Zero parts", 10, 0, 77);
    PutExtendedEntry(block, 2, 402, "Unknown base", 99, 1, 0);
    PutExtendedEntry(block, 29, 499, "Beyond twenty", 10, 1, 1);
    GiveDevMode(description, block);

    EXPECT_EQ(description.LoadUserMedia(), 1);
    ASSERT_EQ(description.m_aUserMedia.size(), 30u);
    const auto& first = description.m_aUserMedia[0];
    EXPECT_EQ(first.Id(), 400);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(first.bytes.data() + user_media_entry::NAME)), "Label 62 mm");
    EXPECT_EQ(first.BaseId(), 20);
    EXPECT_EQ(first.Width(), 300);  // taken from the base medium
    EXPECT_EQ(description.m_aUserMedia[1].PartCount(), 1);
    EXPECT_EQ(description.m_aUserMedia[2].BaseId(), 10);  // the first medium's id
    for (std::size_t i = 20; i < 30; ++i) {
        EXPECT_EQ(description.m_aUserMedia[i].bytes, UserMediaEntry{}.bytes) << i;
    }
    EXPECT_TRUE(description.m_wTableFlags & driver_flags::TABLE_USER_MEDIA);
    EXPECT_EQ(description.FindUserMedia(401).Width(), 77);

    // Without a media table there is no medium to fall back on: the base stays.
    description.m_aMedia.clear();
    description.LoadUserMedia();
    EXPECT_EQ(description.m_aUserMedia[0].BaseId(), 20);
    EXPECT_EQ(description.m_aUserMedia[2].BaseId(), 99);
}

TEST(UserMedia, CompactEntriesCountFrom306AndStayInsideTheTables)
{
    PrinterDescription description;
    description.m_dwDriverFlags = driver_flags::PRIVATE_COMPACT;
    description.m_aMedia = {Medium(10, 100, 200), Medium(11, 300, 400)};
    std::vector<std::uint8_t> block(cmp::FIRST_ENTRY + cmp::ENTRY_SIZE * 3, 0);
    block[cmp::ENTRY_COUNT] = 5;  // more than the block holds
    auto put = [&](std::size_t i, const char* name, std::uint16_t base) {
        const auto at = cmp::FIRST_ENTRY + cmp::ENTRY_SIZE * i;
        std::memcpy(block.data() + at, name, std::strlen(name));
        byte_fields::Put<std::uint16_t>(block, at + cmp::ENTRY_BASE_ID, base);
        byte_fields::Put<std::uint16_t>(block, at + cmp::ENTRY_LENGTH, 500);
    };
    put(0, "Tape A", 11);
    put(1, "Tape B", 10);
    put(2, "Tape C", 40);  // outside the media table
    GiveDevMode(description, block);

    description.LoadUserMedia();
    ASSERT_EQ(description.m_aUserMedia.size(), 3u);
    const auto& a = description.m_aUserMedia[0];
    EXPECT_EQ(description.m_aUserMedia[1].Id(), 307);  // counted from 306
    EXPECT_EQ(std::memcmp(a.bytes.data() + user_media_entry::NAME, a.bytes.data() + user_media_entry::SECOND_NAME,
                          user_media_entry::NAME_SIZE),
              0);
    EXPECT_EQ(a.Width(), 300);
    EXPECT_EQ(a.Length(), 500);
    EXPECT_EQ(a.PartCount(), 1);
    EXPECT_EQ(description.m_aUserMedia[2].Width(), 0);
}

TEST(Options, ExtendedWordCompactByteAndColourFollowTheMask)
{
    PrinterDescription description;
    description.m_dwDriverFlags = driver_flags::PRIVATE_EXTENDED;
    auto block = ExtendedBlock(30, 0, 30);
    byte_fields::Put<std::uint32_t>(block, ext::OPTION_WORD, 0x6000 | 0x40 | 0x2);
    GiveDevMode(description, block);
    description.DevMode().SetShort(devmode_layout::dmColor, COLOR_MODE_COLOR);
    description.m_dwOptionMask = 0x1 | 0x2 | 0x8 | 0x40;
    description.m_dwOptions = 0x1;
    description.LoadSelectedOptions();
    // 0x1 cleared, 0x2 and 0x40 from the word, 0x8 from dmColor, 0x2000 first of 0x6000.
    EXPECT_EQ(description.m_dwOptions, 0x2u | 0x8 | 0x40 | 0x2000);
    EXPECT_EQ(description.m_dwOptionsDefault, description.m_dwOptions);
    EXPECT_EQ(description.m_dwOptionMask, 0x1u | 0x2 | 0x8 | 0x40 | 0xF000);
    EXPECT_TRUE(description.m_dwFeatures & 0x2000);

    EXPECT_EQ(description.SetOptions(0xFFFFFFFF), 1);
    EXPECT_EQ(description.GetOptions(), description.m_dwOptionMask);

    // The compact block's option byte.
    PrinterDescription compact;
    compact.m_dwDriverFlags = driver_flags::PRIVATE_COMPACT;
    std::vector<std::uint8_t> compactBlock(cmp::FIRST_ENTRY, 0);
    compactBlock[cmp::OPTION_BYTE] = cmp::OPTION_BIT_80;
    GiveDevMode(compact, compactBlock);
    compact.m_dwOptionMask = 0x1 | 0x2 | 0x4;
    compact.m_dwOptions = 0x3;
    compact.LoadSelectedOptions();
    EXPECT_EQ(compact.m_dwOptions, 0x4u);
}

TEST(Build, PaperFiltersAndTheFallbackResolution)
{
    PrinterDescription description;
    GiveDevMode(description, {});
    description.DevMode().SetShort(devmode_layout::dmPaperSize, PAPER_USER_DEFINED);
    description.m_aMedia = {Medium(256, 1, 1), Medium(262, 1, 1)};
    description.DropUserPaperSizes();
    EXPECT_TRUE(description.m_aMedia.empty());
    EXPECT_EQ(description.DevMode().Short(devmode_layout::dmPaperSize), PAPER_USER_DEFINED);

    description.m_aMedia = {Medium(256, 1, 1), Medium(9, 1, 1), Medium(262, 1, 1), Medium(70, 1, 1)};
    description.DropUserPaperSizes();
    ASSERT_EQ(description.m_aMedia.size(), 2u);
    EXPECT_EQ(description.DevMode().Short(devmode_layout::dmPaperSize), 9);

    description.m_dwModelId = 0x00023831;
    description.m_aMedia = {Medium(9, 1, 1), Medium(255, 1, 1), Medium(256, 1, 1), Medium(0x8001, 1, 1)};
    description.KeepDriverPaperSizes();
    ASSERT_EQ(description.m_aMedia.size(), 2u);
    EXPECT_EQ(description.DevMode().Short(devmode_layout::dmPaperSize), 256);

    // The fallback resolution comes from the first paper.
    auto paper = Medium(9, 2480, 3508);
    paper.Put<std::uint16_t>(media_entry::PAPER_WIDTH, 2100);
    paper.Put<std::uint16_t>(media_entry::PAPER_LENGTH, 2970);
    description.m_aMedia = {paper};
    description.ChooseFallbackResolution();
    // 2480 dots over 210 mm is 299.96 dpi, 3508 over 297 mm 300.01: the
    // family's arithmetic makes 304 and 305 of them (x + 5 for whole x).
    EXPECT_EQ(description.m_nResX, 304);
    EXPECT_EQ(description.m_nResY, 305);

    description.m_nResX = 0;
    description.m_aResolutions = {{150, 150}, {300, 300}, {600, 600}};
    description.ChooseFallbackResolution();
    EXPECT_EQ(description.m_nResX, 300);
}

// Minimum width, minimum length, maximum width, maximum length.
std::array<std::int32_t, 4> Extents(const PrinterDescription& d)
{
    return {d.m_nMinWidth, d.m_nMinLength, d.m_nMaxWidth, d.m_nMaxLength};
}

TEST(Build, ExtentsInDotsAddOneAndFourOrComeFromTheMedia)
{
    PrinterDescription description;
    description.m_nExtentResX = 254;
    description.m_nExtentResY = 508;
    description.m_nMinExtentX = 100;
    description.m_nMinExtentY = 200;
    description.m_nMaxExtentX = 1000;
    description.m_nMaxExtentY = 2000;
    description.ComputeExtentsInDots();
    EXPECT_EQ(Extents(description), (std::array{101, 404, 1000, 4000}));

    description.m_dwDriverFlags = driver_flags::PRIVATE_COMPACT;  // width and length swap
    description.ComputeExtentsInDots();
    EXPECT_EQ(Extents(description), (std::array{401, 104, 4000, 1000}));

    description.m_dwDriverFlags = 0;
    description.m_nMinExtentX = 0;
    description.m_aMedia = {Medium(1, 300, 900), Medium(2, 120, 1500)};
    description.ComputeExtentsInDots();
    // The smallest physical width; the length already above 0 gains no 4.
    EXPECT_EQ(Extents(description), (std::array{120, 400, 1000, 4000}));

    // A resolution of millions of dots per inch saturates the extents rather
    // than overflowing them.
    description.m_nExtentResX = description.m_nExtentResY = 8'400'000;
    description.m_nMinExtentX = description.m_nMinExtentY = 0xFFFF;
    description.ComputeExtentsInDots();
    EXPECT_EQ(description.m_nMinWidth, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(description.m_nMinLength, std::numeric_limits<std::int32_t>::max());
}

class PrintArea : public ::testing::Test {
protected:
    void SetUp() override
    {
        GiveDevMode(m_description, {});
        m_description.m_nResX = 300;
    }
    void SelectPaper(std::uint16_t id)
    {
        auto devMode = m_description.DevMode();
        devMode.SetFields(devMode.Fields() | FIELD_PAPER_SIZE);
        devMode.SetShort(devmode_layout::dmPaperSize, static_cast<std::int16_t>(id));
    }
    PrinterDescription m_description;
};

TEST_F(PrintArea, CompactLayoutWithoutOrientationPutsWidthIntoLength)
{
    m_description.m_dwDriverFlags = driver_flags::PRIVATE_COMPACT;
    auto devMode = m_description.DevMode();
    devMode.SetFields(FIELD_PAPER_WIDTH);
    devMode.SetShort(devmode_layout::dmPaperWidth, 254);
    m_description.UpdatePrintArea();
    EXPECT_EQ(m_description.m_wOrientation, 2);
    EXPECT_EQ(m_description.m_nPageLength, 300);
    EXPECT_EQ(m_description.m_nPageWidth, 0);
}

TEST_F(PrintArea, MarginsFromTheMediumItsBaseAndTheDriversPairs)
{
    auto medium = Medium(5, 600, 900, 10, 8);
    medium.Put<std::int16_t>(media_entry::PRINTABLE_WIDTH, 560);
    medium.Put<std::int16_t>(media_entry::PRINTABLE_LENGTH, 880);
    m_description.m_aMedia = {medium};
    m_description.m_ptOffset = {3, 4};
    m_description.m_ptMarginAdd = {1, 2};
    SelectPaper(5);
    m_description.UpdatePrintArea();
    EXPECT_EQ(m_description.m_nPageWidth, 600);
    EXPECT_EQ(m_description.m_nPageLength, 900);
    EXPECT_EQ(m_description.m_rcMediaMargins, (Rect32{10, 8, 30, 12}));
    EXPECT_EQ(m_description.m_rcMargins, (Rect32{11, 10, 31, 14}));
    EXPECT_EQ(m_description.m_rcMaxMargins, m_description.m_rcMargins);
    EXPECT_EQ(m_description.m_rcOffset, (Rect32{3, 4, 3, 4}));

    // With feed margins, top and bottom are the first entry's margin.
    m_description.m_aFeedMargins = {FeedMargin(0, 25), FeedMargin(1, 40)};
    m_description.UpdatePrintArea();
    EXPECT_EQ(m_description.m_rcMediaMargins.top, 25);
    EXPECT_EQ(m_description.m_rcMediaMargins.bottom, 25);

    // A multi-part medium keeps its base medium's side margins.
    m_description.m_aFeedMargins.clear();
    m_description.m_ptMarginAdd = {};
    m_description.m_aMedia = {Medium(10, 600, 900, 30, 0), Medium(11, 600, 900, 5, 0, 2, 10)};
    SelectPaper(11);
    m_description.UpdatePrintArea();
    EXPECT_EQ(m_description.m_nParts, 2);
    EXPECT_EQ(m_description.m_rcMargins.left, 30);
    EXPECT_EQ(m_description.m_rcMargins.right, 30);
}

TEST_F(PrintArea, MediumFlagsOverrideOffsetAndMargins)
{
    auto offsetMargins = Medium(5, 600, 900, 12, 8);
    offsetMargins.Put<std::uint32_t>(media_entry::FLAGS, media_entry::FLAG_OFFSET_MARGINS);
    auto noOffset = Medium(6, 600, 900, 12, 8);
    noOffset.Put<std::uint32_t>(media_entry::FLAGS, media_entry::FLAG_NO_OFFSET);
    m_description.m_aMedia = {offsetMargins, noOffset};
    m_description.m_ptOffset = {3, 4};
    m_description.m_ptMarginAdd = {100, 100};

    SelectPaper(5);
    m_description.UpdatePrintArea();
    EXPECT_EQ(m_description.m_rcMediaMargins, (Rect32{12, 8, 12, 8}));
    EXPECT_GE(m_description.m_rcMaxMargins.top, 8);

    SelectPaper(6);
    m_description.UpdatePrintArea();
    EXPECT_EQ(m_description.m_rcOffset, (Rect32{}));
    EXPECT_EQ(m_description.m_rcMargins, m_description.m_rcMediaMargins);
}

TEST_F(PrintArea, ExtendedSelectionByMediumAndLength)
{
    m_description.m_dwDriverFlags = driver_flags::PRIVATE_EXTENDED;
    m_description.m_aMedia = {Medium(10, 600, 900), Medium(11, 400, 700, 0, 0, 2)};
    m_description.m_aFeedMargins = {FeedMargin(0, 5), FeedMargin(4, 12)};
    auto block = ExtendedBlock(30, 0, 30);
    byte_fields::Put<std::uint16_t>(
        block, ext::SELECTION_FLAGS,
        ext::SELECT_BY_MEDIUM | ext::SELECT_PART_COUNT | ext::SELECT_LENGTH | ext::SELECT_FEED_MARGIN);
    byte_fields::Put<std::uint16_t>(block, ext::MEDIUM_ID, 11);
    byte_fields::Put<std::uint16_t>(block, ext::PART_COUNT, 2);
    byte_fields::Put<std::uint16_t>(block, ext::FEED_MARGIN_KEY, 6);
    byte_fields::Put<std::int32_t>(block, ext::LENGTH, 1234);
    GiveDevMode(m_description, block);
    m_description.UpdatePrintArea();
    EXPECT_EQ(m_description.m_wPaperId, 11);
    EXPECT_EQ(m_description.m_nPageWidth, 400);
    EXPECT_EQ(m_description.m_nPageLength, 1234);
    EXPECT_GE(m_description.m_rcMaxMargins.top, 12);
}

}  // namespace
