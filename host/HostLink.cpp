#include "HostLink.h"

#include "RuntimeError.h"

namespace nm {

namespace {

class UnreachableHostLink final : public HostLink {
public:
    void RequestReinit() override { throw RuntimeError(Err::CannotCreateObject); }
};

} // namespace

std::unique_ptr<HostLink> MakeSystemHostLink() {
    // The automation backend for Windows comes with the Windows build; until
    // then every platform reports that no host can be reached.
    return std::make_unique<UnreachableHostLink>();
}

} // namespace nm
