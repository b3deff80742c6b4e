#include <windows.h>

#include <limits>

#include "platform/file.h"
#include "platform/win32/wide_text.h"

namespace platform {

bool File::Open(const std::string& path, unsigned openFlags)
{
    Close();
    const bool create = (openFlags & modeCreate) != 0;
    const HANDLE handle =
        ::CreateFileA(path.c_str(), create ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ, nullptr,
                      create ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    m_handle = handle;
    m_path = path;
    return true;
}

void File::Close()
{
    if (m_handle != nullptr) {
        ::CloseHandle(static_cast<HANDLE>(m_handle));
        m_handle = nullptr;
    }
}

std::size_t File::Read(void* buffer, std::size_t count)
{
    if (m_handle == nullptr || count > std::numeric_limits<DWORD>::max()) {
        throw FileException(FileException::Cause::ReadFailed, m_path);
    }
    DWORD received = 0;
    if (!::ReadFile(static_cast<HANDLE>(m_handle), buffer, static_cast<DWORD>(count), &received, nullptr)) {
        throw FileException(FileException::Cause::ReadFailed, m_path);
    }
    return received;
}

void File::Seek(std::uint64_t offset)
{
    LARGE_INTEGER distance{};
    distance.QuadPart = static_cast<LONGLONG>(offset);
    if (m_handle == nullptr || !::SetFilePointerEx(static_cast<HANDLE>(m_handle), distance, nullptr, FILE_BEGIN)) {
        throw FileException(FileException::Cause::SeekFailed, m_path);
    }
}

std::uint64_t File::GetLength() const
{
    LARGE_INTEGER length{};
    if (m_handle == nullptr || !::GetFileSizeEx(static_cast<HANDLE>(m_handle), &length)) {
        throw FileException(FileException::Cause::SeekFailed, m_path);
    }
    return static_cast<std::uint64_t>(length.QuadPart);
}

bool FileExists(const std::string& utf8Path)
{
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW(ToWide(utf8Path, CP_UTF8).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return false;
    }
    ::FindClose(search);
    return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace platform
