#include "host/MemoryRegistry.h"

#include "host/Utf8.h"

#include <cstring>

namespace nm {

std::string MemoryRegistry::Normalise(const std::string& subKey, bool& valid) {
    std::string path = subKey;
    while (!path.empty() && path.back() == '\\')
        path.pop_back();
    valid = path.find("\\\\") == std::string::npos && (path.empty() || path.front() != '\\');
    return LowerCase(path);
}

MemoryRegistry::Values& MemoryRegistry::KeyValues(RootKey root, const std::string& subKey) {
    bool valid = true;
    const std::string path = Normalise(subKey, valid);
    // Every key above a key exists too.
    for (std::size_t cut = path.find('\\'); cut != std::string::npos;
         cut = path.find('\\', cut + 1))
        keys_.try_emplace({root, path.substr(0, cut)});
    return keys_[{root, path}];
}

void MemoryRegistry::SetValue(RootKey root, const std::string& subKey, const std::string& name,
                              Value value) {
    KeyValues(root, subKey)[LowerCase(name)] = std::move(value);
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

long MemoryRegistry::OpenKey(RootKey root, const std::string& subKey, KeyHandle& key) {
    static const Values noValues;
    if (root != ClassesRoot && root != CurrentUser && root != LocalMachine && root != CurrentConfig)
        return 6; // an invalid handle
    Prepare(root);
    for (const auto& [where, path] : Resolve(root, subKey)) {
        bool valid = true;
        const std::string normal = Normalise(path, valid);
        if (!valid)
            return RegNotFound;
        const Values* values = nullptr;
        if (normal.empty()) {
            const auto found = keys_.find({where, normal});
            values = found == keys_.end() ? &noValues : &found->second;
        } else if (const auto found = keys_.find({where, normal}); found != keys_.end()) {
            values = &found->second;
        }
        if (values) {
            key = next_++;
            open_[key] = values;
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
    const auto found = open->second->find(LowerCase(name));
    if (found == open->second->end())
        return RegNotFound;
    const Value& value = found->second;
    type = value.type;
    const auto needed = static_cast<std::uint32_t>(value.data.size());
    if (data && needed > size) {
        size = needed;
        return RegMoreData;
    }
    if (data && needed > 0)
        std::memcpy(data, value.data.data(), needed);
    size = needed;
    return RegOk;
}

long MemoryRegistry::CloseKey(KeyHandle key) {
    return open_.erase(key) == 1 ? RegOk : 6;
}
} // namespace nm
