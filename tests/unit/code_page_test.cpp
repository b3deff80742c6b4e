// The ANSI code page as the headless backend models Windows (Windows-1252,
// or Shift JIS): what converts both ways, what becomes '?', and walks over
// ANSI texts that never halve a double-byte character. 表 is 0x95 0x5C in
// Shift JIS: its trail byte is the code of '\'.

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <span>
#include <string>
#include <tuple>

#include "platform/code_page.h"
#include "platform/headless/process_table.h"

namespace {

class CodePage : public ::testing::Test {
protected:
    void TearDown() override { platform::headless::ResetProcess(); }
};

TEST_F(CodePage, OnlyWhatTheCodePageHoldsRoundTrips)
{
    using platform::AnsiToUtf8;
    using platform::Utf8ToAnsi;
    EXPECT_EQ(std::tuple(AnsiToUtf8("caf\xE9 \x80"), Utf8ToAnsi("café €"), Utf8ToAnsi("a?b")),
              std::tuple("café €", "caf\xE9 \x80", "a?b"));
    EXPECT_EQ(std::tuple(platform::Utf8ToAnsiLossy("Прога 表"), Utf8ToAnsi("Прога"), Utf8ToAnsi("\xFF")),
              std::tuple("????? ?", std::nullopt, std::nullopt));

    platform::headless::SetDoubleByteCodePage(true);
    const std::string ansi = "\x95\x5C\x83\x5C\xB1\x82\xA0 x";
    EXPECT_EQ(std::tuple(AnsiToUtf8(ansi), Utf8ToAnsi("表ソｱあ x"), Utf8ToAnsi("café")),
              std::tuple("表ソｱあ x", ansi, std::nullopt));
}

TEST_F(CodePage, WalksStepOverADoubleByteCharacterWhole)
{
    platform::headless::SetDoubleByteCodePage(true);
    const std::string text =
        "a\x95\x5C"
        "b\\";  // a, 表, b, '\': five bytes
    EXPECT_EQ(std::tuple(platform::LeadingCharacters(text, 2), platform::LeadingCharacters(text, 9),
                         platform::FittingLength(text, 2), platform::FindLastCharacterOf(text, "\\"),
                         platform::FindLastCharacterOf(text.substr(0, 4), "\\")),
              std::tuple(3u, 5u, 1u, 4u, std::string::npos));
    std::array<char, 3> buffer{'x', 'x', 'x'};
    platform::CopyText(buffer, text);
    EXPECT_STREQ(buffer.data(), "a");
    platform::CopyText(std::span(buffer).first(0), text);  // nothing to write into
}

}  // namespace
