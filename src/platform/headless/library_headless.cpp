#include <algorithm>
#include <cstddef>
#include <list>
#include <mutex>
#include <new>
#include <utility>

#include "platform/code_page.h"
#include "platform/file.h"
#include "platform/headless/letter_case.h"
#include "platform/headless/library_table.h"
#include "platform/library.h"

namespace platform::headless {
namespace {

struct LoadedLibrary {
    std::string name;
    ExportTable exports;
};

struct RegisteredLibrary {
    ExportTable exports;
    std::vector<std::string> needs;
};

struct LibraryRegistry {
    std::mutex mutex;
    std::map<std::string, RegisteredLibrary> libraries;  // keyed by lower-case name
    std::vector<std::string> requests;
    // Libraries handed out by Library::Load; a handle is the address of its
    // element. Each keeps its own copy of the export table, so a test that
    // unregisters a library does not pull the exports from under a holder.
    std::list<LoadedLibrary> loaded;
};

// The table lives until the process ends and is never destroyed: a library
// that a static object of the program still holds at exit is freed after
// every function-local static, this table's among them, has gone.
class LastingRegistry {
public:
    LastingRegistry() { new (m_storage) LibraryRegistry(); }
    LibraryRegistry& get() { return *std::launder(reinterpret_cast<LibraryRegistry*>(m_storage)); }

private:
    alignas(LibraryRegistry) std::byte m_storage[sizeof(LibraryRegistry)];
};

LibraryRegistry& Registry()
{
    static LastingRegistry registry;
    return registry.get();
}

// The library loaded, or null; ownFolder (with its separator) is searched for
// what it needs before the default path when not empty.
LoadedLibrary* LoadRegistered(const std::string& nameOrPath, const std::string& ownFolder)
{
    auto& registry = Registry();
    std::lock_guard lock(registry.mutex);
    registry.requests.push_back(nameOrPath);
    const auto found = registry.libraries.find(Folded(nameOrPath));
    if (found == registry.libraries.end()) {
        return nullptr;
    }
    for (const auto& need : found->second.needs) {
        if (!registry.libraries.contains(Folded(need)) &&
            (ownFolder.empty() || !registry.libraries.contains(Folded(ownFolder + need)))) {
            return nullptr;
        }
    }
    return &registry.loaded.emplace_back(LoadedLibrary{nameOrPath, found->second.exports});
}

}  // namespace

void RegisterLibrary(const std::string& name, ExportTable exports, std::vector<std::string> needs)
{
    std::lock_guard lock(Registry().mutex);
    Registry().libraries[Folded(name)] = {std::move(exports), std::move(needs)};
}

void UnregisterLibrary(const std::string& name)
{
    std::lock_guard lock(Registry().mutex);
    Registry().libraries.erase(Folded(name));
}

void ResetLibraries()
{
    std::lock_guard lock(Registry().mutex);
    Registry().libraries.clear();
    Registry().requests.clear();
}

std::vector<std::string> LibraryLoadRequests()
{
    std::lock_guard lock(Registry().mutex);
    return Registry().requests;
}

int LoadedLibraryCount()
{
    std::lock_guard lock(Registry().mutex);
    return static_cast<int>(Registry().loaded.size());
}

}  // namespace platform::headless

namespace platform {

using headless::LoadedLibrary;

Library Library::Load(const std::string& nameOrPath)
{
    return Library(headless::LoadRegistered(nameOrPath, {}));
}

Library Library::LoadFromOwnFolder(const std::string& path)
{
    const auto separator = FindLastCharacterOf(path, "\\/");
    return Library(
        headless::LoadRegistered(path, IsFullyQualifiedPath(path) ? path.substr(0, separator + 1) : std::string()));
}

void Library::ReleaseHandle(void* handle)
{
    auto& registry = headless::Registry();
    std::lock_guard lock(registry.mutex);
    registry.loaded.remove_if([handle](const LoadedLibrary& library) { return &library == handle; });
}

void* Library::ResolveAddress(const char* exportName) const
{
    if (!m_handle || exportName == nullptr) {
        return nullptr;
    }
    const auto& exports = static_cast<const LoadedLibrary*>(m_handle.Get())->exports;
    const auto found = exports.find(exportName);
    return found == exports.end() ? nullptr : found->second;
}

}  // namespace platform
