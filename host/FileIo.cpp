#include "FileIo.h"

#include "RuntimeError.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#ifndef _WIN32
#include "FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <cstdio>
#include <fstream>
#include "Win32.h"
#endif

namespace fs = std::filesystem;

namespace nm {

namespace {

#ifndef _WIN32

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0)
            CurrentFileSystem().Close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int Get() const { return fd_; }
    int Release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

// The file that a write to `path` must replace: through symbolic links, the
// final target (which need not exist yet).
std::string ResolveLinks(const std::string& path) {
    fs::path current(path);
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(current, ec)))
            return current.string();
        const fs::path target = fs::read_symlink(current, ec);
        if (ec)
            return current.string();
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    throw RuntimeError(Err::PathFileAccess);
}

#endif

} // namespace

bool FileExists(const std::string& path) {
    if (path.empty())
        return false;
#ifndef _WIN32
    struct stat info {};
    return CurrentFileSystem().Stat(path, info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0;
#else
    std::error_code ec;
    const auto status = fs::status(fs::path(path), ec);
    if (ec || !fs::is_regular_file(status))
        return false;
    const auto size = fs::file_size(fs::path(path), ec);
    return !ec && size > 0;
#endif
}

std::string FileNamePart(const std::string& path) {
#ifdef _WIN32
    const auto cut = path.find_last_of("\\/:");
#else
    const auto cut = path.find_last_of('/');
#endif
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string FolderPart(const std::string& path) {
    return path.substr(0, path.size() - FileNamePart(path).size());
}

bool SameFile(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty())
        return false;
    std::error_code ec;
    const bool same = fs::equivalent(fs::path(a), fs::path(b), ec);
    return !ec && same;
}

#ifndef _WIN32

std::string ReadFileBytes(const std::string& path) {
    if (path.empty())
        throw RuntimeError(Err::BadFileName);
    FileSystem& files = CurrentFileSystem();
    Fd fd(files.Open(path, O_RDONLY | O_NONBLOCK));
    if (fd.Get() < 0)
        throw ErrorFromErrno(errno, path);
    struct stat st {};
    if (files.FStat(fd.Get(), st) != 0)
        throw ErrorFromErrno(errno, path);
    if (S_ISDIR(st.st_mode))
        throw ErrorFromErrno(EISDIR, path);
    if (!S_ISREG(st.st_mode))
        throw RuntimeError(Err::BadFileMode); // a device or a pipe is no program file
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = files.Read(fd.Get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw ErrorFromErrno(errno, path);
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

void WriteFileSafely(const std::string& path, std::string_view bytes) {
    if (path.empty())
        throw RuntimeError(Err::BadFileName);
    FileSystem& files = CurrentFileSystem();
    const std::string target = ResolveLinks(path);
    struct stat existing {};
    const bool exists = files.Stat(target, existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        throw ErrorFromErrno(EISDIR, target);

    std::string folder = FolderPart(target);
    std::string temp = folder + "." + FileNamePart(target) + ".XXXXXX";
    Fd fd(files.CreateTemp(temp));
    if (fd.Get() < 0)
        throw ErrorFromErrno(errno, target);

    auto fail = [&](int err) {
        if (fd.Get() >= 0)
            files.Close(fd.Release());
        files.Remove(temp);
        throw ErrorFromErrno(err, target);
    };

    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = files.Write(fd.Get(), data, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    mode_t mode;
    if (exists) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (files.Chmod(fd.Get(), mode) != 0)
        fail(errno);
    if (files.Flush(fd.Get()) != 0)
        fail(errno);
    if (files.Close(fd.Release()) != 0)
        fail(errno);
    if (files.Rename(temp, target) != 0)
        fail(errno);
}

#else

std::string ReadFileBytes(const std::string& path) {
    if (path.empty())
        throw RuntimeError(Err::BadFileName);
    std::error_code ec;
    if (fs::is_directory(fs::path(path), ec))
        throw RuntimeError(Err::PathFileAccess);
    std::ifstream in(fs::path(path), std::ios::binary);
    if (!in)
        throw ErrorFromWin32(GetLastError(), path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFileSafely(const std::string& path, std::string_view bytes) {
    if (path.empty())
        throw RuntimeError(Err::BadFileName);
    const std::string temp = path + ".tmp~";
    {
        std::ofstream out(fs::path(temp), std::ios::binary | std::ios::trunc);
        if (!out)
            throw ErrorFromWin32(GetLastError(), path);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::remove(temp.c_str());
            throw RuntimeError(Err::DiskFull);
        }
    }
    if (!MoveFileExA(temp.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const auto code = GetLastError();
        std::remove(temp.c_str());
        throw ErrorFromWin32(code, path);
    }
}

#endif

} // namespace nm
