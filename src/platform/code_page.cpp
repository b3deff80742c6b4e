// The character walk over ANSI texts and the conversion that keeps only what
// round-trips, the same whatever backend converts.

#include "platform/code_page.h"

#include <algorithm>

namespace platform {

std::size_t NextCharacter(std::string_view text, std::size_t position)
{
    return position + (IsLeadByte(text[position]) && position + 1 < text.size() ? 2 : 1);
}

std::size_t LeadingCharacters(std::string_view text, std::size_t characters)
{
    std::size_t position = 0;
    for (std::size_t counted = 0; position < text.size() && counted < characters; ++counted) {
        position = NextCharacter(text, position);
    }
    return position;
}

std::size_t FittingLength(std::string_view text, std::size_t bytes)
{
    std::size_t position = 0;
    while (position < text.size()) {
        const auto next = NextCharacter(text, position);
        if (next > bytes) {
            break;
        }
        position = next;
    }
    return position;
}

std::size_t FindLastCharacterOf(std::string_view text, std::string_view characters)
{
    auto found = std::string_view::npos;
    for (std::size_t position = 0; position < text.size();) {
        const auto next = NextCharacter(text, position);
        if (next == position + 1 && characters.find(text[position]) != std::string_view::npos) {
            found = position;
        }
        position = next;
    }
    return found;
}

void CopyText(std::span<char> buffer, std::string_view text)
{
    if (buffer.empty()) {
        return;
    }
    const auto length = FittingLength(text, buffer.size() - 1);
    std::copy_n(text.begin(), length, buffer.begin());
    buffer[length] = '\0';
}

std::optional<std::string> Utf8ToAnsi(std::string_view utf8)
{
    auto ansi = Utf8ToAnsiLossy(utf8);
    if (AnsiToUtf8(ansi) != utf8) {
        return std::nullopt;
    }
    return ansi;
}

}  // namespace platform
