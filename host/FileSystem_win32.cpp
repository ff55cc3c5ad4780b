#include "host/FileSystem.h"

#include "host/Paths.h"
#include "host/Win32.h"

#include <algorithm>

namespace nm {

namespace {

std::error_code LastError() {
    return {static_cast<int>(GetLastError()), std::system_category()};
}

std::error_code Result(BOOL ok) {
    return ok ? std::error_code() : LastError();
}

HANDLE H(FileSystem::Handle file) {
    return reinterpret_cast<HANDLE>(file);
}

FileSystem::Handle Opened(HANDLE h) {
    return h == INVALID_HANDLE_VALUE ? FileSystem::NoHandle
                                     : reinterpret_cast<FileSystem::Handle>(h);
}

// Writing at a position, not only at the end: cutting a failed append off
// needs it. Other writers wait until the new bytes are whole.
constexpr DWORD AppendAccess = FILE_APPEND_DATA | FILE_WRITE_DATA;

} // namespace

std::error_code SystemFileSystem::Open(const std::string& path, OpenFor mode, Handle& file) {
    const bool read = mode == OpenFor::Read;
    file = Opened(CreateFileW(Wide(path).c_str(), read ? GENERIC_READ : AppendAccess,
                              read ? FILE_SHARE_READ | FILE_SHARE_WRITE : FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file == NoHandle)
        return LastError();
    LARGE_INTEGER size{};
    if (!read &&
        (!GetFileSizeEx(H(file), &size) || !SetFilePointerEx(H(file), size, nullptr, FILE_BEGIN))) {
        const std::error_code error = LastError();
        CloseHandle(H(file));
        file = NoHandle;
        return error;
    }
    return {};
}

std::error_code SystemFileSystem::CreateTemp(const std::string& target, std::string& temp,
                                             Handle& file) {
    file = NoHandle;
    std::wstring folder = Wide(FolderPart(target));
    if (folder.empty())
        folder = L".";
    wchar_t name[MAX_PATH + 16] = {};
    if (!GetTempFileNameW(folder.c_str(), L"nm", 0, name))
        return LastError();
    temp = Narrow(name);
    file = Opened(CreateFileW(name, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file != NoHandle)
        return {};
    const std::error_code error = LastError();
    DeleteFileW(name);
    return error;
}

std::error_code SystemFileSystem::Read(Handle file, void* buffer, std::size_t size,
                                       std::size_t& done) {
    DWORD n = 0;
    const BOOL ok = ReadFile(
        H(file), buffer, static_cast<DWORD>(std::min<std::size_t>(size, 1u << 20)), &n, nullptr);
    done = ok ? n : 0;
    return Result(ok);
}

std::error_code SystemFileSystem::Write(Handle file, const void* data, std::size_t size,
                                        std::size_t& done) {
    DWORD n = 0;
    const BOOL ok = WriteFile(
        H(file), data, static_cast<DWORD>(std::min<std::size_t>(size, 1u << 20)), &n, nullptr);
    done = ok ? n : 0;
    return Result(ok);
}

std::error_code SystemFileSystem::Flush(Handle file) {
    return Result(FlushFileBuffers(H(file)));
}

std::error_code SystemFileSystem::Close(Handle file) {
    return Result(CloseHandle(H(file)));
}

std::error_code SystemFileSystem::Truncate(Handle file, std::uint64_t size) {
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(size);
    return Result(SetFilePointerEx(H(file), at, nullptr, FILE_BEGIN) && SetEndOfFile(H(file)));
}

std::error_code SystemFileSystem::Stat(const std::string& path, FileInfo& info) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data))
        return LastError();
    info.folder = data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
    info.regular = !info.folder;
    info.size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    info.access = data.dwFileAttributes;
    return {};
}

std::error_code SystemFileSystem::FStat(Handle file, FileInfo& info) {
    BY_HANDLE_FILE_INFORMATION data{};
    if (!GetFileInformationByHandle(H(file), &data))
        return LastError();
    info.folder = data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
    // A device or a pipe is no disk file.
    info.regular = !info.folder && GetFileType(H(file)) == FILE_TYPE_DISK;
    info.size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    info.access = data.dwFileAttributes;
    return {};
}

std::error_code SystemFileSystem::CheckWrite(const std::string& path) {
    // Windows refuses to write a read-only file, but a replace needs only the
    // folder's permission; and Wine run by the superuser writes it anyway.
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return LastError();
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return {ERROR_ACCESS_DENIED, std::system_category()};
    return {};
}

std::error_code SystemFileSystem::SetOwner(Handle, const FileInfo&) {
    return {}; // the replace hands the access rights on
}

std::error_code SystemFileSystem::SetAccess(Handle, const std::string& path, const FileInfo* like) {
    // Hidden, system, archive: the new content keeps the file's attributes.
    return like ? Result(SetFileAttributesW(Wide(path).c_str(), like->access)) : std::error_code();
}

std::error_code SystemFileSystem::Replace(const std::string& from, const std::string& to) {
    const std::wstring source = Wide(from);
    const std::wstring target = Wide(to);
    if (GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES)
        return Result(MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH));
    return Result(ReplaceFileW(target.c_str(), source.c_str(), nullptr,
                               REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr));
}

std::error_code SystemFileSystem::Remove(const std::string& path) {
    return Result(DeleteFileW(Wide(path).c_str()));
}

} // namespace nm
