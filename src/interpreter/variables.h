// The console's named variables: values live in the script engine, and the
// names assigned through SetVar are listed, sorted without regard to case,
// for SET to show.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "script/engine.h"

namespace vantrel {

class Variables {
  public:
    explicit Variables(script::Engine& engine) : engine_(engine) {}

    // Assigns a string value and lists the name; an empty value unlists it.
    // False when the engine refuses the name or the value.
    bool SetVar(const std::string& name, const std::string& value);

    // The listed names, sorted case-insensitively, each in the spelling of
    // its first assignment.
    const std::vector<std::string>& VarNames() const { return names_; }

  private:
    void Unlist(const std::string& name);

    script::Engine& engine_;
    std::vector<std::string> names_;
};

// Whether text is a name SetVar accepts before the engine is asked: a letter
// followed by letters, digits and underscores.
bool IsVariableName(std::string_view text);

// Percent-encodes text for a URL: letters and digits stay, spaces become
// "+", every other byte becomes "%" and two hexadecimal digits.
std::string UrlHex(std::string_view text);

}  // namespace vantrel
