#include "host/FileSystem.h"

#ifndef _WIN32

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace nm {

namespace {

FileSystem*& Current() {
    static PosixFileSystem system;
    static FileSystem* current = &system;
    return current;
}

} // namespace

int PosixFileSystem::Open(const std::string& path, int flags) {
    return ::open(path.c_str(), flags | O_CLOEXEC);
}
int PosixFileSystem::CreateTemp(std::string& pattern) {
    return ::mkstemp(pattern.data());
}
ssize_t PosixFileSystem::Read(int fd, void* buffer, std::size_t size) {
    return ::read(fd, buffer, size);
}
ssize_t PosixFileSystem::Write(int fd, const void* data, std::size_t size) {
    return ::write(fd, data, size);
}
int PosixFileSystem::Flush(int fd) {
    return ::fsync(fd);
}
int PosixFileSystem::Close(int fd) {
    return ::close(fd);
}
int PosixFileSystem::Chmod(int fd, mode_t mode) {
    return ::fchmod(fd, mode);
}
int PosixFileSystem::Chown(int fd, uid_t owner, gid_t group) {
    return ::fchown(fd, owner, group);
}
int PosixFileSystem::Truncate(int fd, off_t size) {
    return ::ftruncate(fd, size);
}
int PosixFileSystem::Rename(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str());
}
int PosixFileSystem::Remove(const std::string& path) {
    return ::unlink(path.c_str());
}
int PosixFileSystem::Stat(const std::string& path, struct stat& info) {
    return ::stat(path.c_str(), &info);
}
int PosixFileSystem::FStat(int fd, struct stat& info) {
    return ::fstat(fd, &info);
}
int PosixFileSystem::Access(const std::string& path, int mode) {
    return ::access(path.c_str(), mode);
}

FileSystem& CurrentFileSystem() {
    return *Current();
}

ScopedFileSystem::ScopedFileSystem(FileSystem& replacement) : previous_(Current()) {
    Current() = &replacement;
}

ScopedFileSystem::~ScopedFileSystem() {
    Current() = previous_;
}

} // namespace nm

#endif
