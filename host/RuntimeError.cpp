#include "host/RuntimeError.h"

#include <cerrno>
#include <filesystem>

namespace nm {

std::string ErrorDescription(std::int32_t number) {
    switch (number) {
    case 5:
        return "Invalid procedure call or argument";
    case 6:
        return "Overflow";
    case 7:
        return "Out of memory";
    case 9:
        return "Subscript out of range";
    case 13:
        return "Type mismatch";
    case 52:
        return "Bad file name or number";
    case 53:
        return "File not found";
    case 54:
        return "Bad file mode";
    case 55:
        return "File already open";
    case 57:
        return "Device I/O error";
    case 58:
        return "File already exists";
    case 61:
        return "Disk full";
    case 62:
        return "Input past end of file";
    case 64:
        return "Bad file name";
    case 67:
        return "Too many files";
    case 68:
        return "Device unavailable";
    case 70:
        return "Permission denied";
    case 71:
        return "Disk not ready";
    case 75:
        return "Path/File access error";
    case 76:
        return "Path not found";
    case 91:
        return "Object variable or With block variable not set";
    case 429:
        return "ActiveX component can't create object";
    case 438:
        return "Object doesn't support this property or method";
    case 32755:
        return "Cancel was selected.";
    default:
        return "Application-defined or object-defined error";
    }
}

RuntimeError::RuntimeError(std::int32_t number) : RuntimeError(number, ErrorDescription(number)) {}

RuntimeError::RuntimeError(std::int32_t number, std::string description)
    : std::runtime_error(description), number_(number), description_(std::move(description)) {}

namespace {

bool FolderMissing(const std::string& path) {
    if (path.empty())
        return false;
    std::error_code ec;
    const auto parent = std::filesystem::path(path).parent_path();
    if (parent.empty())
        return false;
    return !std::filesystem::is_directory(parent, ec);
}

} // namespace

RuntimeError ErrorFromErrno(int err, const std::string& path) {
    switch (err) {
    case ENOENT:
        return RuntimeError(FolderMissing(path) ? Err::PathNotFound : Err::FileNotFound);
    case ENOTDIR:
        return RuntimeError(Err::PathNotFound);
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
    case EBUSY:
    case EEXIST:
        return RuntimeError(Err::PathFileAccess);
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EFBIG:
        return RuntimeError(Err::DiskFull);
    case EIO:
        return RuntimeError(Err::DeviceIo);
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ:
        return RuntimeError(Err::BadFileName);
    case EMFILE:
    case ENFILE:
        return RuntimeError(Err::TooManyFiles);
    case ENXIO:
    case ENODEV:
        return RuntimeError(Err::DeviceUnavailable);
    case ENOMEM:
        return RuntimeError(Err::OutOfMemory);
    case EAGAIN:
        return RuntimeError(Err::DiskNotReady);
    default:
        return RuntimeError(Err::DeviceIo);
    }
}

} // namespace nm
