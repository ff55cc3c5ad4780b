// The registry on Windows: the system's own, through its ANSI calls.
#include "host/RegistryBackend.h"

#include "host/Win32.h"

namespace nm {

namespace {

// The ANSI functions take and give text in the system code page; key and
// value names arrive here as UTF-8.
std::string Ansi(const std::string& text) {
    return Narrow(Wide(text), CP_ACP);
}

// The predefined key of a root: the 32-bit number sign-extended, as the
// system's headers define it.
HKEY RootHandle(RootKey root) {
    return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(root)));
}

class Win32Registry final : public RegistryBackend {
public:
    long OpenKey(RootKey root, const std::string& subKey, KeyHandle& key) override {
        HKEY opened = nullptr;
        const long rc =
            RegOpenKeyExA(RootHandle(root), Ansi(subKey).c_str(), 0, KEY_QUERY_VALUE, &opened);
        key = reinterpret_cast<KeyHandle>(opened);
        return rc;
    }
    long QueryValue(KeyHandle key, const std::string& name, std::uint32_t& type, std::uint8_t* data,
                    std::uint32_t& size) override {
        DWORD t = 0;
        DWORD n = size;
        const long rc = RegQueryValueExA(reinterpret_cast<HKEY>(key), Ansi(name).c_str(), nullptr,
                                         &t, data, &n);
        type = t;
        size = n;
        return rc;
    }
    long CloseKey(KeyHandle key) override { return RegCloseKey(reinterpret_cast<HKEY>(key)); }
    std::string Utf8Text(std::string text) const override { return AnsiToUtf8(text); }
};

} // namespace

std::unique_ptr<RegistryBackend> MakeSystemRegistry(FileSystem&) {
    return std::make_unique<Win32Registry>();
}

} // namespace nm
