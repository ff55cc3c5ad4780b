// Every installed release and product of the host, and every profile of the
// current user with the program-parameters file its search list leads to:
// what a CAD manager checks before moving to a new release.
#pragma once

#include "host/Locator.h"
#include "host/RegistryBackend.h"

#include <string>
#include <vector>

namespace nm {

struct HostProfile {
    std::string name;
    bool current = false; // the product's current profile
    std::string searchList;
    std::vector<std::string> searched; // the folders looked in, in order
    std::string file;                  // the host's file, "" when none was found
};

struct HostProduct {
    std::string name;
    bool current = false; // the release's current product
    std::vector<HostProfile> profiles;
};

struct HostRelease {
    std::string name;
    RegistryView view = RegistryView::Native; // the view it is listed from
    bool current = false;                     // the release the host starts
    std::vector<HostProduct> products;
};

// The releases of the host's machine keys, each view's in the order the
// system gives them, the 32-bit view's first (a release in both views is
// listed once, from the 32-bit view), with their products and the current
// user's profiles. Current marks follow the host's own choice, as
// FindHostPgpFile makes it.
std::vector<HostRelease> ListHostProfiles(const HostContext& host);

} // namespace nm
