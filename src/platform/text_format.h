#pragma once
// Texts made from other texts. FormatText is printf-style formatting of a
// text with one text argument, for formats that come from resources or
// constants: "%s" takes the argument, "%%" a percent sign; any other '%'
// sequence stays as it is, so a format can never reach past its argument.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// An ASCII text in capitals, at compile time.
template <std::size_t N>
constexpr std::array<char, N> AsciiUpper(const char (&text)[N])
{
    std::array<char, N> upper{};
    for (std::size_t i = 0; i < N; ++i) {
        upper[i] = text[i] >= 'a' && text[i] <= 'z' ? static_cast<char>(text[i] - 'a' + 'A') : text[i];
    }
    return upper;
}

inline std::string FormatText(std::string_view format, std::string_view argument)
{
    std::string text;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && (format[i + 1] == 's' || format[i + 1] == '%')) {
            if (format[++i] == 's') {
                text += argument;
            } else {
                text += '%';
            }
            continue;
        }
        text += format[i];
    }
    return text;
}

}  // namespace platform
