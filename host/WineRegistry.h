// The registry of a Wine prefix, read from its text files: the host runs
// under Wine on POSIX systems and keeps its settings there.
#pragma once

#include "host/MemoryRegistry.h"

#include <functional>
#include <string>

namespace nm {

// HKEY_LOCAL_MACHINE is the prefix's system.reg, HKEY_CURRENT_USER its
// user.reg, HKEY_CLASSES_ROOT system.reg's Software\Classes and
// HKEY_CURRENT_CONFIG system.reg's
// System\CurrentControlSet\Hardware Profiles\Current. Missing or unreadable
// files are an empty registry. A 64-bit prefix has the 32-bit view of the
// machine's keys under Software\Wow6432Node. Text comes, as to the host's
// ANSI calls, in the prefix's ANSI code page, so that it is counted in the
// host's bytes.
class WineRegistry final : public MemoryRegistry {
public:
    WineRegistry(FileSystem& files, std::string prefix)
        : files_(files), prefix_(std::move(prefix)) {}

    bool TwoViews() override;
    std::string Utf8Text(std::string text) const override;

protected:
    void Prepare(RootKey root) override;
    std::vector<std::pair<RootKey, std::string>> Resolve(RootKey root, const std::string& subKey,
                                                         RegistryView view) override;
    std::vector<std::uint8_t> Bytes(const Value& value) const override;

private:
    void Load(const std::string& file, RootKey root);
    FileSystem& files_;
    std::string prefix_;
    std::string charset_; // the ANSI code page; "" for UTF-8
    bool systemLoaded_ = false;
    bool userLoaded_ = false;
};

// Parses a registry file in Wine's text format, calling `key` for each key
// header (the path with single backslashes) and `value` for each value.
void ParseWineRegistry(
    const std::string& text, const std::function<void(const std::string& key)>& key,
    const std::function<void(const std::string& name, MemoryRegistry::Value)>& value);

// The Wine prefix the host runs in: $WINEPREFIX, or ~/.wine.
std::string WinePrefix();

} // namespace nm
