// The description's questions to a scripted headless driver: standard
// capabilities, the paper list and its measurement. Drivers here answer
// whatever a test says, including counts that disagree.

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

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
    for (std::size_t i = 0; const auto value : values) {
        byte_fields::Put<T>(bytes, sizeof(T) * i++, value);
    }
    return bytes;
}

constexpr auto Int32s = Fields<std::int32_t>;
constexpr auto Words = Fields<std::uint16_t>;

std::vector<std::uint8_t> Names(std::initializer_list<std::string> names)
{
    std::vector<std::uint8_t> bytes(names.size() * PAPER_NAME_SIZE, 0);
    for (std::size_t i = 0; const auto& name : names) {
        std::memcpy(bytes.data() + PAPER_NAME_SIZE * i++, name.data(),
                    std::min<std::size_t>(name.size(), PAPER_NAME_SIZE));
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
    EXPECT_EQ(m_description.m_aResolutions, (std::vector<Resolution>{{180, 180}, {360, 180}, {300, 300}}));
    // High quality takes the last resolution; a maximum extent's high word is
    // its y, a minimum of 0x7FFF is none.
    const auto& d = m_description;
    EXPECT_EQ(std::tie(d.m_nResX, d.m_nMaxExtentX, d.m_nMaxExtentY, d.m_nMinExtentX, d.m_nMinExtentY),
              std::tuple(300, 80, 0, 0, 0));
    EXPECT_EQ(std::tie(d.m_nMaxCopies, d.m_nOrientationAngle, d.m_dwDmFields), std::tuple(9999, 90, 0x1Fu));
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
    // From the device mode; a maximum extent's low word 0 (high word not) is none.
    EXPECT_EQ(std::tie(m_description.m_nResX, m_description.m_nResY, m_description.m_nMaxExtentX),
              std::tuple(203, 406, 0));

    // Two resolutions and a quality that names none: x and y from the device mode.
    driver.capabilities[CAPS_RESOLUTIONS] = {2, Int32s({300, 300, 600, 600})};
    m_description.DevMode().SetFields(FIELD_PRINT_QUALITY | FIELD_Y_RESOLUTION);
    m_description.m_nResX = m_description.m_nResY = 0;
    EXPECT_TRUE(m_description.QueryStandardCapabilities());
    EXPECT_EQ(std::tie(m_description.m_nResX, m_description.m_nResY), std::tuple(203, 406));

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
    m_description.m_dwDmFields = FIELD_ORIENTATION | FIELD_SCALE;
    m_description.DevMode().SetShort(devmode_layout::dmOrientation, 2);
    m_description.DevMode().SetShort(devmode_layout::dmPaperSize, 301);

    ASSERT_TRUE(m_description.LoadPaperList(true));
    ASSERT_EQ(m_description.m_aMedia.size(), 3u);
    const auto& [tape, abc, long49] =
        std::tie(m_description.m_aMedia[0], m_description.m_aMedia[1], m_description.m_aMedia[2]);
    EXPECT_EQ(std::tuple(tape.Name(), tape.DisplayName(), abc.Name(), abc.DisplayName(), long49.Name()),
              std::tuple("Tape 12mm", "12 mm tape", "A|B", "C", std::string(49, 'x')));
    EXPECT_EQ(std::tuple(tape.Id(), tape.BaseId(), tape.PaperWidth(), tape.PaperLength(), tape.PartCount()),
              std::tuple(300, 300, 120, 1000, 1));
    EXPECT_EQ(std::tuple(tape.PhysicalWidth(), tape.PrintableWidth(), tape.PrintableLength()),
              std::tuple(142, 130, 1181 - 24));
    EXPECT_EQ(m_description.m_rcMinMargins, (Rect32{12, 6, 12, 6}));
    // Each paper gets a context of its own, and one more to check the
    // restored device mode; none stays open.
    EXPECT_EQ(std::tie(driver.informationContexts, driver.openInformationContexts), std::tuple(4, 0));
    // The paper (46) and orientation (44) come back, the scale (52) stays at
    // 100 %, and the device name at 0 is untouched.
    const auto devMode = m_description.DevMode();
    EXPECT_EQ(std::tuple(devMode.Short(46), devMode.Short(44), devMode.Short(52), devMode.Short(0)),
              std::tuple(301, 2, 100, 0));

    // Without the split flag the whole text is both names; a paper the driver
    // no longer measures loses its old measures.
    driver.escapesSupported = false;
    ASSERT_TRUE(m_description.LoadPaperList(false));
    EXPECT_EQ(std::tuple(m_description.m_aMedia[0].Name(), m_description.m_aMedia[0].PhysicalWidth()),
              std::tuple("Tape 12mm|12 mm tape", 0));
}

TEST_F(DescriptionQueries, PaperList_OnlyUserSizesLeaveAnEmptyTable)
{
    auto script = Script();
    Papers(script, {"User", "Custom"}, 2, {1, 1, 2, 2}, {256, 262});
    script.informationContextFails = true;
    byte_fields::Put<std::int16_t>(script.devMode, devmode_layout::dmPaperSize, PAPER_USER_DEFINED);
    Install(std::move(script));

    EXPECT_TRUE(m_description.LoadPaperList(false));
    EXPECT_TRUE(m_description.m_aMedia.empty());
    // The paper size is put back, and marked as set (DM_PAPERSIZE, 0x2).
    EXPECT_EQ(std::tuple(m_description.DevMode().Short(devmode_layout::dmPaperSize), m_description.DevMode().Fields()),
              std::tuple(PAPER_USER_DEFINED, 0x2u));
    // Without an information context a paper cannot be measured.
    m_description.m_aMedia.resize(1);
    EXPECT_FALSE(m_description.MeasurePapers());
}

TEST_F(DescriptionQueries, FallbackBuild_StandardFeaturesAndPaperList)
{
    auto script = Script();
    Papers(script, {"Tape"}, 1, {254, 254}, {300});
    script.physicalSize[300] = {1, 180, 180};
    Install(std::move(script));
    m_description.m_dwDmFields = FIELD_COLOR;

    m_description.BuildFromStandardQueries();
    const auto& d = m_description;
    EXPECT_EQ(std::tie(d.m_dwFeatures, d.m_wTableFlags, d.m_dwColors), std::tuple(0x51u, 9, 0xFFFFFFu));
    EXPECT_TRUE((d.m_dwOptionMask & driver_flags::OPTION_COLOR) && (d.m_dwDescFlags & DESC_FLAG_TABLES_OWNED));
    // 180 dots over an inch, + 5.
    EXPECT_EQ(std::tie(d.m_nResX, d.m_wMediaClass, d.m_wDriverValue), std::tuple(185, 2, 1));
}

}  // namespace
