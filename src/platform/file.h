#pragma once
// Files: a file class that throws FileException, the program's only
// exception, when it cannot open, read or move in a file (paths in the ANSI
// code page); the find-file existence test; and a file that several
// processes add lines to, named by UTF-8 paths.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

class FileException {
public:
    enum class Cause { OpenFailed, ReadFailed, SeekFailed };
    FileException(Cause cause, std::string path) : m_cause(cause), m_path(std::move(path)) {}
    Cause GetCause() const { return m_cause; }
    const std::string& GetPath() const { return m_path; }

private:
    Cause m_cause;
    std::string m_path;
};

class File {
public:
    enum OpenFlags : unsigned {
        modeRead = 0x0000,    // read only, binary
        modeCreate = 0x1000,  // create or truncate, read and write
    };

    File() = default;
    // Opens the file or throws FileException.
    File(const std::string& path, unsigned openFlags);
    virtual ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Opens the file; false instead of an exception.
    bool Open(const std::string& path, unsigned openFlags);
    void Close();
    bool IsOpen() const { return m_handle != nullptr; }
    const std::string& GetFilePath() const { return m_path; }

    // Reads up to count bytes; fewer only at the end of the file. Throws
    // FileException when the read itself fails.
    std::size_t Read(void* buffer, std::size_t count);
    // Moves to an offset from the start; throws FileException on failure.
    void Seek(std::uint64_t offset);
    // The file's length in bytes; throws FileException when it cannot be had.
    std::uint64_t GetLength() const;

private:
    void* m_handle = nullptr;
    std::string m_path;
};

// Whether the path names a drive and its root ("C:\...") or a server's share
// ("\\server\..."), so that no current folder takes part in finding it.
bool IsFullyQualifiedPath(std::string_view path);

// Whether a find-first-file search finds a file at exactly this path, given
// in UTF-8 (any name, whatever the ANSI code page holds).
bool FileExists(const std::string& utf8Path);

// Makes the folder (its parent must exist); true when it is a folder
// afterwards, whoever made it.
bool CreateFolder(const std::string& utf8Path);

// Appends the bytes to the file, made if missing, with one write at its end
// whatever other processes append meanwhile, so that their writes never
// interleave. The file is open only while this runs, shared meanwhile with
// other readers, writers and renamers. True when every byte was written.
bool AppendToFile(const std::string& utf8Path, std::string_view bytes);

// Renames the file to the target, replacing a file of that name, when it is
// longer than `bytes`. The file measured is the one renamed: of two processes
// racing, the second finds the new, short file and leaves it. False only when
// the file is longer and could not be renamed.
bool RenameFileIfLonger(const std::string& utf8Path, const std::string& utf8Target, std::uint64_t bytes);

}  // namespace platform
