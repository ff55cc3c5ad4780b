#include "host/HostProfiles.h"

#include "host/HostKeys.h"
#include "host/Utf8.h"

namespace nm {

namespace {

const std::string VectromKey = "SOFTWARE\\Tessaron\\Vectrom";

bool SameName(const std::string& a, const std::string& b) {
    return LowerCase(a) == LowerCase(b);
}

// The sub-keys of a key, none when it cannot be opened.
std::vector<std::string> SubKeys(RegistryBackend& registry, RootKey root, const std::string& path,
                                 RegistryView view) {
    std::vector<std::string> names;
    KeyHandle key = 0;
    if (registry.OpenKey(root, path, key, view) != RegOk)
        return names;
    if (registry.SubKeyNames(key, names) != RegOk)
        names.clear();
    registry.CloseKey(key);
    return names;
}

std::string Text(const HostContext& host, const std::string& keyPath, const std::string& name,
                 RegistryView view = RegistryView::Native) {
    return RegistryText(
        zent_RegistryRead(host.registry, host.prompter, keyPath, name, std::string(), view));
}

std::vector<HostProfile> Profiles(const HostContext& host, const std::string& release,
                                  const std::string& product) {
    const std::string path = VectromKey + "\\" + release + "\\" + product + "\\Profiles";
    const std::string current = Text(host, "HKEY_CURRENT_USER\\" + path, "");
    std::vector<HostProfile> profiles;
    for (const std::string& name :
         SubKeys(host.registry, CurrentUser, path, RegistryView::Native)) {
        HostProfile& profile = profiles.emplace_back();
        profile.name = name;
        profile.current = SameName(name, current);
        profile.searchList =
            Text(host, "HKEY_CURRENT_USER\\" + path + "\\" + name + "\\General", "VTRM");
        profile.file = FindFileOnPath(host, HostPgpFileName, profile.searchList, &profile.searched);
    }
    return profiles;
}

} // namespace

std::vector<HostRelease> ListHostProfiles(const HostContext& host) {
    const std::string currentRelease = HostReleaseKey(host.registry, host.prompter);
    std::vector<RegistryView> views = {RegistryView::Native};
    if (host.registry.TwoViews())
        views = {RegistryView::Bits32, RegistryView::Bits64};
    std::vector<HostRelease> releases;
    for (const RegistryView view : views) {
        for (const std::string& name : SubKeys(host.registry, LocalMachine, VectromKey, view)) {
            bool listed = false;
            for (const HostRelease& release : releases)
                listed = listed || SameName(release.name, name);
            if (listed)
                continue;
            HostRelease& release = releases.emplace_back();
            release.name = name;
            release.view = view;
            release.current = SameName(name, currentRelease);
            const std::string currentProduct =
                ReadMachineText(host.registry, host.prompter,
                                "HKEY_LOCAL_MACHINE\\" + VectromKey + "\\" + name, "CurVer");
            for (const std::string& product :
                 SubKeys(host.registry, LocalMachine, VectromKey + "\\" + name, view))
                release.products.push_back(
                    {product, SameName(product, currentProduct), Profiles(host, name, product)});
        }
    }
    return releases;
}

} // namespace nm
