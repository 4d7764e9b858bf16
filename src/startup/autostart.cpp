#include "startup/autostart.h"

#include "platform/paths.h"

namespace vantrel {

std::string AutostartCommandLine(const std::string& executablePath) {
    const std::string folder(FolderOf(executablePath));
    std::string name(NameOf(executablePath));
    size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.resize(dot);
    return "\"" + folder + name + ".exe\"";
}

}  // namespace vantrel
