// The file class's throwing open and its closing on destruction, the same
// whatever backend holds the file.

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

}  // namespace platform
