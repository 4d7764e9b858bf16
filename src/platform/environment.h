#pragma once

#include <string>
#include <vector>

namespace vantrel {

class Environment {
  public:
    virtual ~Environment() = default;
    // False when the variable does not exist.
    virtual bool Get(const std::string& name, std::string* value) const = 0;
    // Every entry of the process environment block as stored ("name=value"),
    // in the block's order.
    virtual std::vector<std::string> Block() const = 0;
};

}  // namespace vantrel
