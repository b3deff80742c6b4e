// The file class's throwing open and its closing on destruction, and what a
// path names, the same whatever backend holds the file.

#include "platform/file.h"

namespace platform {

File::File(const std::string& path, unsigned openFlags)
{
    if (!Open(path, openFlags)) {
        throw FileException(FileException::Cause::OpenFailed, path);
    }
}

File::~File()
{
    Close();
}

bool IsFullyQualifiedPath(std::string_view path)
{
    const auto separator = [&](std::size_t i) { return i < path.size() && (path[i] == '\\' || path[i] == '/'); };
    const char letter = path.empty() ? '\0' : static_cast<char>(path[0] | 0x20);
    const bool drive = letter >= 'a' && letter <= 'z' && path.size() > 1 && path[1] == ':';
    return (drive && separator(2)) || (separator(0) && separator(1));
}

}  // namespace platform
