// The system's file calls, one of which fails with a chosen errno: the disk
// that fills up, the share that turns read-only, the drive that goes away.
#pragma once

#include "host/FileSystem.h"

#include <cerrno>
#include <fcntl.h>
#include <set>
#include <string>

namespace nm::test {

enum class FsCall {
    Open,
    CreateTemp,
    Read,
    Write,
    Flush,
    Close,
    Chmod,
    Rename,
    Remove,
    Stat,
    Access,
    Chown
};

class FailingFileSystem final : public PosixFileSystem {
public:
    FsCall call = FsCall::Write;
    int error = ENOSPC;
    int skip = 0;     // how many calls of that kind go through first
    int failures = 1; // how many calls of that kind fail after those
    int failed = 0;

    int Open(const std::string& p, int f) override {
        if (Fail(FsCall::Open))
            return -1;
        const int fd = PosixFileSystem::Open(p, f);
        if (fd >= 0 && (f & O_ACCMODE) == O_RDONLY)
            readers_.insert(fd);
        return fd;
    }
    int CreateTemp(std::string& p) override {
        return Fail(FsCall::CreateTemp) ? -1 : PosixFileSystem::CreateTemp(p);
    }
    ssize_t Read(int fd, void* b, std::size_t n) override {
        return Fail(FsCall::Read) ? -1 : PosixFileSystem::Read(fd, b, n);
    }
    ssize_t Write(int fd, const void* d, std::size_t n) override {
        return Fail(FsCall::Write) ? -1 : PosixFileSystem::Write(fd, d, n);
    }
    int Flush(int fd) override { return Fail(FsCall::Flush) ? -1 : PosixFileSystem::Flush(fd); }
    int Close(int fd) override {
        // A close reports the writes that did not reach the disk; a file
        // opened for reading has none. A failed close still lets the
        // descriptor go, as the system's does.
        if (readers_.erase(fd) == 0 && Fail(FsCall::Close)) {
            PosixFileSystem::Close(fd);
            errno = error;
            return -1;
        }
        return PosixFileSystem::Close(fd);
    }
    int Chmod(int fd, mode_t m) override {
        return Fail(FsCall::Chmod) ? -1 : PosixFileSystem::Chmod(fd, m);
    }
    int Chown(int fd, uid_t u, gid_t g) override {
        return Fail(FsCall::Chown) ? -1 : PosixFileSystem::Chown(fd, u, g);
    }
    int Rename(const std::string& a, const std::string& b) override {
        return Fail(FsCall::Rename) ? -1 : PosixFileSystem::Rename(a, b);
    }
    int Remove(const std::string& p) override {
        return Fail(FsCall::Remove) ? -1 : PosixFileSystem::Remove(p);
    }
    int Stat(const std::string& p, struct stat& s) override {
        return Fail(FsCall::Stat) ? -1 : PosixFileSystem::Stat(p, s);
    }
    int Access(const std::string& p, int m) override {
        return Fail(FsCall::Access) ? -1 : PosixFileSystem::Access(p, m);
    }

private:
    std::set<int> readers_;

    bool Fail(FsCall kind) {
        if (kind != call || failed >= failures)
            return false;
        if (skip > 0) {
            --skip;
            return false;
        }
        ++failed;
        errno = error;
        return true;
    }
};

} // namespace nm::test
