// Building printer descriptions from printer names on a headless machine:
// spooler, registry, the simulated information library and a scripted
// platform driver. Also the installed-printer list built on them.

#include <gtest/gtest.h>

#include "catalogue/info_library.h"
#include "catalogue_fixture.h"
#include "core/info_library.h"
#include "description/driver_flags.h"
#include "description/printer_description.h"
#include "description/private_layout.h"
#include "platform/devmode_layout.h"
#include "platform/headless/printer_driver_script.h"
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

    static std::uint16_t ModeWord(const PrinterDescription& description)
    {
        return description.PrivateModeWord().value_or(0xFFFF);
    }
};

TEST_F(DescriptionInit, DriverDescribesTheModel)
{
    auto& library = InstallSimulatedDriver(kModelScenario);
    InstallModelPrinter("Labels");
    PrinterDescription description;
    ASSERT_TRUE(description.InitFromName("Labels", 0));

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
    EXPECT_EQ(description.GetModelId(), 0x3831u);
    ASSERT_EQ(description.m_aMedia.size(), 4u);
    EXPECT_TRUE(description.m_wTableFlags & driver_flags::TABLE_MULTI_PART);
    EXPECT_EQ(description.m_aFeedMargins.size(), 3u);
    EXPECT_EQ(description.m_lastFeedMargin.Key(), 10);
    EXPECT_EQ(description.m_ptOffset, (Point32{4, 2}));
    EXPECT_EQ(description.m_ptMarginAdd, (Point32{1, 1}));
    EXPECT_EQ(description.m_dwColors, 1u);
    EXPECT_EQ(description.m_nResX, 300);
    EXPECT_EQ(description.m_nCopiesLimit, 5000);
    EXPECT_TRUE(description.m_dwFeatures & driver_flags::FEATURE_COPIES);
    EXPECT_TRUE(description.m_wTableFlags & driver_flags::TABLE_ORIENTATION);
    // The 24 mm tape the private data selects gives the page; the first feed
    // margin the top and bottom margins, plus the driver's margin addition.
    EXPECT_EQ(description.m_wPaperId, sim::kTape24mm);
    EXPECT_EQ(description.m_nPageWidth, 283);
    EXPECT_EQ(description.m_nPageLength, 1181);
    EXPECT_EQ(description.m_rcMargins.top, 13);
    EXPECT_EQ(description.m_rcMargins.left, 7);
    EXPECT_EQ(description.GetOptions(), 0u);  // option 0x2 is not one the driver offers
}

TEST_F(DescriptionInit, MediaClassFollowsTheModelIdentifiersLowByte)
{
    InstallModelPrinter("Labels");
    const std::pair<const char*, std::uint16_t> cases[] = {
        {"printer_id = 0x3831\ninfo.flags = 0x10000000\n", 10},  // "1"
        {"printer_id = 0x3832\ninfo.flags = 0x10000000\n", 2},   // "2"
        {"printer_id = 0x3833\ninfo.flags = 0x10000000\n", 0},
        {"printer_id = 0x3833\ninfo.flags = 0x00020000\n", 10},  // without the model class bit
        {"printer_id = 0\ninfo.flags = 0x10000000\n", 0},
    };
    for (const auto& [scenario, mediaClass] : cases) {
        InstallSimulatedDriver(scenario);
        PrinterDescription description;
        ASSERT_TRUE(description.InitFromName("Labels", 0));
        EXPECT_EQ(description.m_wMediaClass, mediaClass) << scenario;
        EXPECT_EQ(description.m_wMediaClassInit, mediaClass) << scenario;
    }
}

TEST_F(DescriptionInit, SpecialTapeNameSwitchesTheDriversModeOnAndOff)
{
    // The alignment asks the registry by the printer's name, so the printer
    // carries its driver's name here.
    InstallSimulatedDriver(std::string(kModelScenario) + "info.special_tape = 1\n");
    InstallModelPrinter(kDriver, sim::testing::SimulatedPrinterDriver(0));
    PrinterDescription description;
    const auto name = kDriver + "(Special Tape)";
    ASSERT_TRUE(description.InitFromName(name.c_str(), 0));

    const auto* driver = platform::headless::FindPrinterDriver(kDriver);
    ASSERT_EQ(driver->devModesHandedIn.size(), 1u);
    const auto& handed = driver->devModesHandedIn[0];
    EXPECT_EQ(byte_fields::Get<std::uint16_t>(handed, devmode_layout::PUBLIC_SIZE + private_layout::MODE_WORD),
              private_layout::TAPE_MODE_SPECIAL);
    EXPECT_TRUE(handed[devmode_layout::PUBLIC_SIZE + private_layout::STATE_FLAGS] & private_layout::STATE_REWRITING);
    EXPECT_EQ(ModeWord(description), private_layout::TAPE_MODE_SPECIAL);
    EXPECT_FALSE(description.m_pDevMode.bytes()[devmode_layout::PUBLIC_SIZE + private_layout::STATE_FLAGS] &
                 private_layout::STATE_REWRITING);
    EXPECT_EQ(description.GetModelId(), 0x13831u);
    EXPECT_EQ(GetDescriptionName(description), name);

    // The plain name turns the mode off again and gains no suffix.
    PrinterDescription plain;
    ASSERT_TRUE(plain.InitFromName(kDriver.c_str(), 0));
    EXPECT_EQ(ModeWord(plain), 0);
    EXPECT_EQ(plain.GetModelId(), 0x3831u);
    EXPECT_EQ(GetDescriptionName(plain), kDriver);

    // Asked for by model identifier, the special-tape bit turns it on again.
    PrinterDescription byId;
    ASSERT_TRUE(byId.InitFromName("", 0x3831 | MODEL_ID_SPECIAL_TAPE));
    EXPECT_EQ(ModeWord(byId), private_layout::TAPE_MODE_SPECIAL);
    EXPECT_EQ(GetDescriptionName(byId), name);

    // A printer renamed away from its driver's key, or a private block too
    // short for the mode word (Wine's PostScript driver keeps 8 bytes), is
    // left as its driver set it.
    InstallModelPrinter("Renamed");
    PrinterDescription renamed;
    ASSERT_TRUE(renamed.InitFromName("Renamed(Special Tape)", 0));
    EXPECT_TRUE(platform::headless::FindPrinterDriver("Renamed")->devModesHandedIn.empty());
    EXPECT_EQ(ModeWord(renamed), 0);
    platform::headless::SetPrinterDriver(kDriver, sim::testing::SimulatedPrinterDriver(0, 8));
    PrinterDescription shortBlock;
    ASSERT_TRUE(shortBlock.InitFromName(name.c_str(), 0));
    EXPECT_TRUE(platform::headless::FindPrinterDriver(kDriver)->devModesHandedIn.empty());
}

TEST_F(DescriptionInit, WithoutTheLibrarysAnswersTheStandardQueriesDescribe)
{
    PrinterDescription unnamed;
    EXPECT_FALSE(unnamed.InitFromName(nullptr, 0));
    EXPECT_FALSE(unnamed.InitFromName("", 0));
    EXPECT_FALSE(unnamed.InitFromName("Not installed", 0));
    EXPECT_FALSE(unnamed.GetDisplayName(std::span<char>()));

    InstallModelPrinter("Labels");  // registered, but no library at the path
    PrinterDescription missing;
    ASSERT_TRUE(missing.InitFromName("Labels", 0));
    const auto boxes = platform::headless::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "The driver is damage. Reinstall the driver.");
    EXPECT_EQ(boxes[0].icon, platform::MessageIcon::Warning);
    EXPECT_EQ(missing.m_wMediaClass, 2);
    EXPECT_EQ(missing.m_dwFeatures, 0x51u | driver_flags::FEATURE_COPIES);
    EXPECT_EQ(missing.GetModelId(), 0u);  // the paper list was loaded
    ASSERT_EQ(missing.m_aMedia.size(), 1u);
    EXPECT_EQ(missing.m_aMedia[0].Id(), 1);

    InstallSimulatedDriver(kModelScenario, false);
    PrinterDescription noExport;
    ASSERT_TRUE(noExport.InitFromName("Labels", 0));
    EXPECT_EQ(platform::headless::MessageBoxes().size(), 1u);  // no second message
    EXPECT_EQ(noExport.m_dwDriverFlags, 0u);
    EXPECT_EQ(noExport.GetModelId(), 0u);
    ASSERT_EQ(noExport.m_aMedia.size(), 1u);  // from the standard paper queries

    InstallSimulatedDriver(std::string(kModelScenario) +
                           "info.no_answer = 257\ninfo.no_answer = 270\ninfo.no_answer = 271\ninfo.no_answer = 274\n"
                           "info.no_answer = 275\ninfo.no_answer = 276\ninfo.no_answer = 278\n");
    PrinterDescription silent;
    ASSERT_TRUE(silent.InitFromName("Labels", 0));
    EXPECT_EQ(silent.m_dwColors, 1u);
    EXPECT_EQ(silent.m_wDriverValue, 1);
    EXPECT_EQ(silent.GetModelId(), 0u);
    EXPECT_TRUE(silent.m_aFeedMargins.empty());
}

TEST(DriverFlags, EachRowOfTheCapabilityWord)
{
    struct Row {
        std::uint32_t flags, features, options;
    };
    const Row rows[] = {
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
    for (const auto& row : rows) {
        PrinterDescription description;
        description.m_dwDriverFlags = row.flags;
        description.MapDriverFlags();
        EXPECT_EQ(description.m_dwFeatures, row.features) << std::hex << row.flags;
        EXPECT_EQ(description.m_dwOptionMask, row.options) << std::hex << row.flags;
        EXPECT_EQ(description.m_wTableFlags, 0xF);
    }
    PrinterDescription singleCopy;
    singleCopy.m_nMaxCopies = 1;
    singleCopy.m_dwDmFields = FIELD_COLOR;
    singleCopy.MapDriverFlags();
    EXPECT_EQ(singleCopy.m_dwFeatures, 0x55u & 0xAF);
    EXPECT_EQ(singleCopy.m_dwOptionMask, 0x8u);
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
    EXPECT_EQ(GetDescriptionName(*list.m_printers.front()), "Shipping");
    EXPECT_EQ(list.Find("shipping"), nullptr);  // names differing in case are different printers

    // Select by a listed name makes it current without enumerating again.
    const auto opens = platform::headless::PrinterOpenRequests().size();
    ASSERT_TRUE(list.Select("Bench"));
    EXPECT_EQ(platform::headless::PrinterOpenRequests().size(), opens);
    std::string current;
    EXPECT_TRUE(list.GetCurrentName(current));
    EXPECT_EQ(current, "Bench");
    EXPECT_EQ(list.m_nCurrentModelId, 0x3831u);

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
