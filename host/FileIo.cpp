#include "host/FileIo.h"

#include "host/Paths.h"
#include "host/RuntimeError.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace nm {

namespace {

// An open file that is closed on the way out, unless released first.
class OpenFile {
public:
    explicit OpenFile(FileSystem& files) : files_(files) {}
    ~OpenFile() {
        if (handle != FileSystem::NoHandle)
            files_.Close(handle);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    bool Ok() const { return handle != FileSystem::NoHandle; }
    // Closes the file; the handle is gone even when that fails.
    std::error_code Close() {
        const FileSystem::Handle closing = handle;
        handle = FileSystem::NoHandle;
        return files_.Close(closing);
    }

    FileSystem::Handle handle = FileSystem::NoHandle;

private:
    FileSystem& files_;
};

// The file that a write to `path` must replace: through symbolic links, the
// final target (which need not exist yet).
std::string ResolveLinks(const std::string& path) {
    fs::path current = NativePath(path);
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(current, ec)))
            return PathText(current);
        const fs::path target = fs::read_symlink(current, ec);
        if (ec)
            return PathText(current);
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    throw RuntimeError(Err::PathFileAccess);
}

std::error_code WriteAll(FileSystem& files, FileSystem::Handle file, std::string_view bytes) {
    while (!bytes.empty()) {
        std::size_t done = 0;
        if (const std::error_code error = files.Write(file, bytes.data(), bytes.size(), done))
            return error;
        bytes.remove_prefix(done);
    }
    return {};
}

} // namespace

bool FileExists(FileSystem& files, const std::string& path) {
    FileInfo info;
    return !path.empty() && !files.Stat(path, info) && info.regular && info.size > 0;
}

std::string ReadFileBytes(FileSystem& files, const std::string& path) {
    if (path.empty())
        throw RuntimeError(Err::BadFileName);
    OpenFile file(files);
    if (const std::error_code error = files.Open(path, OpenFor::Read, file.handle))
        throw ErrorFromSystem(error, path);
    FileInfo info;
    if (const std::error_code error = files.FStat(file.handle, info))
        throw ErrorFromSystem(error, path);
    if (info.folder)
        throw ErrorFromErrno(EISDIR, path);
    if (!info.regular)
        throw RuntimeError(Err::BadFileMode); // a device or a pipe is no program file
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(info.size));
    char buffer[65536];
    for (;;) {
        std::size_t done = 0;
        if (const std::error_code error = files.Read(file.handle, buffer, sizeof buffer, done))
            throw ErrorFromSystem(error, path);
        if (done == 0)
            return bytes;
        bytes.append(buffer, done);
    }
}

void WriteFileSafely(FileSystem& files, const std::string& path, std::string_view bytes) {
    if (path.empty())
        throw RuntimeError(Err::BadFileName);
    const std::string target = ResolveLinks(path);
    FileInfo existing;
    const bool exists = !files.Stat(target, existing);
    if (exists && existing.folder)
        throw ErrorFromErrno(EISDIR, target);
    // The replace needs only the folder's permission: a file the user may not
    // write would be replaced without a word.
    if (exists)
        if (const std::error_code error = files.CheckWrite(target))
            throw ErrorFromSystem(error, target);

    OpenFile file(files);
    std::string temp;
    if (const std::error_code error = files.CreateTemp(target, temp, file.handle))
        throw ErrorFromSystem(error, target);
    // The temporary file goes again on any failure, closed first.
    auto fail = [&](std::error_code error) {
        if (file.Ok())
            file.Close();
        files.Remove(temp);
        throw ErrorFromSystem(error, target);
    };
    if (const std::error_code error = WriteAll(files, file.handle, bytes))
        fail(error);
    // The owner before the access: a change of owner clears the set-user and
    // set-group bits. An ordinary user cannot give a file away; the file is
    // then the user's own, as any file the user writes anew.
    if (exists)
        files.SetOwner(file.handle, existing);
    if (const std::error_code error =
            files.SetAccess(file.handle, temp, exists ? &existing : nullptr))
        fail(error);
    if (const std::error_code error = files.Flush(file.handle))
        fail(error);
    if (const std::error_code error = file.Close())
        fail(error);
    if (const std::error_code error = files.Replace(temp, target))
        fail(error);
}

void AppendFileBytes(FileSystem& files, const std::string& path, std::string_view bytes) {
    if (path.empty())
        throw RuntimeError(Err::BadFileName);
    // Windows refuses to write a read-only file; Wine run by the superuser
    // would not.
    if (const std::error_code error = files.CheckWrite(path))
        throw ErrorFromSystem(error, path);
    OpenFile file(files);
    if (const std::error_code error = files.Open(path, OpenFor::Append, file.handle))
        throw ErrorFromSystem(error, path);
    FileInfo info;
    if (const std::error_code error = files.FStat(file.handle, info))
        throw ErrorFromSystem(error, path);
    if (!info.regular)
        throw RuntimeError(Err::BadFileMode);

    // Cuts the file back to its old length. A failed close has let the
    // handle go: the file is opened again for that.
    auto fail = [&](std::error_code error) {
        if (!file.Ok())
            files.Open(path, OpenFor::Append, file.handle);
        if (file.Ok())
            files.Truncate(file.handle, info.size);
        throw ErrorFromSystem(error, path);
    };
    if (const std::error_code error = WriteAll(files, file.handle, bytes))
        fail(error);
    if (const std::error_code error = files.Flush(file.handle))
        fail(error);
    if (const std::error_code error = file.Close())
        fail(error);
}

} // namespace nm
