#include "host/FileSystem.h"

#include "host/Paths.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nm {

namespace {

std::error_code LastError() {
    return {errno, std::system_category()};
}

std::error_code Result(int result) {
    return result < 0 ? LastError() : std::error_code();
}

int Fd(FileSystem::Handle file) {
    return static_cast<int>(file);
}

void Describe(const struct stat& st, FileInfo& info) {
    info.folder = S_ISDIR(st.st_mode);
    info.regular = S_ISREG(st.st_mode);
    info.size = static_cast<std::uint64_t>(st.st_size);
    info.access = static_cast<std::uint32_t>(st.st_mode & 07777);
    info.owner = st.st_uid;
    info.group = st.st_gid;
}

} // namespace

std::error_code SystemFileSystem::Open(const std::string& path, OpenFor mode, Handle& file) {
    // Not blocking: a pipe or a device in the file's place is refused, not waited for.
    const int flags = mode == OpenFor::Read ? O_RDONLY : O_WRONLY | O_APPEND;
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC);
    file = fd < 0 ? NoHandle : fd;
    return Result(fd);
}

std::error_code SystemFileSystem::CreateTemp(const std::string& target, std::string& temp,
                                             Handle& file) {
    // Hidden beside the target, so that the rename stays on one file system.
    temp = FolderPart(target) + "." + FileNamePart(target) + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    file = fd < 0 ? NoHandle : fd;
    return Result(fd);
}

std::error_code SystemFileSystem::Read(Handle file, void* buffer, std::size_t size,
                                       std::size_t& done) {
    for (;;) {
        const ssize_t n = ::read(Fd(file), buffer, size);
        if (n >= 0 || errno != EINTR) {
            done = n < 0 ? 0 : static_cast<std::size_t>(n);
            return Result(static_cast<int>(n < 0 ? -1 : 0));
        }
    }
}

std::error_code SystemFileSystem::Write(Handle file, const void* data, std::size_t size,
                                        std::size_t& done) {
    for (;;) {
        const ssize_t n = ::write(Fd(file), data, size);
        if (n >= 0 || errno != EINTR) {
            done = n < 0 ? 0 : static_cast<std::size_t>(n);
            return Result(static_cast<int>(n < 0 ? -1 : 0));
        }
    }
}

std::error_code SystemFileSystem::Flush(Handle file) {
    return Result(::fsync(Fd(file)));
}

std::error_code SystemFileSystem::Close(Handle file) {
    return Result(::close(Fd(file)));
}

std::error_code SystemFileSystem::Truncate(Handle file, std::uint64_t size) {
    return Result(::ftruncate(Fd(file), static_cast<off_t>(size)));
}

std::error_code SystemFileSystem::Stat(const std::string& path, FileInfo& info) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return LastError();
    Describe(st, info);
    return {};
}

std::error_code SystemFileSystem::FStat(Handle file, FileInfo& info) {
    struct stat st {};
    if (::fstat(Fd(file), &st) != 0)
        return LastError();
    Describe(st, info);
    return {};
}

std::error_code SystemFileSystem::CheckWrite(const std::string& path) {
    return Result(::access(path.c_str(), W_OK));
}

std::error_code SystemFileSystem::SetOwner(Handle file, const FileInfo& like) {
    return Result(::fchown(Fd(file), like.owner, like.group));
}

std::error_code SystemFileSystem::SetAccess(Handle file, const std::string&, const FileInfo* like) {
    mode_t mode;
    if (like) {
        mode = like->access;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    return Result(::fchmod(Fd(file), mode));
}

std::error_code SystemFileSystem::Replace(const std::string& from, const std::string& to) {
    return Result(::rename(from.c_str(), to.c_str()));
}

std::error_code SystemFileSystem::Remove(const std::string& path) {
    return Result(::unlink(path.c_str()));
}

} // namespace nm
