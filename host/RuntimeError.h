// Run-time errors with the classic BASIC numbers that every part of the editor
// reports and reacts to, and the one table that maps system error codes to them.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <system_error>

namespace nm {

namespace Err {
inline constexpr std::int32_t InvalidCall = 5;
inline constexpr std::int32_t Overflow = 6;
inline constexpr std::int32_t OutOfMemory = 7;
inline constexpr std::int32_t Subscript = 9;
inline constexpr std::int32_t TypeMismatch = 13;
inline constexpr std::int32_t BadFileNameOrNumber = 52;
inline constexpr std::int32_t FileNotFound = 53;
inline constexpr std::int32_t BadFileMode = 54;
inline constexpr std::int32_t FileAlreadyOpen = 55;
inline constexpr std::int32_t DeviceIo = 57;
inline constexpr std::int32_t FileExists = 58;
inline constexpr std::int32_t DiskFull = 61;
inline constexpr std::int32_t InputPastEnd = 62;
inline constexpr std::int32_t BadFileName = 64;
inline constexpr std::int32_t TooManyFiles = 67;
inline constexpr std::int32_t DeviceUnavailable = 68;
inline constexpr std::int32_t PermissionDenied = 70;
inline constexpr std::int32_t DiskNotReady = 71;
inline constexpr std::int32_t PathFileAccess = 75;
inline constexpr std::int32_t PathNotFound = 76;
inline constexpr std::int32_t ObjectNotSet = 91;
inline constexpr std::int32_t CannotCreateObject = 429;
inline constexpr std::int32_t NoSuchMember = 438;
inline constexpr std::int32_t DialogCancelled = 32755;
} // namespace Err

// The standard description of a run-time error number ("Disk full", ...).
std::string ErrorDescription(std::int32_t number);

class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(std::int32_t number);
    RuntimeError(std::int32_t number, std::string description);

    std::int32_t Number() const { return number_; }
    const std::string& Description() const { return description_; }

private:
    std::int32_t number_;
    std::string description_;
};

// The run-time error for a failed system call on `path`. ENOENT becomes 53,
// or 76 when the folder that should hold `path` is itself missing.
RuntimeError ErrorFromErrno(int err, const std::string& path = {});

// The run-time error for an error of the file system seam: an errno value, or
// on Windows a Win32 error code (GetLastError).
RuntimeError ErrorFromSystem(std::error_code error, const std::string& path = {});

#ifdef _WIN32
// The run-time error for a Win32 error code (GetLastError).
RuntimeError ErrorFromWin32(unsigned long code, const std::string& path = {});
#endif

// Raised when the editor must end at once ("内部错误. 中止." was shown).
struct ProgramEnd {
    int exitCode = 1;
};

} // namespace nm
