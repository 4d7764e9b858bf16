// Secrets at rest, kept as the system keeps a user's own (on Windows, the
// data protection API): the sealed bytes open only for the same user on the
// same computer, and never hold the secret in clear.
#pragma once

#include <string>

namespace vantrel {

class SecretProtection {
  public:
    virtual ~SecretProtection() = default;
    // False, with a line saying why, when the system cannot seal or open.
    virtual bool Seal(const std::string& secret, std::string* sealed, std::string* err) = 0;
    virtual bool Open(const std::string& sealed, std::string* secret, std::string* err) = 0;
};

}  // namespace vantrel
