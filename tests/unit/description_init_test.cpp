// Building printer descriptions from printer names on a headless machine:
// spooler, registry, the simulated information library and a scripted
// platform driver. Also the installed-printer list built on them.

#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "catalogue/info_library.h"
#include "catalogue_fixture.h"
#include "core/info_library.h"
#include "description/driver_flags.h"
#include "description/printer_description.h"
#include "description/private_layout.h"
#include "platform/devmode_layout.h"
#include "platform/headless/printer_driver_script.h"
#include "platform/headless/process_table.h"
#include "platform/headless/ui_driver.h"
#include "platform/printing_constants.h"
#include "printers/printer_list.h"
#include "testing/simulated_printer_driver.h"

namespace {

using namespace printing;
using catalogue_testing::CatalogueTest;
using catalogue_testing::kDriver;
using platform::headless::PrinterDriverScript;

constexpr const char* kModelScenario = "printer_id = 0x3831\ninfo.flags = 0x10800000\n";

class DescriptionInit : public CatalogueTest {
protected:
    void TearDown() override
    {
        ResetPrinterList();
        platform::headless::ResetPrinterDrivers();
        platform::headless::ResetUi();
        platform::headless::ResetProcess();
        CatalogueTest::TearDown();
    }

    // A printer of the model, its driver registered under its driver name.
    void InstallModelPrinter(const std::string& name,
                             PrinterDriverScript script = sim::testing::SimulatedPrinterDriver())
    {
        InstallPrinter(name);
        RegisterDriver(kDriver);
        platform::headless::SetPrinterDriver(name, std::move(script));
    }
};

TEST_F(DescriptionInit, DriverDescribesTheModel)
{
    auto& library = InstallSimulatedDriver(kModelScenario);
    InstallModelPrinter("Labels");
    PrinterDescription d;
    ASSERT_TRUE(d.InitFromName("Labels", 0));

    // The library is asked by the driver's name, with the port and device
    // mode (the special-tape probe by name alone); only the lists are filled
    // under the printer's.
    for (const auto& call : library.Log()) {
        if (call.length != MDC_MEDIA && call.length != MDC_FEEDMARGINS) {
            EXPECT_EQ(call.printer, kDriver) << call.length;
        }
        if (call.length != MDC_FLAGS) {
            EXPECT_TRUE(call.note.starts_with("port=\"USB001\"") && call.note.ends_with(" devmode")) << call.note;
        }
    }
    // Table flags: several parts, orientation and the driver's 0xF; features:
    // the base and copies; bit 0 of each flag word: the device mode and the
    // tables are owned.
    EXPECT_EQ(std::tuple(d.GetModelId(), d.m_aMedia.size(), d.m_aFeedMargins.size(), d.m_lastFeedMargin.Key(),
                         d.m_wTableFlags, d.m_dwFeatures, d.m_dwDeviceFlags, d.m_dwDescFlags),
              std::tuple(0x3831u, 4u, 3u, 10, 0x200 | 0x10 | 0xF, 0x55u | 0x20, 1u, 1u));
    EXPECT_EQ(std::tie(d.m_ptOffset, d.m_ptMarginAdd, d.m_dwColors, d.m_nResX, d.m_nCopiesLimit),
              std::tuple(Point32{4, 2}, Point32{1, 1}, 1u, 300, 5000));
    // The 24 mm tape the private data selects gives the page; the first feed
    // margin the top and bottom margins, plus the driver's margin addition.
    // Option 0x2 is not one the driver offers.
    EXPECT_EQ(std::tuple(d.m_wPaperId, d.m_nPageWidth, d.m_nPageLength, d.m_rcMargins.top, d.m_rcMargins.left,
                         d.GetOptions()),
              std::tuple(sim::kTape24mm, 283, 1181, 13, 7, 0u));

    // Releasing frees both and clears the bits.
    d.ReleaseDescription();
    EXPECT_EQ(std::tuple(d.m_dwDeviceFlags, d.m_dwDescFlags, d.m_pDevMode.bytes().size(), d.m_aFeedMargins.size()),
              std::tuple(0u, 0u, 0u, 0u));
}

TEST_F(DescriptionInit, MediaClassFollowsTheModelIdentifiersLowByte)
{
    InstallModelPrinter("Labels");
    const std::pair<const char*, std::uint16_t> cases[] = {
        {"printer_id = 0x3831\ninfo.flags = 0x10000000\n", 10},  // "1"
        {"printer_id = 0x3832\ninfo.flags = 0x10000000\n", 2},   // "2"
        {"printer_id = 0x3833\ninfo.flags = 0x10000000\n", 0},
        {"printer_id = 0x3833\ninfo.flags = 0x00020000\n", 10},  // without the model class bit
        {"printer_id = 0x3831\ninfo.flags = 0x00000001\n", 0},
        {"printer_id = 0\ninfo.flags = 0x10000000\n", 0},
    };
    for (const auto& [scenario, mediaClass] : cases) {
        InstallSimulatedDriver(scenario);
        PrinterDescription d;
        ASSERT_TRUE(d.InitFromName("Labels", 0));
        EXPECT_EQ(std::tie(d.m_wMediaClass, d.m_wMediaClassInit), std::tuple(mediaClass, mediaClass)) << scenario;
    }
}

TEST_F(DescriptionInit, SpecialTapeNameSwitchesTheDriversModeOnAndOff)
{
    // The alignment asks the registry by the printer's name, so the printer
    // carries its driver's name here.
    InstallSimulatedDriver(std::string(kModelScenario) + "info.special_tape = 1\n");
    auto script = sim::testing::SimulatedPrinterDriver(0);
    script.capabilities[CAPS_RESOLUTIONS] = {1, {0x2C, 1, 0, 0, 0x2C, 1, 0, 0}};  // 300 x 300
    InstallModelPrinter(kDriver, script);
    PrinterDescription d;
    const auto name = kDriver + "(Special Tape)";
    ASSERT_TRUE(d.InitFromName(name.c_str(), 0));

    // The driver was handed the mode word 4 (at 8 in the private block) with
    // the rewriting flag 0x4 of the state flags (at 2); the description keeps
    // the mode without it, and asked for the resolutions again.
    const auto& handedIn = platform::headless::FindPrinterDriver(kDriver)->devModesHandedIn;
    ASSERT_EQ(handedIn.size(), 1u);
    constexpr auto kStateFlags = devmode_layout::PUBLIC_SIZE + 2;
    EXPECT_EQ(std::tuple(byte_fields::Get<std::uint16_t>(handedIn[0], devmode_layout::PUBLIC_SIZE + 8),
                         handedIn[0][kStateFlags] & 0x4),
              std::tuple(4, 0x4));
    EXPECT_EQ(std::tuple(d.PrivateModeWord(), d.GetModelId(), GetDescriptionName(d), d.m_pDevMode.bytes()[kStateFlags],
                         d.m_aResolutions.size()),
              std::tuple(4, 0x13831u, name, 0, 1u));

    // The plain name turns the mode off again and gains no suffix.
    PrinterDescription plain;
    ASSERT_TRUE(plain.InitFromName(kDriver.c_str(), 0));
    EXPECT_EQ(std::tuple(plain.PrivateModeWord(), plain.GetModelId(), GetDescriptionName(plain)),
              std::tuple(0, 0x3831u, kDriver));

    // Asked for by model identifier, the special-tape bit turns it on again.
    PrinterDescription byId;
    ASSERT_TRUE(byId.InitFromName("", 0x3831 | MODEL_ID_SPECIAL_TAPE));
    EXPECT_EQ(std::tuple(byId.PrivateModeWord(), GetDescriptionName(byId)),
              std::tuple(private_layout::TAPE_MODE_SPECIAL, name));

    // A printer renamed away from its driver's key, or a private block too
    // short for the mode word (Wine's PostScript driver keeps 8 bytes), is
    // left as its driver set it.
    InstallModelPrinter("Renamed");
    PrinterDescription renamed;
    ASSERT_TRUE(renamed.InitFromName("Renamed(Special Tape)", 0));
    EXPECT_TRUE(platform::headless::FindPrinterDriver("Renamed")->devModesHandedIn.empty());
    EXPECT_EQ(renamed.PrivateModeWord(), 0);
    platform::headless::SetPrinterDriver(kDriver, sim::testing::SimulatedPrinterDriver(0, 8));
    PrinterDescription shortBlock;
    ASSERT_TRUE(shortBlock.InitFromName(name.c_str(), 0));
    EXPECT_TRUE(platform::headless::FindPrinterDriver(kDriver)->devModesHandedIn.empty());
}

// A name cut at its buffer's size keeps no half of a double-byte character:
// 258 letters and 表 (Shift JIS 0x95 0x5C) are cut to the letters.
TEST_F(DescriptionInit, NameCutAtTheBufferSize_EndsAtACharacterBoundary)
{
    InstallSimulatedDriver(kModelScenario);
    platform::headless::SetDoubleByteCodePage(true);
    const std::string letters(platform::MAX_PATH_CHARS - 2, 'n');
    InstallModelPrinter(letters);
    PrinterDescription d;
    ASSERT_TRUE(d.InitFromName((letters + "\x95\x5C").c_str(), 0));
    EXPECT_EQ(GetDescriptionName(d), letters);
}

TEST_F(DescriptionInit, WithoutTheLibrarysAnswersTheStandardQueriesDescribe)
{
    auto noDevMode = sim::testing::SimulatedPrinterDriver();
    noDevMode.devMode.clear();
    InstallModelPrinter("No device mode", noDevMode);
    PrinterDescription unnamed;
    // Braces keep the calls in order: the name is asked for after the failures.
    EXPECT_EQ((std::tuple{unnamed.InitFromName(nullptr, 0), unnamed.InitFromName("", 0),
                          unnamed.InitFromName("Not installed", 0), unnamed.InitFromName("No device mode", 0),
                          unnamed.GetDisplayName(std::span<char>())}),
              std::tuple(false, false, false, false, false));

    InstallModelPrinter("Labels");  // registered, but no library at the path
    PrinterDescription missing;
    ASSERT_TRUE(missing.InitFromName("Labels", 0));
    const auto boxes = platform::headless::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "The driver is damage. Reinstall the driver.");
    EXPECT_EQ(boxes[0].icon, platform::MessageIcon::Warning);
    // The paper list was loaded.
    ASSERT_EQ(missing.m_aMedia.size(), 1u);
    EXPECT_EQ(std::tuple(missing.m_wMediaClass, missing.m_dwFeatures, missing.GetModelId(), missing.m_aMedia[0].Id()),
              std::tuple(2, 0x51u | 0x20, 0u, 1));

    InstallSimulatedDriver(kModelScenario, false);
    PrinterDescription noExport;
    ASSERT_TRUE(noExport.InitFromName("Labels", 0));
    // No second message; the paper from the standard paper queries.
    EXPECT_EQ(std::tuple(platform::headless::MessageBoxes().size(), noExport.m_dwDriverFlags, noExport.GetModelId(),
                         noExport.m_aMedia.size(), noExport.m_wDriverValue),
              std::tuple(1u, 0u, 0u, 1u, 0));

    InstallSimulatedDriver(std::string(kModelScenario) +
                           "info.no_answer = 257\ninfo.no_answer = 270\ninfo.no_answer = 271\ninfo.no_answer = 274\n"
                           "info.no_answer = 275\ninfo.no_answer = 276\ninfo.no_answer = 278\n");
    PrinterDescription silent;
    ASSERT_TRUE(silent.InitFromName("Labels", 0));
    EXPECT_EQ(std::tuple(silent.m_dwColors, silent.m_wDriverValue, silent.GetModelId(), silent.m_aFeedMargins.size()),
              std::tuple(1u, 1, 0u, 0u));
}

TEST(DriverFlags, EachRowOfTheCapabilityWord)
{
    // Capability word, features, option mask.
    const std::array<std::uint32_t, 3> rows[] = {
        {0, 0x55, 0},
        {0x00000200, 0x5D, 0},
        {0x10000000 | 0x1 | 0x2 | 0x20, 0x55 | 0x1 | 0x10 | 0x40, 0},
        {0x10000000 | 0x8, 0x51, 0},
        {0x8, 0x55 & 0xAA, 0},
        {0x4, 0x57, 0},
        {0x20000000, 0x255, 0},
        {0x40000000, 0x455, 0},
        {0x80000000, 0x1855, 0},
        {0x10 | 0x08000000 | 0x40 | 0x01000000, 0x55, 0x1 | 0x2 | 0x4 | 0x40},
        {0x400 | 0x800 | 0x8000, 0x55, 0x80 | 0x100 | 0x200},
        {0x1000 | 0x2000, 0x55, 0},
        {0x10000000 | 0x1000 | 0x2000, 0x4055, 0x400},
    };
    for (const auto& [flags, features, options] : rows) {
        PrinterDescription d;
        d.m_dwDriverFlags = flags;
        d.MapDriverFlags();
        EXPECT_EQ(std::tie(d.m_dwFeatures, d.m_dwOptionMask, d.m_wTableFlags), std::tuple(features, options, 0xF))
            << std::hex << flags;
    }
    PrinterDescription singleCopy;
    singleCopy.m_nMaxCopies = 1;
    singleCopy.m_dwDmFields = FIELD_COLOR;
    singleCopy.MapDriverFlags();
    EXPECT_EQ(std::tie(singleCopy.m_dwFeatures, singleCopy.m_dwOptionMask), std::tuple(0x55u & 0xAF, 0x8u));
}

class PrinterListTest : public DescriptionInit {};

TEST_F(PrinterListTest, RefreshAddsEachPrinterOnceInSpoolerOrder)
{
    InstallSimulatedDriver(kModelScenario);
    InstallModelPrinter("Shipping");
    InstallModelPrinter("Bench");
    auto& list = GetPrinterList();
    ASSERT_TRUE(list.Refresh());
    ASSERT_TRUE(list.Refresh());
    ASSERT_EQ(list.m_printers.size(), 2u);
    // Names differing in case are different printers.
    EXPECT_EQ(std::tuple(GetDescriptionName(*list.m_printers.front()), list.Find("shipping")),
              std::tuple("Shipping", nullptr));

    // Select by a listed name makes it current without enumerating again.
    const auto opens = platform::headless::PrinterOpenRequests().size();
    ASSERT_TRUE(list.Select("Bench"));
    EXPECT_EQ(platform::headless::PrinterOpenRequests().size(), opens);
    std::string current;
    EXPECT_TRUE(list.GetCurrentName(current));
    EXPECT_EQ(std::tie(current, list.m_nCurrentModelId), std::tuple("Bench", 0x3831u));

    // An empty or unknown name falls back to the head of the list.
    ASSERT_TRUE(list.Select("Gone"));
    EXPECT_EQ(list.m_strCurrent, "Shipping");
    ASSERT_TRUE(list.Select(""));
    EXPECT_EQ(list.m_strCurrent, "Shipping");
}

TEST_F(PrinterListTest, NoPrinterOrNoModelIdentifier)
{
    auto& list = GetPrinterList();
    EXPECT_FALSE(list.Refresh());
    EXPECT_FALSE(list.Select(""));
    EXPECT_TRUE(list.m_strCurrent.empty());

    // A description built without driver data has no model identifier.
    InstallModelPrinter("Labels");
    ASSERT_TRUE(list.Select("Labels"));
    EXPECT_EQ(list.m_nCurrentModelId, 0u);
}

}  // namespace
