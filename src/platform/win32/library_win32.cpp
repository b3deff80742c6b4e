#include "platform/library.h"

#include <windows.h>

#include <utility>

namespace platform {

Library Library::Load(const std::string& nameOrPath)
{
    return Library(::LoadLibraryA(nameOrPath.c_str()));
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
