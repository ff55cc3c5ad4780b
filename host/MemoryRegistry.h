// Keys and values held in memory: the ground both the Wine prefix reader and
// the tests build on. Key paths and value names match without regard to case.
#pragma once

#include "host/RegistryBackend.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace nm {

class MemoryRegistry : public RegistryBackend {
public:
    struct Value {
        std::uint32_t type = RegSz;
        std::vector<std::uint8_t> data;
    };
    // A text value (stored with its NUL) and a 32-bit number.
    void SetText(RootKey root, const std::string& subKey, const std::string& name,
                 const std::string& text, std::uint32_t type = RegSz);
    void SetDword(RootKey root, const std::string& subKey, const std::string& name,
                  std::uint32_t number);
    void SetValue(RootKey root, const std::string& subKey, const std::string& name, Value value);

    long OpenKey(RootKey root, const std::string& subKey, KeyHandle& key) override;
    long QueryValue(KeyHandle key, const std::string& name, std::uint32_t& type, std::uint8_t* data,
                    std::uint32_t& size) override;
    long CloseKey(KeyHandle key) override;

    int OpenKeys() const { return static_cast<int>(open_.size()); }

protected:
    // Called before a key of `root` is looked up, to load what it needs.
    virtual void Prepare(RootKey) {}
    // Where a key of `root` is held: by default under that root itself.
    virtual std::vector<std::pair<RootKey, std::string>> Resolve(RootKey root,
                                                                 const std::string& subKey) {
        return {{root, subKey}};
    }
    using Values = std::map<std::string, Value>; // by lower-case name
    Values& KeyValues(RootKey root, const std::string& subKey);

private:
    static std::string Normalise(const std::string& subKey, bool& valid);
    std::map<std::pair<RootKey, std::string>, Values> keys_;
    std::map<KeyHandle, const Values*> open_;
    KeyHandle next_ = 1;
};

} // namespace nm
