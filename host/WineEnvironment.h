// The variables a process of the host starts with inside a Wine prefix.
// The editor runs as a Linux process beside the host, so the host's
// search-list references must expand to Wine's values, not the editor's.
#pragma once

#include "host/Environment.h"
#include "host/RegistryBackend.h"

namespace nm {

// Built as Wine builds a process's environment: the Linux environment
// without the names Wine keeps for itself (PATH, TEMP, TMP, HOME, PWD:
// WINEPATH and the like stand for them), then the machine's environment key,
// the user's profile folders (the volatile environment key), the user's
// environment key (PATH is appended to, not replaced), the shared folders
// and, for the 32-bit host in a 64-bit prefix, the 32-bit program folders.
Variables WineVariables(RegistryBackend& registry, const Variables& linuxEnvironment);

} // namespace nm
