#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include <array>
#include <memory>
#include <system_error>

#include "platform/process.h"
#include "platform/thread.h"
#include "platform/win32/wide_text.h"

namespace platform {

static_assert(MAX_PATH_CHARS == MAX_PATH);

std::optional<std::string> ExecutableFileName()
{
    // A name that fills the buffer was cut.
    std::array<wchar_t, MAX_PATH_CHARS> name{};
    const DWORD length = ::GetModuleFileNameW(nullptr, name.data(), MAX_PATH_CHARS);
    if (length == 0 || length >= MAX_PATH_CHARS) {
        return std::nullopt;
    }
    return FromWide(std::wstring_view(name.data(), length), CP_UTF8);
}

std::optional<std::string> LocalAppDataFolder()
{
    // The path is the caller's to free whether the call succeeds or not.
    PWSTR path = nullptr;
    const HRESULT result = ::SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &path);
    const std::unique_ptr<wchar_t, decltype(&::CoTaskMemFree)> owned(path, &::CoTaskMemFree);
    if (FAILED(result) || path == nullptr || *path == L'\0') {
        return std::nullopt;
    }
    return FromWide(path, CP_UTF8);
}

std::unique_ptr<WorkerThread> WorkerThread::Start(Routine routine, DialogHandle boxOwner)
{
    try {
        return std::make_unique<WorkerThread>(std::move(routine), boxOwner);
    } catch (const std::system_error&) {
        return nullptr;
    }
}

}  // namespace platform
