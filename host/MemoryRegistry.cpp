#include "host/MemoryRegistry.h"

#include "host/Utf8.h"

#include <algorithm>
#include <cstring>

namespace nm {

std::string MemoryRegistry::Normalise(const std::string& subKey, bool& valid) {
    std::string path = subKey;
    while (!path.empty() && path.back() == '\\')
        path.pop_back();
    valid = path.find("\\\\") == std::string::npos && (path.empty() || path.front() != '\\');
    return LowerCase(path);
}

MemoryRegistry::Key& MemoryRegistry::KeyAt(RootKey root, const std::string& subKey) {
    std::string written = subKey;
    while (!written.empty() && written.back() == '\\')
        written.pop_back();
    // Every key above a key exists too.
    Key* key = &keys_[{root, std::string()}];
    std::string path;
    for (std::size_t cut = 0; !written.empty() && cut <= written.size();) {
        const std::size_t end = std::min(written.find('\\', cut), written.size());
        const std::string name = written.substr(cut, end - cut);
        path += (path.empty() ? "" : "\\") + LowerCase(name);
        key = &keys_[{root, path}];
        if (key->name.empty())
            key->name = name;
        cut = end + 1;
    }
    return *key;
}

void MemoryRegistry::Put(Key& key, const std::string& name, Value value) {
    key.values[LowerCase(name)] = {name, std::move(value)};
}

void MemoryRegistry::SetValue(RootKey root, const std::string& subKey, const std::string& name,
                              Value value) {
    Put(KeyAt(root, subKey), name, std::move(value));
}

void MemoryRegistry::SetText(RootKey root, const std::string& subKey, const std::string& name,
                             const std::string& text, std::uint32_t type) {
    Value value{type, std::vector<std::uint8_t>(text.begin(), text.end())};
    value.data.push_back(0);
    SetValue(root, subKey, name, std::move(value));
}

void MemoryRegistry::SetDword(RootKey root, const std::string& subKey, const std::string& name,
                              std::uint32_t number) {
    Value value{RegDword, std::vector<std::uint8_t>(4)};
    std::memcpy(value.data.data(), &number, 4);
    SetValue(root, subKey, name, std::move(value));
}

std::vector<std::pair<RootKey, std::string>>
MemoryRegistry::Resolve(RootKey root, const std::string& subKey, RegistryView view) {
    // Software\Classes is one key for both views; the rest of Software is
    // redirected for 32-bit programs.
    const std::string lower = LowerCase(subKey);
    const bool software = lower == "software" || lower.rfind("software\\", 0) == 0;
    if (twoViews_ && root == LocalMachine && view == RegistryView::Bits32 && software &&
        lower.rfind("software\\wow6432node", 0) != 0 && lower.rfind("software\\classes", 0) != 0)
        return {{root, subKey.substr(0, 8) + "\\Wow6432Node" + subKey.substr(8)}};
    return {{root, subKey}};
}

long MemoryRegistry::OpenKey(RootKey root, const std::string& subKey, KeyHandle& key,
                             RegistryView view) {
    if (root != ClassesRoot && root != CurrentUser && root != LocalMachine && root != CurrentConfig)
        return 6; // an invalid handle
    Prepare(root);
    for (const auto& [where, path] : Resolve(root, subKey, view)) {
        bool valid = true;
        const std::string normal = Normalise(path, valid);
        if (!valid)
            return RegNotFound;
        // A root itself is always there.
        const auto found =
            normal.empty() ? keys_.try_emplace({where, normal}).first : keys_.find({where, normal});
        if (found != keys_.end()) {
            key = next_++;
            open_[key] = found;
            return RegOk;
        }
    }
    return RegNotFound;
}

long MemoryRegistry::QueryValue(KeyHandle key, const std::string& name, std::uint32_t& type,
                                std::uint8_t* data, std::uint32_t& size) {
    const auto open = open_.find(key);
    if (open == open_.end())
        return 6;
    const auto& values = open->second->second.values;
    const auto found = values.find(LowerCase(name));
    if (found == values.end())
        return RegNotFound;
    const Value& value = found->second.second;
    const std::vector<std::uint8_t> bytes = Bytes(value);
    type = value.type;
    const auto needed = static_cast<std::uint32_t>(bytes.size());
    if (data && needed > size) {
        size = needed;
        return RegMoreData;
    }
    if (data && needed > 0)
        std::memcpy(data, bytes.data(), needed);
    size = needed;
    return RegOk;
}

long MemoryRegistry::CloseKey(KeyHandle key) {
    return open_.erase(key) == 1 ? RegOk : 6;
}

long MemoryRegistry::SubKeyNames(KeyHandle key, std::vector<std::string>& names) {
    const auto open = open_.find(key);
    if (open == open_.end())
        return 6;
    const auto& [root, path] = open->second->first;
    const std::string above = path.empty() ? path : path + "\\";
    names.clear();
    for (auto it = keys_.upper_bound({root, above}); it != keys_.end(); ++it) {
        const auto& [itRoot, itPath] = it->first;
        if (itRoot != root || itPath.compare(0, above.size(), above) != 0)
            break;
        if (itPath.find('\\', above.size()) == std::string::npos)
            names.push_back(it->second.name);
    }
    return RegOk;
}

long MemoryRegistry::ValueNames(KeyHandle key, std::vector<std::string>& names) {
    const auto open = open_.find(key);
    if (open == open_.end())
        return 6;
    names.clear();
    for (const auto& [lower, value] : open->second->second.values)
        names.push_back(value.first);
    return RegOk;
}

} // namespace nm
