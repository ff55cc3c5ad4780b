// The registry seam: the three calls the editor makes to read the host's
// settings, with the platform's handles, value types and results. The editor
// never writes to the registry.
#pragma once

#include "host/FileSystem.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace nm {

// The predefined root keys, with their handle values.
using RootKey = std::uint32_t;
inline constexpr RootKey NoRoot = 0;
inline constexpr RootKey ClassesRoot = 0x80000000u;
inline constexpr RootKey CurrentUser = 0x80000001u;
inline constexpr RootKey LocalMachine = 0x80000002u;
inline constexpr RootKey CurrentConfig = 0x80000005u;

// Value types and results as the platform reports them.
inline constexpr std::uint32_t RegSz = 1;
inline constexpr std::uint32_t RegExpandSz = 2;
inline constexpr std::uint32_t RegBinary = 3;
inline constexpr std::uint32_t RegDword = 4;
inline constexpr std::uint32_t RegMultiSz = 7;
inline constexpr long RegOk = 0;
inline constexpr long RegNotFound = 2;
inline constexpr long RegMoreData = 234;

using KeyHandle = std::uintptr_t;

// Which view of the machine's keys an open looks in. The host is a 32-bit
// program: where the system also runs 64-bit programs (a 64-bit Windows, a
// 64-bit Wine prefix), its HKEY_LOCAL_MACHINE\Software keys are the 32-bit
// view's (Software\Wow6432Node). The current user's keys are one view.
enum class RegistryView { Native, Bits32, Bits64 };

// The three registry calls, with the platform's contract: a non-zero result is
// a failure; a query copies at most `size` bytes into `data`, reports the
// value's size and type, and fails with RegMoreData when the value does not
// fit. Text comes with its terminating NUL.
class RegistryBackend {
public:
    virtual ~RegistryBackend() = default;
    virtual long OpenKey(RootKey root, const std::string& subKey, KeyHandle& key,
                         RegistryView view) = 0;
    virtual long QueryValue(KeyHandle key, const std::string& name, std::uint32_t& type,
                            std::uint8_t* data, std::uint32_t& size) = 0;
    virtual long CloseKey(KeyHandle key) = 0;
    // The names of an open key's sub-keys and of its values, in the order the
    // system gives them, as UTF-8.
    virtual long SubKeyNames(KeyHandle key, std::vector<std::string>& names) = 0;
    virtual long ValueNames(KeyHandle key, std::vector<std::string>& names) = 0;
    // Whether the machine's keys have a 32-bit and a 64-bit view; with one
    // view every RegistryView opens the same keys.
    virtual bool TwoViews() = 0;
    // A text value (without its NUL) as UTF-8: the Win32 backend's calls give
    // text in the system code page.
    virtual std::string Utf8Text(std::string text) const { return text; }
};

// The registry of this system: the Win32 registry on Windows
// (Registry_win32.cpp), the Wine prefix's files, read through `files`,
// elsewhere (Registry_posix.cpp).
std::unique_ptr<RegistryBackend> MakeSystemRegistry(FileSystem& files);

} // namespace nm
