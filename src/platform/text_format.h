#pragma once
// printf-style formatting of a text with one text argument, for formats that
// come from resources or constants: "%s" takes the argument, "%%" a percent
// sign; any other '%' sequence stays as it is, so a format can never reach
// past its argument.

#include <string>
#include <string_view>

namespace platform {

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
