#pragma once

#include "platform/registry.h"

namespace vantrel::win32 {

// Values under HKEY_LOCAL_MACHINE, and subkeys of either part, through the
// ANSI registry calls.
class Win32Registry : public Registry {
  public:
    bool SetString(const std::string& key, const std::string& name, const std::string& value,
                   std::string* err) override;
    bool DeleteValue(const std::string& key, const std::string& name, std::string* err) override;
    std::string GetString(const std::string& key, const std::string& name) const override;
    std::vector<std::string> SubKeys(Root root, const std::string& key) const override;
};

}  // namespace vantrel::win32
