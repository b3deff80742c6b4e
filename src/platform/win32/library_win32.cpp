#include "platform/library.h"

#include <windows.h>

#include <utility>

#include "platform/file.h"

namespace platform {

Library Library::Load(const std::string& nameOrPath)
{
    return Library(::LoadLibraryA(nameOrPath.c_str()));
}

Library Library::LoadFromOwnFolder(const std::string& path)
{
    if (!IsFullyQualifiedPath(path)) {
        return Load(path);
    }
    if (const HMODULE module = ::LoadLibraryExA(path.c_str(), nullptr,
                                                LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS)) {
        return Library(module);
    }
    // A system without these search flags (before Windows 8, or Windows 7
    // without its loader update) refuses them as an invalid parameter.
    return ::GetLastError() == ERROR_INVALID_PARAMETER ? Load(path) : Library();
}

void Library::ReleaseHandle(void* handle)
{
    ::FreeLibrary(static_cast<HMODULE>(handle));
}

void* Library::ResolveAddress(const char* exportName) const
{
    if (!m_handle) {
        return nullptr;
    }
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(m_handle.Get()), exportName));
}

}  // namespace platform
