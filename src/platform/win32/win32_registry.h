#pragma once

#include "platform/registry.h"

namespace vantrel::win32 {

// Values under HKEY_LOCAL_MACHINE through the ANSI registry calls.
class Win32Registry : public Registry {
  public:
    bool SetString(const std::string& key, const std::string& name, const std::string& value,
                   std::string* err) override;
    bool DeleteValue(const std::string& key, const std::string& name, std::string* err) override;
    std::string GetString(const std::string& key, const std::string& name) const override;
};

}  // namespace vantrel::win32
