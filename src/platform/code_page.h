#pragma once
// Texts in the system's ANSI code page, in which the program's own interfaces
// and the driver's libraries hold names, and in UTF-8, which holds any name
// the system's wide interfaces give. In a double-byte code page a character
// may take two bytes, a lead byte and a trail byte, and the trail byte may
// equal an ASCII code such as '\'; every walk over an ANSI text here steps
// over such a character whole, so no split or cut ever halves one.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace platform {

// Whether the byte opens a double-byte character in the ANSI code page.
bool IsLeadByte(char byte);

// The position of the character after the one at position: two bytes on for
// a lead byte with its trail byte, else one (a lead byte that ends the text
// is a character of its own).
std::size_t NextCharacter(std::string_view text, std::size_t position);

// The bytes of the text's first `characters` characters (all of it when it
// has no more).
std::size_t LeadingCharacters(std::string_view text, std::size_t characters);

// The bytes of the longest start of the text that fits into `bytes` bytes
// without ending in a lone lead byte.
std::size_t FittingLength(std::string_view text, std::size_t bytes);

// The position of the last single-byte character of the text that is one of
// `characters` (a trail byte never counts), or npos.
std::size_t FindLastCharacterOf(std::string_view text, std::string_view characters);

// Copies as much of the text as the buffer holds with its terminator, cut at
// a character boundary, and terminates it. Nothing for an empty buffer.
void CopyText(std::span<char> buffer, std::string_view text);

// ANSI text in UTF-8; every ANSI text converts.
std::string AnsiToUtf8(std::string_view ansi);

// UTF-8 text in the ANSI code page as the system converts it: what the code
// page cannot hold becomes '?' (or a look-alike the system picks).
std::string Utf8ToAnsiLossy(std::string_view utf8);

// The text in the ANSI code page only where it converts back unchanged; empty
// where the code page cannot hold it.
std::optional<std::string> Utf8ToAnsi(std::string_view utf8);

}  // namespace platform
