// Secrets sealed with the data protection API for the current user.
#pragma once

#include "platform/secrets.h"

namespace vantrel::win32 {

class Win32Secrets : public SecretProtection {
  public:
    bool Seal(const std::string& secret, std::string* sealed, std::string* err) override;
    bool Open(const std::string& sealed, std::string* secret, std::string* err) override;
};

}  // namespace vantrel::win32
