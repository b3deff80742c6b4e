// The process's ANSI code page as Windows converts it: Windows-1252 (a Western
// code page) by default, or enough of Shift JIS (932) for tests: ASCII,
// half-width katakana, the full-width hiragana and katakana rows and a few
// kanji, among them ones whose trail byte is '\' (表 0x955C, ソ 0x835C).
// Converting to ANSI puts '?' for what the code page cannot hold, as
// WideCharToMultiByte does by default; a byte sequence the table lacks reads
// as '?' too.

#include <atomic>
#include <cstdint>
#include <map>
#include <utility>

#include "platform/code_page.h"
#include "platform/headless/process_table.h"

namespace platform::headless {
namespace {

// A code: a single byte, or lead byte * 256 + trail byte.
using CodeTable = std::map<std::uint16_t, char32_t>;

std::atomic<bool> g_shiftJis = false;

CodeTable Ascii()
{
    CodeTable table;
    for (char32_t c = 0; c < 0x80; ++c) {
        table[static_cast<std::uint16_t>(c)] = c;
    }
    return table;
}

void AddRun(CodeTable& table, std::uint16_t firstCode, char32_t firstCharacter, int count)
{
    for (int i = 0; i < count; ++i) {
        table[static_cast<std::uint16_t>(firstCode + i)] = firstCharacter + static_cast<char32_t>(i);
    }
}

const CodeTable& Western()
{
    static const CodeTable table = [] {
        auto codes = Ascii();
        // 0x80-0x9F; the five codes Windows-1252 leaves free stand for the C1 controls.
        constexpr char32_t kHigh[32] = {0x20AC, 0x81,   0x201A, 0x192,  0x201E, 0x2026, 0x2020, 0x2021,
                                        0x2C6,  0x2030, 0x160,  0x2039, 0x152,  0x8D,   0x17D,  0x8F,
                                        0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                        0x2DC,  0x2122, 0x161,  0x203A, 0x153,  0x9D,   0x17E,  0x178};
        for (std::uint16_t i = 0; i < 32; ++i) {
            codes[static_cast<std::uint16_t>(0x80 + i)] = kHigh[i];
        }
        AddRun(codes, 0xA0, 0xA0, 0x60);
        return codes;
    }();
    return table;
}

const CodeTable& ShiftJis()
{
    static const CodeTable table = [] {
        auto codes = Ascii();
        AddRun(codes, 0xA1, 0xFF61, 63);    // half-width katakana
        AddRun(codes, 0x829F, 0x3041, 83);  // hiragana
        AddRun(codes, 0x8340, 0x30A1, 63);  // katakana, before the gap at 0x837F
        AddRun(codes, 0x8380, 0x30E0, 23);
        for (const auto& [code, character] : {std::pair<std::uint16_t, char32_t>{0x8140, 0x3000},
                                              {0x815B, 0x30FC},
                                              {0x955C, 0x8868},
                                              {0x945C, 0x80FD},
                                              {0x8F5C, 0x5341},
                                              {0x93FA, 0x65E5},
                                              {0x967B, 0x672C},
                                              {0x8D58, 0x66F4},
                                              {0x9056, 0x65B0}}) {
            codes[code] = character;
        }
        return codes;
    }();
    return table;
}

const CodeTable& CurrentTable()
{
    return g_shiftJis ? ShiftJis() : Western();
}

void AppendUtf8(std::string& text, char32_t c)
{
    const auto byte = [&](std::uint32_t value) { text.push_back(static_cast<char>(value)); };
    if (c < 0x80) {
        byte(c);
    } else if (c < 0x800) {
        byte(0xC0 | (c >> 6));
        byte(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        byte(0xE0 | (c >> 12));
        byte(0x80 | ((c >> 6) & 0x3F));
        byte(0x80 | (c & 0x3F));
    } else {
        byte(0xF0 | (c >> 18));
        byte(0x80 | ((c >> 12) & 0x3F));
        byte(0x80 | ((c >> 6) & 0x3F));
        byte(0x80 | (c & 0x3F));
    }
}

// The character at position, moving past it; U+FFFD for a broken sequence.
char32_t NextUtf8(std::string_view text, std::size_t& position)
{
    const auto lead = static_cast<unsigned char>(text[position++]);
    const int more = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (more < 0) {
        return 0xFFFD;
    }
    char32_t c = more == 0 ? lead : lead & (0x3F >> more);
    for (int i = 0; i < more; ++i) {
        if (position == text.size() || (static_cast<unsigned char>(text[position]) & 0xC0) != 0x80) {
            return 0xFFFD;
        }
        c = (c << 6) | (static_cast<unsigned char>(text[position++]) & 0x3F);
    }
    return c;
}

}  // namespace

void SetDoubleByteCodePage(bool shiftJis)
{
    g_shiftJis = shiftJis;
}

}  // namespace platform::headless

namespace platform {

bool IsLeadByte(char byte)
{
    const auto value = static_cast<unsigned char>(byte);
    return headless::g_shiftJis && ((value >= 0x81 && value <= 0x9F) || (value >= 0xE0 && value <= 0xFC));
}

std::string AnsiToUtf8(std::string_view ansi)
{
    const auto& table = headless::CurrentTable();
    std::string utf8;
    for (std::size_t position = 0; position < ansi.size();) {
        const auto next = NextCharacter(ansi, position);
        std::uint16_t code = static_cast<unsigned char>(ansi[position]);
        if (next == position + 2) {
            code = static_cast<std::uint16_t>(code << 8 | static_cast<unsigned char>(ansi[position + 1]));
        }
        const auto found = table.find(code);
        headless::AppendUtf8(utf8, found != table.end() ? found->second : U'?');
        position = next;
    }
    return utf8;
}

std::string Utf8ToAnsiLossy(std::string_view utf8)
{
    static const auto reversed = [] {
        std::map<char32_t, std::uint16_t> western;
        std::map<char32_t, std::uint16_t> shiftJis;
        for (const auto& [code, c] : headless::Western()) {
            western.emplace(c, code);
        }
        for (const auto& [code, c] : headless::ShiftJis()) {
            shiftJis.emplace(c, code);
        }
        return std::pair(western, shiftJis);
    }();
    const auto& table = headless::g_shiftJis ? reversed.second : reversed.first;
    std::string ansi;
    for (std::size_t position = 0; position < utf8.size();) {
        const auto found = table.find(headless::NextUtf8(utf8, position));
        const std::uint16_t code = found != table.end() ? found->second : '?';
        if (code > 0xFF) {
            ansi.push_back(static_cast<char>(code >> 8));
        }
        ansi.push_back(static_cast<char>(code & 0xFF));
    }
    return ansi;
}

}  // namespace platform
