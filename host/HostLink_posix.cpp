#include "host/HostLink.h"

#include "host/RuntimeError.h"

namespace nm {

namespace {

class UnreachableHostLink final : public HostLink {
public:
    void RequestReinit() override { throw RuntimeError(Err::CannotCreateObject); }
};

} // namespace

std::unique_ptr<HostLink> MakeSystemHostLink() {
    // A native process cannot reach a host running under Wine.
    return std::make_unique<UnreachableHostLink>();
}

} // namespace nm
