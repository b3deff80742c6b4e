#pragma once
// Texts between a code page (the ANSI one, or UTF-8) and the wide strings of
// the system's wide interfaces. What does not convert becomes what the system
// puts in its place.

#include <windows.h>

#include <string>
#include <string_view>

namespace platform {

inline std::wstring ToWide(std::string_view text, UINT codePage)
{
    const int size = static_cast<int>(text.size());
    std::wstring wide(static_cast<std::size_t>(::MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0)),
                      L'\0');
    ::MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

inline std::string FromWide(std::wstring_view wide, UINT codePage)
{
    const int size = static_cast<int>(wide.size());
    std::string text(
        static_cast<std::size_t>(::WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr)),
        '\0');
    ::WideCharToMultiByte(codePage, 0, wide.data(), size, text.data(), static_cast<int>(text.size()), nullptr, nullptr);
    return text;
}

}  // namespace platform
