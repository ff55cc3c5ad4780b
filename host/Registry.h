// Reading the host's settings from the registry: key paths, one value with a
// default that stands in for every failure, and the host's release, product
// and profile. The editor never writes to the registry.
#pragma once

#include "host/Prompter.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <variant>
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

// The three registry calls, with the platform's contract: a non-zero result is
// a failure; a query copies at most `size` bytes into `data`, reports the
// value's size and type, and fails with RegMoreData when the value does not
// fit. Text comes with its terminating NUL.
class RegistryBackend {
public:
    virtual ~RegistryBackend() = default;
    virtual long OpenKey(RootKey root, const std::string& subKey, KeyHandle& key) = 0;
    virtual long QueryValue(KeyHandle key, const std::string& name, std::uint32_t& type,
                            std::uint8_t* data, std::uint32_t& size) = 0;
    virtual long CloseKey(KeyHandle key) = 0;
    // Whether text values come in the system code page rather than UTF-8.
    virtual bool SystemCodePageText() const { return false; }
};

// Keys and values held in memory: the ground both the Wine prefix reader and
// the tests build on. Key paths and value names match without regard to case.
class StoredRegistry : public RegistryBackend {
public:
    struct Value {
        std::uint32_t type = RegSz;
        std::vector<std::uint8_t> data;
    };
    // A text value (stored with its NUL) and a 32-bit number.
    void SetText(RootKey root, const std::string& subKey, const std::string& name,
                 const std::string& text, std::uint32_t type = RegSz);
    void SetDword(RootKey root, const std::string& subKey, const std::string& name,
                  std::uint32_t number);
    void SetValue(RootKey root, const std::string& subKey, const std::string& name, Value value);

    long OpenKey(RootKey root, const std::string& subKey, KeyHandle& key) override;
    long QueryValue(KeyHandle key, const std::string& name, std::uint32_t& type, std::uint8_t* data,
                    std::uint32_t& size) override;
    long CloseKey(KeyHandle key) override;

    int OpenKeys() const { return static_cast<int>(open_.size()); }

protected:
    // Called before a key of `root` is looked up, to load what it needs.
    virtual void Prepare(RootKey) {}
    // Where a key of `root` is held: by default under that root itself.
    virtual std::vector<std::pair<RootKey, std::string>> Resolve(RootKey root,
                                                                 const std::string& subKey) {
        return {{root, subKey}};
    }
    using Values = std::map<std::string, Value>; // by lower-case name
    Values& KeyValues(RootKey root, const std::string& subKey);

private:
    static std::string Normalise(const std::string& subKey, bool& valid);
    std::map<std::pair<RootKey, std::string>, Values> keys_;
    std::map<KeyHandle, const Values*> open_;
    KeyHandle next_ = 1;
};

// The registry of a Wine prefix: HKEY_LOCAL_MACHINE is its system.reg,
// HKEY_CURRENT_USER its user.reg, HKEY_CLASSES_ROOT system.reg's
// Software\Classes and HKEY_CURRENT_CONFIG system.reg's
// System\CurrentControlSet\Hardware Profiles\Current. Missing or unreadable
// files are an empty registry.
class WineRegistry final : public StoredRegistry {
public:
    explicit WineRegistry(std::string prefix) : prefix_(std::move(prefix)) {}

protected:
    void Prepare(RootKey root) override;
    std::vector<std::pair<RootKey, std::string>> Resolve(RootKey root,
                                                         const std::string& subKey) override;

private:
    void Load(const std::string& file, RootKey root);
    std::string prefix_;
    bool systemLoaded_ = false;
    bool userLoaded_ = false;
};

// Parses a registry file in Wine's text format, calling `key` for each key
// header (the path with single backslashes) and `value` for each value.
void ParseWineRegistry(
    const std::string& text, const std::function<void(const std::string& key)>& key,
    const std::function<void(const std::string& name, StoredRegistry::Value)>& value);

// The Wine prefix the host runs in: $WINEPREFIX, or ~/.wine.
std::string WinePrefix();

// The registry of this system: the Win32 registry on Windows, the Wine
// prefix elsewhere.
std::unique_ptr<RegistryBackend> MakeSystemRegistry();

// A value: a number for REG_DWORD, text for every other type.
using RegistryValue = std::variant<std::int32_t, std::string>;
std::string RegistryText(const RegistryValue& value);

// Splits a key path into its root (through `root`) and sub-key path. An empty
// root name is reported in a message box and gives NoRoot; an unknown root
// name leaves `root` as it was.
std::string hkeyPathFormat(Prompter& prompter, const std::string& keyPath, RootKey& root);

// One value of one key, or `fallback` when anything fails.
RegistryValue zent_RegistryRead(RegistryBackend& registry, Prompter& prompter,
                                const std::string& keyPath, const std::string& valueName,
                                const RegistryValue& fallback = std::string());

std::string HostReleaseKey(RegistryBackend& registry, Prompter& prompter);
std::string HostProductKey(RegistryBackend& registry, Prompter& prompter);
std::string HostCurrentProfile(RegistryBackend& registry, Prompter& prompter);

} // namespace nm
