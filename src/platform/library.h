#pragma once
// Run-time loaded libraries: load by bare name or path (paths in the ANSI
// code page), resolve exports by name, free. One owner per loaded library; freeing happens on destruction.

#include <string>

#include "platform/unique_handle.h"

namespace platform {

class Library {
public:
    Library() = default;

    // Loads a library by bare name (the platform's search order applies) or
    // by path. The result is empty when the library cannot be loaded.
    static Library Load(const std::string& nameOrPath);

    // Loads a library by its full path, with the library's own folder searched
    // first for the libraries it needs (a driver's library may need another of
    // the driver's beside it), then the default folders, never the current
    // folder. Where the system cannot search so, and for a path that is not
    // fully qualified, as Load.
    static Library LoadFromOwnFolder(const std::string& path);

    bool IsLoaded() const { return static_cast<bool>(m_handle); }
    explicit operator bool() const { return IsLoaded(); }

    // Unloads the library, if one is held.
    void Free() { m_handle.Reset(); }

    // The address of an export, or null when the library lacks it.
    void* ResolveAddress(const char* exportName) const;

    // Typed form: Resolve<decltype(&Function)>("Name").
    template <class FunctionPointer>
    FunctionPointer Resolve(const char* exportName) const
    {
        return reinterpret_cast<FunctionPointer>(ResolveAddress(exportName));
    }

    // Resolves an export into target; false when the library lacks it.
    template <class FunctionPointer>
    bool Bind(FunctionPointer& target, const char* exportName) const
    {
        target = Resolve<FunctionPointer>(exportName);
        return target != nullptr;
    }

private:
    explicit Library(void* handle) : m_handle(handle) {}
    static void ReleaseHandle(void* handle);
    UniqueHandle<void*, &Library::ReleaseHandle> m_handle;
};

}  // namespace platform
