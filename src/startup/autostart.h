// AUTOSTART: starting the console at log-on through the machine-wide Run
// key of the registry.
#pragma once

#include <string>

namespace vantrel {

inline constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kRunValue[] = "Orvane Vantrel";

// The Run value's data: the executable's path in double quotes, its
// extension written as ".exe".
std::string AutostartCommandLine(const std::string& executablePath);

}  // namespace vantrel
