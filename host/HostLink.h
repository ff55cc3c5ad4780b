// The running Vectrom host, asked to re-read its program-parameters file.
#pragma once

#include <memory>

namespace nm {

class HostLink {
public:
    virtual ~HostLink() = default;
    // Sets the host variable "RE-INIT" to 16 on the running host's active
    // document. Raises run-time error 429 when no running host can be reached,
    // or another run-time error when the host refuses the request.
    virtual void RequestReinit() = 0;
};

// The link of this platform: automation on Windows; on POSIX no host is ever
// reachable from a native process, so every request reports error 429.
std::unique_ptr<HostLink> MakeSystemHostLink();

} // namespace nm
