// Keys and values held in memory: the ground both the Wine prefix reader and
// the tests build on. Key paths and value names match without regard to case
// and keep the case they were written in.
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
    // Gives the machine's keys a 32-bit view beside the 64-bit one.
    void SetTwoViews(bool two) { twoViews_ = two; }

    long OpenKey(RootKey root, const std::string& subKey, KeyHandle& key,
                 RegistryView view) override;
    long QueryValue(KeyHandle key, const std::string& name, std::uint32_t& type, std::uint8_t* data,
                    std::uint32_t& size) override;
    long CloseKey(KeyHandle key) override;
    long SubKeyNames(KeyHandle key, std::vector<std::string>& names) override;
    long ValueNames(KeyHandle key, std::vector<std::string>& names) override;
    bool TwoViews() override { return twoViews_; }

    int OpenKeys() const { return static_cast<int>(open_.size()); }

protected:
    // A key: its name as written and its values by lower-case name.
    struct Key {
        std::string name;
        std::map<std::string, std::pair<std::string, Value>> values;
    };
    // Called before a key of `root` is looked up, to load what it needs.
    virtual void Prepare(RootKey) {}
    // Where a key of `root` is held, in the order to look: under that root
    // itself, and in the 32-bit view first where there are two.
    virtual std::vector<std::pair<RootKey, std::string>>
    Resolve(RootKey root, const std::string& subKey, RegistryView view);
    // The bytes a query gives for a value: by default the stored ones.
    virtual std::vector<std::uint8_t> Bytes(const Value& value) const { return value.data; }
    // The key at a path, made (with every key above it) when missing.
    Key& KeyAt(RootKey root, const std::string& subKey);
    static void Put(Key& key, const std::string& name, Value value);

private:
    using Keys = std::map<std::pair<RootKey, std::string>, Key>; // by lower-case path
    static std::string Normalise(const std::string& subKey, bool& valid);
    Keys keys_;
    std::map<KeyHandle, Keys::const_iterator> open_;
    KeyHandle next_ = 1;
    bool twoViews_ = false;
};

} // namespace nm
