#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <limits>
#include <vector>

#include "platform/file.h"
#include "platform/unique_handle.h"
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

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD kAppendLockOffsetHigh = 0x40000000;  // the byte at 2^62

void CloseFileHandle(HANDLE handle)
{
    ::CloseHandle(handle);
}
using OwnedHandle = UniqueHandle<HANDLE, &CloseFileHandle>;

OwnedHandle OpenShared(const std::string& utf8Path, DWORD access, DWORD disposition)
{
    const HANDLE handle = ::CreateFileW(ToWide(utf8Path, CP_UTF8).c_str(), access, kShareAll, nullptr, disposition,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    return OwnedHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

}  // namespace

bool CreateFolder(const std::string& utf8Path)
{
    const auto path = ToWide(utf8Path, CP_UTF8);
    if (::CreateDirectoryW(path.c_str(), nullptr)) {
        return true;
    }
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool AppendToFile(const std::string& utf8Path, std::string_view bytes)
{
    // Append access without write access: the write goes to the end of the
    // file as it is then. Where the system takes that as two steps (Wine
    // does), another process's append could come between them: every append
    // holds the lock of one byte far past the end of any such file meanwhile.
    const auto file = OpenShared(utf8Path, FILE_READ_DATA | FILE_APPEND_DATA | SYNCHRONIZE, OPEN_ALWAYS);
    OVERLAPPED lockByte{};
    lockByte.OffsetHigh = kAppendLockOffsetHigh;
    if (!file || bytes.size() > std::numeric_limits<DWORD>::max() ||
        !::LockFileEx(file.Get(), LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &lockByte)) {
        return false;
    }
    DWORD written = 0;
    const bool whole = ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                       written == bytes.size();
    ::UnlockFileEx(file.Get(), 0, 1, 0, &lockByte);
    return whole;
}

bool RenameFileIfLonger(const std::string& utf8Path, const std::string& utf8Target, std::uint64_t bytes)
{
    // Most calls find a short file by its attributes, without opening it for
    // deletion (which a reader that does not share deletion would refuse).
    const auto path = ToWide(utf8Path, CP_UTF8);
    const auto shortOrGone = [&] {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        return !::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
               ((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow) <= bytes;
    };
    if (shortOrGone()) {
        return true;
    }
    // Measured again and renamed through one handle: the file it names, not
    // whatever the path names by then.
    const auto file = OpenShared(utf8Path, DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE, OPEN_EXISTING);
    LARGE_INTEGER size{};
    if (file && ::GetFileSizeEx(file.Get(), &size) && static_cast<std::uint64_t>(size.QuadPart) <= bytes) {
        return true;
    }
    const auto target = ToWide(utf8Target, CP_UTF8);
    const std::size_t nameBytes = target.size() * sizeof(wchar_t);
    std::vector<std::byte> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(nameBytes);
    std::copy(target.begin(), target.end(), rename->FileName);
    // Refused (the old one still open, say): another process may have
    // renamed the file first and begun a new one.
    return (file &&
            ::SetFileInformationByHandle(file.Get(), FileRenameInfo, rename, static_cast<DWORD>(buffer.size()))) ||
           shortOrGone();
}

}  // namespace platform
