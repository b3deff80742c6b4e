// The description's questions to a scripted headless driver: standard
// capabilities, the paper list and its measurement. Drivers here answer
// whatever a test says, including counts that disagree.

#include <gtest/gtest.h>

#include <cstring>

#include "description/driver_flags.h"
#include "description/printer_description.h"
#include "platform/devmode_layout.h"
#include "platform/headless/printer_driver_script.h"
#include "platform/printing_constants.h"

namespace {

using namespace printing;
using platform::headless::PrinterDriverScript;

constexpr const char* kPrinter = "Label Printer";

// Little-endian fields one after another, as a driver fills its lists.
template <class T>
std::vector<std::uint8_t> Fields(std::initializer_list<T> values)
{
    std::vector<std::uint8_t> bytes(values.size() * sizeof(T));
    std::size_t at = 0;
    for (const auto value : values) {
        byte_fields::Put<T>(bytes, at, value);
        at += sizeof(T);
    }
    return bytes;
}

constexpr auto Int32s = Fields<std::int32_t>;
constexpr auto Words = Fields<std::uint16_t>;

std::vector<std::uint8_t> Names(std::initializer_list<std::string> names)
{
    std::vector<std::uint8_t> bytes(names.size() * PAPER_NAME_SIZE, 0);
    std::size_t at = 0;
    for (const auto& name : names) {
        std::memcpy(bytes.data() + at, name.data(), std::min<std::size_t>(name.size(), PAPER_NAME_SIZE));
        at += PAPER_NAME_SIZE;
    }
    return bytes;
}

// A driver whose device mode is the public part with the given fields.
PrinterDriverScript Script(std::uint32_t fields = 0)
{
    PrinterDriverScript script;
    script.devMode.assign(devmode_layout::PUBLIC_SIZE, 0);
    byte_fields::Put<std::uint16_t>(script.devMode, devmode_layout::dmSize, devmode_layout::PUBLIC_SIZE);
    byte_fields::Put<std::uint32_t>(script.devMode, devmode_layout::dmFields, fields);
    return script;
}

// The three paper queries, each answering the count it is given.
void Papers(PrinterDriverScript& script, std::initializer_list<std::string> names, int count,
            std::initializer_list<std::int32_t> sizes, std::initializer_list<std::uint16_t> codes)
{
    script.capabilities[CAPS_PAPER_NAMES] = {count, Names(names)};
    script.capabilities[CAPS_PAPER_SIZES] = {count, Int32s(sizes)};
    script.capabilities[CAPS_PAPERS] = {count, Words(codes)};
}

class DescriptionQueries : public ::testing::Test {
protected:
    void TearDown() override { platform::headless::ResetPrinterDrivers(); }

    // Installs the script and gives the description the driver's device mode.
    PrinterDriverScript& Install(PrinterDriverScript script)
    {
        platform::headless::SetPrinterDriver(kPrinter, std::move(script));
        auto& driver = *platform::headless::FindPrinterDriver(kPrinter);
        std::strcpy(m_description.m_szPrinter.data(), kPrinter);
        m_description.m_pDevMode = platform::GlobalMemory::AllocateZeroed(driver.devMode.size());
        m_description.m_dwDeviceFlags |= DEVICE_FLAG_DEVMODE_OWNED;
        EXPECT_TRUE(m_description.ReadDefaultDevMode());
        return driver;
    }

    PrinterDescription m_description;
};

TEST_F(DescriptionQueries, StandardCapabilities_ResolutionsExtentsAndCopies)
{
    auto script = Script(FIELD_PRINT_QUALITY);
    script.capabilities[CAPS_FIELDS] = {0x1F, {}};
    script.capabilities[CAPS_RESOLUTIONS] = {3, Int32s({300, 300, 180, 180, 360, 180})};
    script.capabilities[CAPS_MAX_EXTENT] = {0x00000050, {}};
    script.capabilities[CAPS_MIN_EXTENT] = {0x7FFF7FFF, {}};
    script.capabilities[CAPS_COPIES] = {9999, {}};
    script.capabilities[CAPS_ORIENTATION] = {90, {}};
    byte_fields::Put<std::int16_t>(script.devMode, devmode_layout::dmPrintQuality, PRINT_QUALITY_HIGH);
    Install(std::move(script));

    ASSERT_TRUE(m_description.QueryStandardCapabilities());
    EXPECT_EQ(m_description.m_dwDmFields, 0x1Fu);
    EXPECT_EQ(m_description.m_aResolutions, (std::vector<Resolution>{{180, 180}, {360, 180}, {300, 300}}));
    EXPECT_EQ(m_description.m_nResX, 300);  // high quality: the last
    EXPECT_EQ(m_description.m_nMaxExtentX, 80);
    EXPECT_EQ(m_description.m_nMaxExtentY, 0);
    EXPECT_EQ(m_description.m_nMinExtentX, 0);
    EXPECT_EQ(m_description.m_nMinExtentY, 0);
    EXPECT_EQ(m_description.m_nMaxCopies, 9999);
    EXPECT_EQ(m_description.m_nOrientationAngle, 90);
}

TEST_F(DescriptionQueries, StandardCapabilities_RefusesWildCountsAndNeedsFields)
{
    auto script = Script(FIELD_Y_RESOLUTION);
    script.capabilities[CAPS_FIELDS] = {0x1F, {}};
    script.capabilities[CAPS_RESOLUTIONS] = {100000, {}};
    script.capabilities[CAPS_MAX_EXTENT] = {0x00500000, {}};
    byte_fields::Put<std::int16_t>(script.devMode, devmode_layout::dmPrintQuality, 203);
    byte_fields::Put<std::int16_t>(script.devMode, devmode_layout::dmYResolution, 406);
    auto& driver = Install(std::move(script));

    ASSERT_TRUE(m_description.QueryStandardCapabilities());
    EXPECT_TRUE(m_description.m_aResolutions.empty());
    EXPECT_EQ(m_description.m_nResX, 203);
    EXPECT_EQ(m_description.m_nResY, 406);
    EXPECT_EQ(m_description.m_nMaxExtentX, 0);  // low word 0, high word not

    driver.capabilities[CAPS_RESOLUTIONS] = {-7, {}};
    EXPECT_TRUE(m_description.QueryStandardCapabilities());
    EXPECT_TRUE(m_description.m_aResolutions.empty());

    driver.capabilities.erase(CAPS_FIELDS);
    EXPECT_FALSE(m_description.QueryStandardCapabilities());
}

TEST_F(DescriptionQueries, PaperList_SplitsAtTheLastBarAndMeasuresEachPaper)
{
    auto script = Script();
    Papers(script, {"Tape 12mm|12 mm tape", "A|B|C", std::string(60, 'x')}, 3, {120, 1000, 240, 2000, 360, 3000},
           {300, 301, 302});
    script.physicalSize[300] = {1, 142, 1181};
    script.printingOffset[300] = {1, 6, 12};
    auto& driver = Install(std::move(script));
    m_description.m_dwDmFields = FIELD_ORIENTATION;
    m_description.DevMode().SetShort(devmode_layout::dmOrientation, 2);
    m_description.DevMode().SetShort(devmode_layout::dmPaperSize, 301);

    ASSERT_TRUE(m_description.LoadPaperList(true));
    ASSERT_EQ(m_description.m_aMedia.size(), 3u);
    const auto& tape = m_description.m_aMedia[0];
    EXPECT_EQ(tape.Name(), "Tape 12mm");
    EXPECT_EQ(tape.DisplayName(), "12 mm tape");
    EXPECT_EQ(m_description.m_aMedia[1].Name(), "A|B");
    EXPECT_EQ(m_description.m_aMedia[1].DisplayName(), "C");
    EXPECT_EQ(m_description.m_aMedia[2].Name(), std::string(49, 'x'));
    EXPECT_EQ(tape.Id(), 300);
    EXPECT_EQ(tape.BaseId(), 300);
    EXPECT_EQ(tape.PaperWidth(), 120);
    EXPECT_EQ(tape.PaperLength(), 1000);
    EXPECT_EQ(tape.PartCount(), 1);
    EXPECT_EQ(tape.PhysicalWidth(), 142);
    EXPECT_EQ(tape.PrintableWidth(), 130);
    EXPECT_EQ(tape.PrintableLength(), 1181 - 24);
    EXPECT_EQ(m_description.m_rcMinMargins, (Rect32{12, 6, 12, 6}));
    // Each paper gets a context of its own, and one more to check the
    // restored device mode; none stays open.
    EXPECT_EQ(driver.informationContexts, 4);
    EXPECT_EQ(driver.openInformationContexts, 0);
    EXPECT_EQ(m_description.DevMode().Short(devmode_layout::dmPaperSize), 301);
    EXPECT_EQ(m_description.DevMode().Short(devmode_layout::dmOrientation), 2);

    // Without the split flag the whole text is both names.
    m_description.m_aMedia.clear();
    ASSERT_TRUE(m_description.LoadPaperList(false));
    EXPECT_EQ(m_description.m_aMedia[0].Name(), "Tape 12mm|12 mm tape");
}

TEST_F(DescriptionQueries, PaperList_OnlyUserSizesLeaveAnEmptyTable)
{
    auto script = Script(FIELD_PAPER_SIZE);
    Papers(script, {"User", "Custom"}, 2, {1, 1, 2, 2}, {256, 262});
    script.informationContextFails = true;
    byte_fields::Put<std::int16_t>(script.devMode, devmode_layout::dmPaperSize, PAPER_USER_DEFINED);
    Install(std::move(script));

    EXPECT_TRUE(m_description.LoadPaperList(false));
    EXPECT_TRUE(m_description.m_aMedia.empty());
    EXPECT_EQ(m_description.DevMode().Short(devmode_layout::dmPaperSize), PAPER_USER_DEFINED);
}

TEST_F(DescriptionQueries, FallbackBuild_StandardFeaturesAndPaperList)
{
    auto script = Script();
    Papers(script, {"Tape"}, 1, {254, 254}, {300});
    script.physicalSize[300] = {1, 180, 180};
    Install(std::move(script));
    m_description.m_dwDmFields = FIELD_COLOR;

    m_description.BuildFromStandardQueries();
    EXPECT_EQ(m_description.m_dwFeatures, 0x51u);
    EXPECT_EQ(m_description.m_wTableFlags, 9);
    EXPECT_EQ(m_description.m_dwColors, 0xFFFFFFu);
    EXPECT_TRUE(m_description.m_dwOptionMask & driver_flags::OPTION_COLOR);
    EXPECT_TRUE(m_description.m_dwDescFlags & DESC_FLAG_TABLES_OWNED);
    EXPECT_EQ(m_description.m_nResX, 185);  // 180 dots over an inch, + 5
    EXPECT_EQ(m_description.m_wMediaClass, 2);
    EXPECT_EQ(m_description.m_wDriverValue, 1);
}

}  // namespace
