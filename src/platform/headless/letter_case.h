#pragma once
// Names as Windows compares them: registry keys and values, printer, file and
// library names and sorted combo box entries, without regard to letter case.

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

namespace platform::headless {

inline bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b,
                              [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

inline bool LessIgnoringCase(std::string_view a, std::string_view b)
{
    return std::ranges::lexicographical_compare(
        a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) < std::tolower(y); });
}

// The name in lower case, as a key that finds every spelling of it.
inline std::string Folded(std::string_view name)
{
    std::string folded(name);
    std::ranges::transform(folded, folded.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return folded;
}

}  // namespace platform::headless
