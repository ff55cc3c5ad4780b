// Reading the host's settings from the registry: key paths, one value with a
// default that stands in for every failure, and the host's release, product
// and profile.
#pragma once

#include "host/Prompter.h"
#include "host/RegistryBackend.h"

#include <cstdint>
#include <string>
#include <variant>

namespace nm {

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
