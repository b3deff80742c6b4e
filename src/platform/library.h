#pragma once
// Run-time loaded libraries: load by bare name or path, resolve exports by
// name, free. One owner per loaded library; freeing happens on destruction.

#include <string>

namespace platform {

class Library {
public:
    Library() = default;
    ~Library();
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    Library(Library&& other) noexcept;
    Library& operator=(Library&& other) noexcept;

    // Loads a library by bare name (the platform's search order applies) or
    // by path. The result is empty when the library cannot be loaded.
    static Library Load(const std::string& nameOrPath);

    bool IsLoaded() const { return m_handle != nullptr; }
    explicit operator bool() const { return IsLoaded(); }

    // Unloads the library, if one is held.
    void Free();

    // The address of an export, or null when the library lacks it.
    void* ResolveAddress(const char* exportName) const;

    // Typed form: Resolve<decltype(&Function)>("Name").
    template <class FunctionPointer>
    FunctionPointer Resolve(const char* exportName) const
    {
        return reinterpret_cast<FunctionPointer>(ResolveAddress(exportName));
    }

private:
    explicit Library(void* handle) : m_handle(handle) {}
    void* m_handle = nullptr;
};

}  // namespace platform
