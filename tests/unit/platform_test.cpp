// The platform layer below the user interface: what every backend shares
// (handle ownership, the worker thread, the file class and what a path
// names, Windows' values under the platform's names, the records' defaults),
// and the headless backend as a model of Windows (the spooler, the ANSI code
// page).

#include <gmock/gmock.h>

#include <filesystem>

#include "platform/code_page.h"
#include "platform/file.h"
#include "platform/headless/printer_driver_script.h"
#include "platform/headless/process_table.h"
#include "platform/headless/spooler_table.h"
#include "platform/power.h"
#include "platform/printing_constants.h"
#include "platform/system_info.h"
#include "platform/thread.h"
#include "platform/unique_handle.h"

namespace {

using namespace platform;
using namespace printing;

int g_released = 0;
using Handle = UniqueHandle<int, +[](int handle) { g_released = g_released * 10 + handle; }>;

// Handles are freed in order: 2, 1, 3 (and a moved-from handle frees nothing).
// Files: a closed one has no length, one that does not open throws, and a
// file closes with its object. An open printer is counted while it lives.
TEST(PlatformShared, HandlesThreadsFilesAndTheCodePageBehaveAsOnWindows)
{
    {
        Handle one(1), two(2);
        Handle moved(std::move(one));
        two = std::move(moved);  // frees 2
        EXPECT_EQ(g_released, 2);
        two.Reset(3);  // frees 1
    }                  // frees 3
    EXPECT_EQ(g_released, 213);
    EXPECT_EQ(WorkerThread([] { return 7u; }, nullptr).JoinHandlingMessages(), 7u);

    EXPECT_THROW(File().GetLength(), FileException);
    EXPECT_THAT(
        [] { File("no such file", File::modeRead); },
        testing::Throws<FileException>(testing::Property(&FileException::GetCause, FileException::Cause::OpenFailed)));
    const auto before = std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
    File("/proc/self/exe", File::modeRead);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}), before);
    // Only the text given counts: "C:" and "\" cut from "C:\" and "\\".
    EXPECT_FALSE(IsFullyQualifiedPath({"C:\\", 2}) || IsFullyQualifiedPath({"\\\\", 1}));
    headless::InstallPrinter(headless::MakeSpoolerPrinter("Label", "VR-380MX"));
    EXPECT_TRUE(Printer::Open("LABEL") && headless::OpenPrinterCount() == 1);  // found in any letter case

    // The ANSI code page, Windows-1252 and then Shift JIS: only what it holds
    // converts back (a question mark of the text's own too); the rest becomes
    // '?'. Windows-1252 holds C1 controls in its free codes (0x81 ...), Shift
    // JIS kanji whose trail byte is '\'; a lead byte that ends a text is a
    // character of its own.
    EXPECT_EQ(std::tuple(AnsiToUtf8("caf\xE9 \x80\x81\x87\x9F"), Utf8ToAnsi("café €‡?"), Utf8ToAnsiLossy("Прога 表"),
                         Utf8ToAnsi("Прога"), Utf8ToAnsi("\xFF")),
              std::tuple("café €\u0081‡Ÿ", "caf\xE9 \x80\x87?", "????? ?", std::nullopt, std::nullopt));
    headless::SetDoubleByteCodePage(true);
    EXPECT_EQ(std::tuple(AnsiToUtf8("\x95\x5C\x83\x5C\xB1\x82\xA0\x94\x5C\x90\x56"), Utf8ToAnsi("表ソｱあ能新"),
                         Utf8ToAnsi("café"), FittingLength("a\x95", 2)),
              std::tuple("表ソｱあ能新", "\x95\x5C\x83\x5C\xB1\x82\xA0\x94\x5C\x90\x56", std::nullopt, 2u));
    headless::ResetProcess();
    // As wingdi.h and winnt.h define them; then the records' defaults and the
    // steady clock after a reset.
    EXPECT_EQ((std::vector<long long>{FIELD_PAPER_SIZE, FIELD_COLOR, PRINT_QUALITY_DRAFT, ORIENTATION_PORTRAIT,
                                      CAPS_MIN_EXTENT, CAPS_MAX_EXTENT, CAPS_RESOLUTIONS, PAPER_NAME_SIZE,
                                      ESCAPE_PRINTING_OFFSET, EXECUTION_CONTINUOUS, EXECUTION_SYSTEM_REQUIRED,
                                      LocalTime{}.day, PrinterInfo2{}.attributes, OsVersion{}.minor,
                                      headless::EscapeAnswer{}.x, static_cast<long long>(SteadyMilliseconds())}),
              (std::vector<long long>{2, 0x800, -1, 1, 4, 5, 13, 64, 13, 0x80000000, 1, 0, 0, 0, 0, 0}));
}

}  // namespace
