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

// One value of one key, in the given view of the machine's keys, or
// `fallback` when anything fails.
RegistryValue zent_RegistryRead(RegistryBackend& registry, Prompter& prompter,
                                const std::string& keyPath, const std::string& valueName,
                                const RegistryValue& fallback = std::string(),
                                RegistryView view = RegistryView::Native);

// A text of the host's machine keys as the 32-bit host reads them: from the
// 32-bit view, else from the 64-bit one; `answered` tells which view gave it
// (Native where the machine's keys have one view, or nothing was found).
std::string ReadMachineText(RegistryBackend& registry, Prompter& prompter,
                            const std::string& keyPath, const std::string& valueName,
                            RegistryView* answered = nullptr);

// The host's machine keys are read as the 32-bit host sees them: in the
// 32-bit view first, then in the 64-bit one. `view` tells which view gave
// the release (Native where the machine's keys have one view).
std::string HostReleaseKey(RegistryBackend& registry, Prompter& prompter,
                           RegistryView* view = nullptr);
std::string HostProductKey(RegistryBackend& registry, Prompter& prompter);
std::string HostCurrentProfile(RegistryBackend& registry, Prompter& prompter);

// A view as a user reads it: "32-bit (Wow6432Node)", "64-bit" or "one view".
std::string ViewName(RegistryView view);

} // namespace nm
