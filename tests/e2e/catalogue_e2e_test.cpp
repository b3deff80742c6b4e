// The printer catalogue against the real spooler and registry: simsetup.exe
// installs simulated printers into this run's private Wine prefix, and the
// listing, the driver lookup and the search by model identifier run through
// the Win32 backend, asking the stand-in information library vr380info.dll.

#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "catalogue/driver_info.h"
#include "catalogue/info_library.h"
#include "catalogue/printer_enum.h"
#include "core/info_library.h"
#include "core/sim_log.h"
#include "e2e_support.h"

namespace {

using e2e::ProgramDirectory;
using e2e::Quoted;
using e2e::TempPath;

const std::string kModelA = "Shipping Labels";
const std::string kModelB = "Bench VR-380MX";
const std::string kModelHidden = "Hidden VR-380MX";
const std::string kOtherPrinter = "Office Laser";
const std::string kOtherDriver = "Generic Office PostScript";

// What the listing must give, from the spooler's own answer independently of
// the platform layer: every visible printer of the model, in spooler order,
// twice when the driver supports the special-tape mode.
std::vector<std::string> ExpectedNames(bool specialTape)
{
    DWORD needed = 0;
    DWORD returned = 0;
    ::EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_NAME, nullptr, 2, nullptr, 0, &needed, &returned);
    std::vector<BYTE> buffer(needed);
    if (needed == 0 || !::EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_NAME, nullptr, 2, buffer.data(), needed,
                                        &needed, &returned)) {
        return {};
    }
    const std::span records(reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data()), returned);
    std::vector<std::string> names;
    for (const auto& printer : records) {
        if (printer.pDriverName == kSupportedDriverName && (printer.Attributes & PRINTER_ATTRIBUTE_HIDDEN) == 0) {
            names.push_back(printer.pPrinterName);
            if (specialTape) {
                names.push_back(names.back() + "(Special Tape)");
            }
        }
    }
    return names;
}

class CatalogueE2eTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_infoDll = ProgramDirectory() + "\\" + sim::kInfoLibraryName;
        s_scenarioPath = TempPath("catalogue_e2e.ini");
        s_logPath = TempPath("catalogue_e2e.log");
        ::SetEnvironmentVariableA("VR38SIM_SCENARIO", s_scenarioPath.c_str());
        ::SetEnvironmentVariableA("VR38SIM_LOG", s_logPath.c_str());
        s_setupResult = e2e::InstallPrinters(
            sim::kInfoLibraryName, "--printer " + Quoted(kModelA) + " --printer " + Quoted(kOtherPrinter) +
                                       " --driver " + Quoted(kOtherDriver) + " --printer " + Quoted(kModelHidden) +
                                       " --hidden --printer " + Quoted(kModelB) + " --port LPT1:");
    }

    void SetUp() override
    {
        ASSERT_EQ(s_setupResult, 0);
        ::DeleteFileA(s_logPath.c_str());
    }

    static void WriteScenario(const std::string& text) { std::ofstream(s_scenarioPath, std::ios::trunc) << text; }

    static std::vector<PrinterEntry> List()
    {
        std::vector<PrinterEntry> entries(static_cast<std::size_t>(EnumPrinterEntries(ENUM_MODEL_PRINTERS)));
        entries.resize(static_cast<std::size_t>(EnumPrinterEntries(ENUM_MODEL_PRINTERS, entries)));
        return entries;
    }

    static inline int s_setupResult = -1;
    static inline std::string s_infoDll;
    static inline std::string s_scenarioPath;
    static inline std::string s_logPath;
};

TEST_F(CatalogueE2eTest, Listing_IsTheVisibleModelPrintersInSpoolerOrder_TwiceWithSpecialTape)
{
    for (const bool specialTape : {false, true}) {
        SCOPED_TRACE(specialTape);
        ::DeleteFileA(s_logPath.c_str());
        WriteScenario(specialTape ? "info.special_tape = 1\n" : "info.special_tape = 0\n");
        const auto entries = List();
        const auto expected = ExpectedNames(specialTape);
        ASSERT_EQ(expected.size(), specialTape ? 4u : 2u);  // the hidden one and the other driver's left out
        ASSERT_EQ(entries.size(), expected.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const auto& entry = entries[i];
            EXPECT_EQ(std::tie(entry.name, entry.port, entry.infoLibrary),
                      std::tuple(expected[i], expected[i].starts_with(kModelB) ? "LPT1:" : "FILE:", s_infoDll));
        }
        // The library was asked about the driver, never about a printer.
        const auto log = sim::ReadLogFile(s_logPath);
        ASSERT_FALSE(log.empty());
        for (const auto& call : log) {
            EXPECT_EQ(std::tie(call.call, call.printer, call.length),
                      std::tuple("MyDeviceCapabilities", kSupportedDriverName, MDC_FLAGS));
        }
        std::array<char, platform::MAX_PATH_CHARS> path{};
        EXPECT_EQ(LookupDriverInfoLibrary(std::string(kSupportedDriverName), path),
                  specialTape ? INFO_LIBRARY_SPECIAL_TAPE : INFO_LIBRARY_FOUND);
        EXPECT_STREQ(path.data(), s_infoDll.c_str());
        EXPECT_EQ(LookupDriverInfoLibrary(kOtherDriver, path), INFO_LIBRARY_NONE);
    }
}

TEST_F(CatalogueE2eTest, FindPrinterByModelId_NamesTheFirstListedPrinterOfTheModel)
{
    WriteScenario("printer_id = 0x3831\ninfo.model_id_high = 0x0002\ninfo.special_tape = 1\n");
    const auto first = ExpectedNames(false).front();
    std::array<char, platform::MAX_PATH_CHARS> name{};
    ASSERT_TRUE(FindPrinterByModelId(0x00023831, name, nullptr));
    EXPECT_EQ(name.data(), first);
    ASSERT_TRUE(FindPrinterByModelId(0x00023831 | MODEL_ID_SPECIAL_TAPE, name, nullptr));
    EXPECT_EQ(name.data(), first + "(Special Tape)");
    EXPECT_FALSE(FindPrinterByModelId(0x00003900, name, nullptr));
}

// An information library that needs a library of its driver from its own
// folder answers from there, with the current folder off the search path as
// VR38Update keeps it.
TEST_F(CatalogueE2eTest, InfoLibraryThatNeedsALibraryBesideIt_AnswersFromItsOwnFolder)
{
    ASSERT_TRUE(::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS));
    const auto library = ProgramDirectory() + "\\own-folder\\vr38owninfo.dll";
    ASSERT_EQ(::RegSetKeyValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane Industries, Ltd.\\Tapemark\\Driver\\3.0\\Own",
                                INFO_DLL_VALUE, REG_SZ, library.c_str(), static_cast<DWORD>(library.size() + 1)),
              ERROR_SUCCESS);
    std::array<char, platform::MAX_PATH_CHARS> path{};
    EXPECT_EQ(LookupDriverInfoLibrary("Own", path), INFO_LIBRARY_SPECIAL_TAPE);
}

}  // namespace
