// The platform layer below the user interface: what every backend shares
// (handle ownership, the throwing open), and the headless backend as a model
// of Windows (the ANSI code page).

#include <gtest/gtest.h>

#include "platform/code_page.h"
#include "platform/file.h"
#include "platform/headless/process_table.h"
#include "platform/unique_handle.h"

namespace {

int g_released = 0;
void Release(int handle)
{
    g_released = g_released * 10 + handle;
}

TEST(PlatformShared, HandlesFreeWhatTheyReplace_AndAFailedOpenThrows)
{
    using Handle = platform::UniqueHandle<int, &Release>;
    {
        Handle one(1);
        Handle two(2);
        Handle moved(std::move(one));
        EXPECT_FALSE(one);
        two = std::move(moved);  // frees 2
        EXPECT_EQ(g_released, 2);
        two.Reset(3);  // frees 1
        EXPECT_EQ(g_released, 21);
    }  // frees 3
    EXPECT_EQ(g_released, 213);

    platform::File file;
    EXPECT_FALSE(file.Open("no such file", platform::File::modeRead));
    try {
        platform::File thrown("no such file", platform::File::modeRead);
        ADD_FAILURE() << "no exception";
    } catch (const platform::FileException& e) {
        EXPECT_EQ(e.GetCause(), platform::FileException::Cause::OpenFailed);
    }
}

// Windows-1252, then Shift JIS: only what the code page holds converts back
// (a question mark of the text's own too); the rest becomes '?'.
TEST(CodePage, OnlyWhatTheCodePageHoldsRoundTrips)
{
    using namespace platform;
    EXPECT_EQ(std::tuple(AnsiToUtf8("caf\xE9 \x80"), Utf8ToAnsi("café €?"), Utf8ToAnsiLossy("Прога 表"),
                         Utf8ToAnsi("Прога"), Utf8ToAnsi("\xFF")),
              std::tuple("café €", "caf\xE9 \x80?", "????? ?", std::nullopt, std::nullopt));
    headless::SetDoubleByteCodePage(true);
    EXPECT_EQ(std::tuple(AnsiToUtf8("\x95\x5C\x83\x5C\xB1\x82\xA0"), Utf8ToAnsi("café")),
              std::tuple("表ソｱあ", std::nullopt));
    headless::ResetProcess();
}

}  // namespace
