#pragma once
// The headless stand-in for the platform's library loader: a table of
// in-process libraries that tests register by name, each a map of export
// names to addresses and the libraries it needs. Loading looks a name up
// without regard to letter case, as the Windows file system does.

#include <map>
#include <string>
#include <type_traits>
#include <vector>

namespace platform::headless {

using ExportTable = std::map<std::string, void*>;

// An export's address for the table, named with the call shape the program
// binds it with: ExportAddress<TRSendFileProc>(&TRSendFile) compiles only
// when the function has exactly that shape.
template <class FunctionPointer>
void* ExportAddress(std::type_identity_t<FunctionPointer> function)
{
    return reinterpret_cast<void*>(function);
}

// A library that needs others (by bare name, as its imports name them) loads
// only where each is found: registered under its bare name (on the default
// search path: beside the program, in the system's folder) or, when loaded
// with its own folder searched (Library::LoadFromOwnFolder), in that folder.
void RegisterLibrary(const std::string& name, ExportTable exports, std::vector<std::string> needs = {});
void UnregisterLibrary(const std::string& name);

// Forgets every registered library and the load history.
void ResetLibraries();

// Names asked for by Library::Load, in order, whether they loaded or not.
std::vector<std::string> LibraryLoadRequests();

// How many loaded libraries are held right now.
int LoadedLibraryCount();

}  // namespace platform::headless
