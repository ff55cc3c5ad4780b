// The last step of a save: ask a running host to re-read its file, and tell
// the user whether the aliases are active now or at the host's next start.
#pragma once

#include "host/HostLink.h"
#include "host/Prompter.h"

namespace nm {

void NotifyHost(Prompter& prompter, HostLink& host, bool quiet);

} // namespace nm
