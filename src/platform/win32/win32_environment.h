#pragma once

#include "platform/environment.h"

namespace vantrel::win32 {

class Win32Environment : public Environment {
  public:
    bool Get(const std::string& name, std::string* value) const override;
    std::vector<std::string> Block() const override;
};

}  // namespace vantrel::win32
