#include "host/FileIo.h"

#include "host/RuntimeError.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#ifndef _WIN32
#include "host/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include "host/Win32.h"
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
    void Reset(int fd) {
        if (fd_ >= 0)
            CurrentFileSystem().Close(fd_);
        fd_ = fd;
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

// Writes all of `bytes`, through interruptions; 0, or -1 with errno set.
int WriteAll(FileSystem& files, int fd, std::string_view bytes) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = files.Write(fd, data, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    return 0;
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
    WIN32_FILE_ATTRIBUTE_DATA info{};
    if (!GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &info))
        return false;
    return !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
           (info.nFileSizeHigh != 0 || info.nFileSizeLow != 0);
#endif
}

std::filesystem::path NativePath(const std::string& path) {
#ifdef _WIN32
    return fs::path(Wide(path));
#else
    return fs::path(path);
#endif
}

std::string PathText(const std::filesystem::path& path) {
#ifdef _WIN32
    return Narrow(path.native());
#else
    return path.native();
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
    const bool same = fs::equivalent(NativePath(a), NativePath(b), ec);
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
    // The rename needs only the folder's permission: a file the user may not
    // write would be replaced without a word.
    if (exists && files.Access(target, W_OK) != 0)
        throw ErrorFromErrno(errno, target);

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

    if (WriteAll(files, fd.Get(), bytes) != 0)
        fail(errno);
    mode_t mode;
    if (exists) {
        // Before the mode: a change of owner clears the set-user and
        // set-group bits. An ordinary user cannot give a file away (EPERM);
        // the file is then the user's own, as any file the user writes anew.
        files.Chown(fd.Get(), existing.st_uid, existing.st_gid);
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

void AppendFileBytes(const std::string& path, std::string_view bytes) {
    if (path.empty())
        throw RuntimeError(Err::BadFileName);
    FileSystem& files = CurrentFileSystem();
    Fd fd(files.Open(path, O_WRONLY | O_APPEND | O_NONBLOCK));
    if (fd.Get() < 0)
        throw ErrorFromErrno(errno, path);
    struct stat st {};
    if (files.FStat(fd.Get(), st) != 0)
        throw ErrorFromErrno(errno, path);
    if (!S_ISREG(st.st_mode))
        throw RuntimeError(Err::BadFileMode);
    const off_t size = st.st_size;

    // Cuts the file back to its old length. A failed close has let the
    // descriptor go: the file is opened again for that.
    auto fail = [&](int err) {
        if (fd.Get() < 0)
            fd.Reset(files.Open(path, O_WRONLY | O_NONBLOCK));
        if (fd.Get() >= 0)
            files.Truncate(fd.Get(), size);
        throw ErrorFromErrno(err, path);
    };
    if (WriteAll(files, fd.Get(), bytes) != 0)
        fail(errno);
    if (files.Flush(fd.Get()) != 0)
        fail(errno);
    if (files.Close(fd.Release()) != 0)
        fail(errno);
}

#else

namespace {

class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool Ok() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return h_; }
    bool Close() {
        const bool ok = !Ok() || CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
        return ok;
    }
    void Reset(HANDLE h) {
        Close();
        h_ = h;
    }

private:
    HANDLE h_;
};

// Writes all of `bytes`; false, with the last error set, on a failure.
bool WriteAll(HANDLE file, std::string_view bytes) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(left, 1u << 20));
        DWORD n = 0;
        if (!WriteFile(file, data, chunk, &n, nullptr))
            return false;
        data += n;
        left -= n;
    }
    return true;
}

} // namespace

std::string ReadFileBytes(const std::string& path) {
    if (path.empty())
        throw RuntimeError(Err::BadFileName);
    const std::wstring name = Wide(path);
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw RuntimeError(Err::PathFileAccess);
    Handle file(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Ok())
        throw ErrorFromWin32(GetLastError(), path);
    if (GetFileType(file.Get()) != FILE_TYPE_DISK)
        throw RuntimeError(Err::BadFileMode); // a device or a pipe is no program file
    std::string bytes;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.Get(), &size))
        bytes.reserve(static_cast<std::size_t>(size.QuadPart));
    char buffer[65536];
    for (;;) {
        DWORD n = 0;
        if (!ReadFile(file.Get(), buffer, sizeof buffer, &n, nullptr))
            throw ErrorFromWin32(GetLastError(), path);
        if (n == 0)
            break;
        bytes.append(buffer, n);
    }
    return bytes;
}

void WriteFileSafely(const std::string& path, std::string_view bytes) {
    if (path.empty())
        throw RuntimeError(Err::BadFileName);
    const std::wstring target = Wide(path);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw RuntimeError(Err::PathFileAccess);
    // The replace needs only the folder's permission: a read-only file would
    // lose its content and its attribute without a word.
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY))
        throw RuntimeError(Err::PathFileAccess);

    // A new, uniquely named file in the target's folder.
    std::wstring folder = Wide(FolderPart(path));
    if (folder.empty())
        folder = L".";
    wchar_t temp[MAX_PATH + 16] = {};
    if (!GetTempFileNameW(folder.c_str(), L"nm", 0, temp))
        throw ErrorFromWin32(GetLastError(), path);
    Handle file(CreateFileW(temp, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    // The temporary file goes again on any failure (closed first, or it
    // could not be deleted).
    auto fail = [&](DWORD code) {
        file.Close();
        DeleteFileW(temp);
        throw ErrorFromWin32(code, path);
    };
    if (!file.Ok())
        fail(GetLastError());
    if (!WriteAll(file.Get(), bytes))
        fail(GetLastError());
    if (!FlushFileBuffers(file.Get()) || !file.Close())
        fail(GetLastError());
    // The new content keeps the file's attributes (hidden, system, archive)
    // and, through the replace, its access rights.
    if (exists)
        SetFileAttributesW(temp, attributes);
    const bool replaced = exists ? ReplaceFileW(target.c_str(), temp, nullptr,
                                                REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
                                 : MoveFileExW(temp, target.c_str(), MOVEFILE_WRITE_THROUGH);
    if (!replaced)
        fail(GetLastError());
}

void AppendFileBytes(const std::string& path, std::string_view bytes) {
    if (path.empty())
        throw RuntimeError(Err::BadFileName);
    const std::wstring name = Wide(path);
    // Windows refuses to write a read-only file; Wine run by the superuser
    // does not.
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        throw RuntimeError(Err::PathFileAccess);
    // Writing at a position, not only at the end: cutting a failed append off
    // needs it. Other writers wait until the new bytes are whole.
    const DWORD access = FILE_APPEND_DATA | FILE_WRITE_DATA;
    Handle file(CreateFileW(name.c_str(), access, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Ok())
        throw ErrorFromWin32(GetLastError(), path);
    if (GetFileType(file.Get()) != FILE_TYPE_DISK)
        throw RuntimeError(Err::BadFileMode);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) ||
        !SetFilePointerEx(file.Get(), size, nullptr, FILE_BEGIN))
        throw ErrorFromWin32(GetLastError(), path);

    // Cuts the file back to its old length (through a new handle when the
    // failure was the close).
    auto fail = [&](DWORD code) {
        if (!file.Ok())
            file.Reset(CreateFileW(name.c_str(), access, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.Ok() && SetFilePointerEx(file.Get(), size, nullptr, FILE_BEGIN))
            SetEndOfFile(file.Get());
        throw ErrorFromWin32(code, path);
    };
    if (!WriteAll(file.Get(), bytes))
        fail(GetLastError());
    if (!FlushFileBuffers(file.Get()))
        fail(GetLastError());
    if (!file.Close())
        fail(GetLastError());
}

#endif

} // namespace nm
