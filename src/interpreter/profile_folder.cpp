#include "interpreter/profile_folder.h"

#include "interpreter/interpreter.h"
#include "platform/paths.h"

namespace vantrel {

std::string ProfileFolder(const Interpreter& in) {
    const std::string appData(TrimSeparators(in.EnvGet("APPDATA")));
    return appData.empty() ? std::string() : JoinPath(appData, "Orvane\\Vantrel");
}

bool MakeProfileFolder(Interpreter& in) {
    const std::string appData(TrimSeparators(in.EnvGet("APPDATA")));
    if (appData.empty()) return false;
    // Making a folder that is there fails harmlessly.
    std::string err;
    in.Os().files.MakeFolder(JoinPath(appData, "Orvane"), &err);
    in.Os().files.MakeFolder(JoinPath(appData, "Orvane\\Vantrel"), &err);
    return true;
}

}  // namespace vantrel
