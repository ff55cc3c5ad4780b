#include "host/RuntimeError.h"

#include "host/Win32.h"

namespace nm {

RuntimeError ErrorFromWin32(unsigned long code, const std::string& path) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
        return RuntimeError(Err::FileNotFound);
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DIRECTORY: // a folder of the path is missing
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return RuntimeError(Err::PathNotFound);
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2:
        return RuntimeError(Err::PathFileAccess);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return RuntimeError(Err::DiskFull);
    case ERROR_NOT_READY:
        return RuntimeError(Err::DiskNotReady);
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE:
        return RuntimeError(Err::BadFileName);
    case ERROR_TOO_MANY_OPEN_FILES:
        return RuntimeError(Err::TooManyFiles);
    case ERROR_INVALID_DRIVE:
    case ERROR_DEV_NOT_EXIST:
        return RuntimeError(Err::DeviceUnavailable);
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return RuntimeError(Err::OutOfMemory);
    default:
        (void)path;
        return RuntimeError(Err::DeviceIo);
    }
}

RuntimeError ErrorFromSystem(std::error_code error, const std::string& path) {
    if (error.category() == std::generic_category())
        return ErrorFromErrno(error.value(), path);
    return ErrorFromWin32(static_cast<unsigned long>(error.value()), path);
}

} // namespace nm
