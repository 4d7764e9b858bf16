#include "startup/autostart.h"

namespace vantrel {

std::string AutostartCommandLine(const std::string& executablePath) {
    size_t slash = executablePath.find_last_of("\\/");
    std::string folder = slash == std::string::npos ? "" : executablePath.substr(0, slash + 1);
    std::string name = executablePath.substr(folder.size());
    size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.resize(dot);
    return "\"" + folder + name + ".exe\"";
}

}  // namespace vantrel
