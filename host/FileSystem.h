// The calls the editor makes of the file system, behind one seam, so that a
// test can make any of them fail with the error a full disk, a read-only share
// or a lost network drive would give.
#pragma once

#ifndef _WIN32

#include <cstddef>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>

namespace nm {

// POSIX calls: a result of -1 with errno set is a failure.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual int Open(const std::string& path, int flags) = 0;
    // Creates a new file from a mkstemp pattern, which receives the name.
    virtual int CreateTemp(std::string& pattern) = 0;
    virtual ssize_t Read(int fd, void* buffer, std::size_t size) = 0;
    virtual ssize_t Write(int fd, const void* data, std::size_t size) = 0;
    virtual int Flush(int fd) = 0;
    virtual int Close(int fd) = 0;
    virtual int Chmod(int fd, mode_t mode) = 0;
    virtual int Chown(int fd, uid_t owner, gid_t group) = 0;
    virtual int Truncate(int fd, off_t size) = 0;
    virtual int Rename(const std::string& from, const std::string& to) = 0;
    virtual int Remove(const std::string& path) = 0;
    virtual int Stat(const std::string& path, struct stat& info) = 0;
    virtual int FStat(int fd, struct stat& info) = 0;
    // Whether the user may use the file as `mode` asks (W_OK: write it).
    virtual int Access(const std::string& path, int mode) = 0;
};

// The operating system's own calls.
class PosixFileSystem : public FileSystem {
public:
    int Open(const std::string& path, int flags) override;
    int CreateTemp(std::string& pattern) override;
    ssize_t Read(int fd, void* buffer, std::size_t size) override;
    ssize_t Write(int fd, const void* data, std::size_t size) override;
    int Flush(int fd) override;
    int Close(int fd) override;
    int Chmod(int fd, mode_t mode) override;
    int Chown(int fd, uid_t owner, gid_t group) override;
    int Truncate(int fd, off_t size) override;
    int Rename(const std::string& from, const std::string& to) override;
    int Remove(const std::string& path) override;
    int Stat(const std::string& path, struct stat& info) override;
    int FStat(int fd, struct stat& info) override;
    int Access(const std::string& path, int mode) override;
};

// The file system the file operations use: the system's, unless a test has
// put another in its place.
FileSystem& CurrentFileSystem();

class ScopedFileSystem {
public:
    explicit ScopedFileSystem(FileSystem& replacement);
    ~ScopedFileSystem();
    ScopedFileSystem(const ScopedFileSystem&) = delete;
    ScopedFileSystem& operator=(const ScopedFileSystem&) = delete;

private:
    FileSystem* previous_;
};

} // namespace nm

#endif
