// Files on the host's file system, named as on Windows (either separator,
// names without regard to letter case, the file class's paths in the ANSI
// code page), with every open and read of the file class recorded.

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <string_view>

#include "platform/code_page.h"
#include "platform/file.h"
#include "platform/headless/file_log.h"
#include "platform/headless/letter_case.h"

namespace platform::headless {
namespace {

struct AccessLog {
    std::mutex mutex;
    std::vector<FileAccess> accesses;
};

AccessLog& Log()
{
    static AccessLog log;
    return log;
}

// The host file a path names, found as Windows finds it: with either
// separator, each name without the dots and spaces that end it (Windows
// drops them: "Ltd." names "Ltd"), and each name matched without regard to
// letter case (the spelling on disk wins where the path's own does not exist).
std::string HostPath(std::string asWritten)
{
    std::ranges::replace(asWritten, '\\', '/');
    std::string path;
    for (std::size_t start = 0, end = 0; end != std::string::npos; start = end + 1) {
        end = asWritten.find('/', start);
        std::string_view name = std::string_view(asWritten).substr(start, end - start);
        while (name != "." && name != ".." && !name.empty() && (name.back() == '.' || name.back() == ' ')) {
            name.remove_suffix(1);
        }
        path.append(name).append(end == std::string::npos ? "" : "/");
    }
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path asked(path);
    if (fs::exists(asked, error)) {
        return path;
    }
    fs::path found = asked.root_path();
    for (const auto& part : asked.relative_path()) {
        auto next = found / part;
        if (!fs::exists(next, error)) {
            for (fs::directory_iterator it(found.empty() ? "." : found, error), end; !error && it != end;
                 it.increment(error)) {
                if (SameIgnoringCase(it->path().filename().string(), part.string())) {
                    next = found / it->path().filename();
                    break;
                }
            }
        }
        found = std::move(next);
    }
    return found.string();
}

void Note(FileAccess access)
{
    std::lock_guard lock(Log().mutex);
    Log().accesses.push_back(std::move(access));
}

}  // namespace

std::vector<FileAccess> FileAccesses()
{
    std::lock_guard lock(Log().mutex);
    return Log().accesses;
}

void ResetFileAccesses()
{
    std::lock_guard lock(Log().mutex);
    Log().accesses.clear();
}

}  // namespace platform::headless

namespace platform {

namespace {
std::FILE* Stream(void* handle)
{
    return static_cast<std::FILE*>(handle);
}
}  // namespace

bool File::Open(const std::string& path, unsigned openFlags)
{
    Close();
    m_handle = std::fopen(headless::HostPath(AnsiToUtf8(path)).c_str(), (openFlags & modeCreate) != 0 ? "w+b" : "rb");
    headless::Note({m_handle != nullptr ? "open" : "open.failed", path, 0, 0, 0});
    if (m_handle != nullptr) {
        m_path = path;
    }
    return m_handle != nullptr;
}

void File::Close()
{
    if (m_handle != nullptr) {
        std::fclose(Stream(m_handle));
        m_handle = nullptr;
    }
}

std::size_t File::Read(void* buffer, std::size_t count)
{
    if (m_handle == nullptr) {
        throw FileException(FileException::Cause::ReadFailed, m_path);
    }
    const auto offset = std::ftell(Stream(m_handle));
    const auto received = std::fread(buffer, 1, count, Stream(m_handle));
    if (received < count && std::ferror(Stream(m_handle)) != 0) {
        throw FileException(FileException::Cause::ReadFailed, m_path);
    }
    headless::Note({"read", m_path, static_cast<std::uint64_t>(offset), count, received});
    return received;
}

void File::Seek(std::uint64_t offset)
{
    if (m_handle == nullptr || std::fseek(Stream(m_handle), static_cast<long>(offset), SEEK_SET) != 0) {
        throw FileException(FileException::Cause::SeekFailed, m_path);
    }
}

std::uint64_t File::GetLength() const
{
    std::error_code error;
    const auto length =
        m_handle == nullptr ? 0 : std::filesystem::file_size(headless::HostPath(AnsiToUtf8(m_path)), error);
    if (m_handle == nullptr || error) {
        throw FileException(FileException::Cause::SeekFailed, m_path);
    }
    return length;
}

bool FileExists(const std::string& utf8Path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(headless::HostPath(utf8Path), error);
}

bool CreateFolder(const std::string& utf8Path)
{
    std::error_code error;
    const auto path = headless::HostPath(utf8Path);
    std::filesystem::create_directory(path, error);
    return std::filesystem::is_directory(path, error);
}

bool AppendToFile(const std::string& utf8Path, std::string_view bytes)
{
    // A file marked read-only takes no writes on Windows, not even an
    // administrator's: the owner's write permission stands for the mark.
    namespace fs = std::filesystem;
    const auto path = headless::HostPath(utf8Path);
    std::error_code error;
    const auto status = fs::status(path, error);
    if (fs::exists(status) && (status.permissions() & fs::perms::owner_write) == fs::perms::none) {
        return false;
    }
    const int file = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (file < 0) {
        return false;
    }
    const auto written = ::write(file, bytes.data(), bytes.size());
    ::close(file);
    return written >= 0 && static_cast<std::size_t>(written) == bytes.size();
}

bool RenameFileIfLonger(const std::string& utf8Path, const std::string& utf8Target, std::uint64_t bytes)
{
    // Windows measures and renames the file through one handle; here one
    // lock makes the two steps one for every caller in the process.
    static std::mutex renaming;
    std::lock_guard lock(renaming);
    std::error_code error;
    const auto path = headless::HostPath(utf8Path);
    const auto size = std::filesystem::file_size(path, error);
    if (error || size <= bytes) {
        return true;
    }
    std::filesystem::rename(path, headless::HostPath(utf8Target), error);
    return !error;
}

}  // namespace platform
