#include <windows.h>

#include "platform/code_page.h"
#include "platform/win32/wide_text.h"

namespace platform {

bool IsLeadByte(char byte)
{
    return ::IsDBCSLeadByte(static_cast<BYTE>(byte)) != FALSE;
}

std::string AnsiToUtf8(std::string_view ansi)
{
    return FromWide(ToWide(ansi, CP_ACP), CP_UTF8);
}

std::string Utf8ToAnsiLossy(std::string_view utf8)
{
    return FromWide(ToWide(utf8, CP_UTF8), CP_ACP);
}

}  // namespace platform
