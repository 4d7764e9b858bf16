// String values under HKEY_LOCAL_MACHINE, and the names of the subkeys of a
// key of either machine-wide or per-user part. Keys are opened, never
// created.
#pragma once

#include <string>
#include <vector>

namespace vantrel {

class Registry {
  public:
    virtual ~Registry() = default;

    // Writes a string value. False, with the platform's description, when
    // the system refuses (a missing key, no right to change it).
    virtual bool SetString(const std::string& key, const std::string& name,
                           const std::string& value, std::string* err) = 0;
    // True when the value is gone afterwards, also when it was never there.
    virtual bool DeleteValue(const std::string& key, const std::string& name, std::string* err) = 0;
    // "" when the value is missing or cannot be read. A number reads as its
    // decimal text.
    virtual std::string GetString(const std::string& key, const std::string& name) const = 0;

    enum class Root { kLocalMachine, kCurrentUser };
    // The names of the key's subkeys in the registry's order; none when the
    // key is missing or cannot be read.
    virtual std::vector<std::string> SubKeys(Root root, const std::string& key) const = 0;
};

}  // namespace vantrel
