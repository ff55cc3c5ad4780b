// The calls the editor makes of the file system, behind one seam, so that a
// test can make any of them fail with the error a full disk, a read-only share
// or a lost network drive would give.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <system_error>

namespace nm {

// What the editor asks of a file. `access` is how the system keeps who may
// use it: the mode bits on POSIX, the attributes (read-only, hidden, ...) on
// Windows; a replaced file hands it on to its new content.
struct FileInfo {
    bool folder = false;
    bool regular = false; // an ordinary file: no folder, device or pipe
    std::uint64_t size = 0;
    std::uint32_t access = 0;
    std::uint32_t owner = 0; // POSIX only
    std::uint32_t group = 0;
};

enum class OpenFor { Read, Append };

// Every call returns the system's error (errno on POSIX, the last error on
// Windows), or no error when it succeeded.
class FileSystem {
public:
    // A descriptor on POSIX, a HANDLE on Windows.
    using Handle = std::intptr_t;
    static constexpr Handle NoHandle = -1;

    virtual ~FileSystem() = default;
    // An existing file; for Append, positioned at its end.
    virtual std::error_code Open(const std::string& path, OpenFor mode, Handle& file) = 0;
    // A new, uniquely named file in the folder of `target`; `temp` receives its name.
    virtual std::error_code CreateTemp(const std::string& target, std::string& temp,
                                       Handle& file) = 0;
    // At most `size` bytes; `done` of 0 is the end of the file.
    virtual std::error_code Read(Handle file, void* buffer, std::size_t size,
                                 std::size_t& done) = 0;
    virtual std::error_code Write(Handle file, const void* data, std::size_t size,
                                  std::size_t& done) = 0;
    // The written bytes on the disk.
    virtual std::error_code Flush(Handle file) = 0;
    // The handle is gone even when the close fails.
    virtual std::error_code Close(Handle file) = 0;
    // Cuts the file at `size`.
    virtual std::error_code Truncate(Handle file, std::uint64_t size) = 0;
    // Through symbolic links.
    virtual std::error_code Stat(const std::string& path, FileInfo& info) = 0;
    virtual std::error_code FStat(Handle file, FileInfo& info) = 0;
    // Whether the user may write the existing file `path`.
    virtual std::error_code CheckWrite(const std::string& path) = 0;
    // Gives the new file the owner and group of `like` (on Windows the
    // replace hands the access rights on).
    virtual std::error_code SetOwner(Handle file, const FileInfo& like) = 0;
    // Gives the new file `path` the access of `like`, or a new file's when
    // `like` is null.
    virtual std::error_code SetAccess(Handle file, const std::string& path,
                                      const FileInfo* like) = 0;
    // The file `from` takes the place of `to`, whether or not `to` exists.
    virtual std::error_code Replace(const std::string& from, const std::string& to) = 0;
    virtual std::error_code Remove(const std::string& path) = 0;
};

// The operating system's own calls (FileSystem_posix.cpp, FileSystem_win32.cpp).
class SystemFileSystem : public FileSystem {
public:
    std::error_code Open(const std::string& path, OpenFor mode, Handle& file) override;
    std::error_code CreateTemp(const std::string& target, std::string& temp, Handle& file) override;
    std::error_code Read(Handle file, void* buffer, std::size_t size, std::size_t& done) override;
    std::error_code Write(Handle file, const void* data, std::size_t size,
                          std::size_t& done) override;
    std::error_code Flush(Handle file) override;
    std::error_code Close(Handle file) override;
    std::error_code Truncate(Handle file, std::uint64_t size) override;
    std::error_code Stat(const std::string& path, FileInfo& info) override;
    std::error_code FStat(Handle file, FileInfo& info) override;
    std::error_code CheckWrite(const std::string& path) override;
    std::error_code SetOwner(Handle file, const FileInfo& like) override;
    std::error_code SetAccess(Handle file, const std::string& path, const FileInfo* like) override;
    std::error_code Replace(const std::string& from, const std::string& to) override;
    std::error_code Remove(const std::string& path) override;
};

} // namespace nm
