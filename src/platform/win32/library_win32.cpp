#include "platform/library.h"

#include <windows.h>

#include <utility>

namespace platform {

Library Library::Load(const std::string& nameOrPath)
{
    return Library(::LoadLibraryA(nameOrPath.c_str()));
}

void Library::Free()
{
    if (m_handle != nullptr) {
        ::FreeLibrary(static_cast<HMODULE>(m_handle));
        m_handle = nullptr;
    }
}

void* Library::ResolveAddress(const char* exportName) const
{
    if (m_handle == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(m_handle), exportName));
}

}  // namespace platform
