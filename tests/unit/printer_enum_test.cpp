// Which printers are listed, in which order, and the search by model
// identifier.

#include <array>

#include "catalogue/info_library.h"
#include "catalogue_fixture.h"

namespace {

using catalogue_testing::CatalogueTest;
using catalogue_testing::kDriver;
using catalogue_testing::kInfoDll;
using ::testing::ElementsAre;

using NameBuffer = std::array<char, platform::MAX_PATH_CHARS>;

class PrinterEnumTest : public CatalogueTest {
protected:
    void SetUp() override
    {
        CatalogueTest::SetUp();
        RegisterDriver(kDriver);
    }
};

// One spooler holds printers of every kind; each request picks its own.
TEST_F(PrinterEnumTest, Listing_PicksTheVisiblePrintersOfTheRequestInSpoolerOrder_OpeningNoOtherMakers)
{
    InstallSimulatedDriver();
    RegisterDriver(kDriver + " ");  // registered, but not the supported driver
    InstallPrinter("Bench", kDriver, 0, "LPT1:");
    InstallPrinter("Hidden", kDriver, platform::PRINTER_ATTR_HIDDEN | platform::PRINTER_ATTR_DEFAULT);
    EXPECT_EQ(EnumPrinterEntries(ENUM_DEFAULT_PRINTER), 0);  // no visible default yet
    InstallPrinter("Trailing blank", kDriver + " ");
    InstallPrinter("Other case", "Corvane vr-380mx");
    InstallPrinter("Office", "Generic PostScript", platform::PRINTER_ATTR_DEFAULT, "FILE:");
    InstallPrinter("Corvane RX-200", "Corvane RX Driver");  // the maker's other series
    InstallPrinter("Annex", kDriver);
    InstallPrinter("Tavern Labels");  // the model's driver, but another maker's name: never opened
    InstallPrinter("ORA-1");
    InstallPrinter("Pelican Jet", "Pelican Driver");

    // Only the low 16 bits of the request count.
    EXPECT_EQ(EnumPrinterEntries(ENUM_MODEL_PRINTERS << 16), 0);
    EXPECT_EQ(EnumPrinterEntries(0x10000 | ENUM_MODEL_PRINTERS), 2);

    const auto model = List();
    ASSERT_THAT(Names(model), ElementsAre("Bench", "Annex"));
    EXPECT_EQ(std::tie(model[0].port, model[0].infoLibrary, model[1].port), std::tuple("LPT1:", kInfoDll, "USB001"));

    // Other printers are those of no known maker; alone, the request lists
    // no model printer it has not counted.
    const auto both = List(ENUM_MODEL_PRINTERS | ENUM_OTHER_PRINTERS);
    ASSERT_THAT(Names(both),
                ElementsAre("Bench", "Other case", "Office", "Annex", "Tavern Labels", "ORA-1", "Pelican Jet"));
    EXPECT_EQ(std::tie(both[0].infoLibrary, both[2].port, both[2].infoLibrary), std::tuple(kInfoDll, "FILE:", ""));
    EXPECT_THAT(Names(List(ENUM_OTHER_PRINTERS)),
                ElementsAre("Other case", "Office", "Tavern Labels", "ORA-1", "Pelican Jet"));

    const auto defaults = List(ENUM_DEFAULT_PRINTER | ENUM_MODEL_PRINTERS);
    ASSERT_EQ(defaults.size(), 1u);
    EXPECT_EQ(std::tie(defaults[0].name, defaults[0].port), std::tuple("Office", "FILE:"));

    EXPECT_THAT(platform::headless::PrinterOpenRequests(),
                ::testing::Not(::testing::AnyOf(::testing::Contains("Tavern Labels"), ::testing::Contains("ORA-1"))));
}

TEST_F(PrinterEnumTest, SpecialTapeDriver_ListsEachPrinterTwice_NeverWritingMoreThanTheArrayHolds)
{
    InstallSimulatedDriver("info.special_tape = 1");
    InstallPrinter("A");
    std::vector<PrinterEntry> entries(static_cast<std::size_t>(EnumPrinterEntries(ENUM_MODEL_PRINTERS)));
    ASSERT_EQ(entries.size(), 2u);
    InstallPrinter("B");  // installed between the two calls
    EXPECT_EQ(EnumPrinterEntries(ENUM_MODEL_PRINTERS, entries), 2);
    EXPECT_THAT(Names(entries), ElementsAre("A", "A(Special Tape)"));
    EXPECT_EQ(std::tie(entries[1].port, entries[1].infoLibrary), std::tie(entries[0].port, kInfoDll));

    // A longer array keeps the entries beyond the written ones untouched.
    std::vector<PrinterEntry> more(5);
    EXPECT_EQ(EnumPrinterEntries(ENUM_MODEL_PRINTERS, more), 4);
    EXPECT_THAT(Names(more), ElementsAre("A", "A(Special Tape)", "B", "B(Special Tape)", ""));

    InstallSimulatedDriver("info.special_tape = 1", false);  // without its export
    EXPECT_THAT(Names(List()), ElementsAre("A", "B"));
}

TEST(PrinterNames, LabelPrefixesWholeAndCaseSensitive_SpecialTapeSuffix)
{
    for (const char* name :
         {"Corvane RX-200", "Corvane T-1", "Corvane NW-5", "R-TAL 8", "HALDEMOORE STYLUS Label 9", "Corvane GLYPH"}) {
        EXPECT_TRUE(HasLabelPrinterPrefix(name)) << name;
    }
    for (const char* name : {"Corvane RX", "corvane RX-200", "HALDEMOORE STYLUS Lab", "R-TA", "", "VR-380MX"}) {
        EXPECT_FALSE(HasLabelPrinterPrefix(name)) << name;
    }

    std::string name = "Bench";
    AppendSpecialTapeSuffix(name);
    AppendSpecialTapeSuffix(name);  // already there
    EXPECT_EQ(name, "Bench(Special Tape)");

    NameBuffer buffer{};
    const std::string fits(platform::MAX_PATH_CHARS - 1 - GetSpecialTapeSuffix().size(), 'n');
    std::ranges::copy(fits, buffer.begin());
    EXPECT_TRUE(AppendSpecialTapeSuffix(buffer));
    EXPECT_EQ(std::string(buffer.data()), fits + "(Special Tape)");
    EXPECT_TRUE(AppendSpecialTapeSuffix(buffer));  // already there
    buffer.fill(0);
    std::ranges::copy(fits + "n", buffer.begin());
    EXPECT_FALSE(AppendSpecialTapeSuffix(buffer));  // would not fit: unchanged
    EXPECT_EQ(std::string(buffer.data()), fits + "n");
    buffer.fill('n');  // no terminator at all
    EXPECT_FALSE(AppendSpecialTapeSuffix(buffer));

    std::array<char, 64> text{"Bench(Special Tape) copy(Special Tape)"};
    StripSpecialTapeSuffix(text);
    EXPECT_STREQ(text.data(), "Bench");
    std::array<char, 64> plain{"Bench (Special"};
    StripSpecialTapeSuffix(plain);
    EXPECT_STREQ(plain.data(), "Bench (Special");

    EXPECT_TRUE(HasSpecialTapeSuffix("x(Special Tape)y"));
    EXPECT_FALSE(HasSpecialTapeSuffix("x(special tape)"));
}

// An information library whose answers differ per printer, as a driver for
// several models would give them: the printers in spooler order with the
// model identifier each answers. Only "Exact 2" answers flags.
const std::pair<std::string, std::int32_t> kModelIds[] = {
    {"No answer", MDC_NO_ANSWER}, {"Other model", 0x00023932}, {"Low byte 1", 0x00024031}, {"Low byte 2", 0x00024131},
    {"Low word", 0x00053831},     {"Exact 1", 0x00023831},     {"Exact 2", 0x00023831}};
std::int32_t g_exact2Flags = 0;

std::int32_t DRIVER_CALL AnswerPerDevice(const char* device, const char*, std::uint16_t capability, char*, const void*)
{
    if (capability == MDC_FLAGS) {
        EXPECT_EQ(platform::headless::OpenRegistryKeyCount(), 0);  // closed before the library is asked
        return device == std::string_view("Exact 2") ? g_exact2Flags : 0;
    }
    const auto found = std::ranges::find_if(kModelIds, [&](const auto& row) { return row.first == device; });
    return capability == MDC_MODELID && found != std::end(kModelIds) ? found->second : MDC_NO_ANSWER;
}

TEST_F(PrinterEnumTest, FindByModelId_PicksTheFirstPrinterOfTheHighestLevel)
{
    platform::headless::RegisterLibrary(
        kInfoDll, {{MY_DEVICE_CAPABILITIES_EXPORT,
                    platform::headless::ExportAddress<MyDeviceCapabilitiesProc>(&AnswerPerDevice)}});
    for (const auto& printer : kModelIds) {
        InstallPrinter(printer.first);
    }
    const auto special = static_cast<std::int32_t>(MDC_FLAG_SPECIAL_TAPE);
    struct Row {
        std::uint32_t modelId;
        const char* preferred;
        std::int32_t exact2Flags;
        std::string found;
    };
    const Row rows[] = {
        {0x00023931, nullptr, 0, "Low byte 1"},
        {0x00073831, nullptr, 0, "Low word"},
        {0x00023831, nullptr, 0, "Exact 1"},
        {0x00023833, nullptr, 0, "<none>"},
        {0x00020000, nullptr, 0, "<none>"},  // no printer id at all
        // The preferred name counts only at the full match, compared whole and
        // case-sensitively.
        {0x00023831, "Exact 2", 0, "Exact 2"},
        {0x00053831, "Exact 2", 0, "Low word"},
        {0x00023831, "Low word", 0, "Exact 1"},
        {0x00023831, "exact 2", 0, "Exact 1"},
        {0x00023831, "Exact 2 ", 0, "Exact 1"},
        // Asking for the special-tape mode ends at the first printer whose
        // driver has it, once the low 16 bits match.
        {0x00023831 | MODEL_ID_SPECIAL_TAPE, nullptr, special, "Exact 2(Special Tape)"},
        {0x00023831 | MODEL_ID_SPECIAL_TAPE, nullptr, MDC_NO_ANSWER, "Low word"},
    };
    for (const auto& row : rows) {
        g_exact2Flags = row.exact2Flags;
        NameBuffer name{};
        const bool found = FindPrinterByModelId(row.modelId, name, row.preferred);
        EXPECT_EQ(found ? std::string(name.data()) : "<none>", row.found) << std::hex << row.modelId;
    }
}

}  // namespace
