#include "startup/defaults.h"

#include "interpreter/interpreter.h"
#include "interpreter/settings.h"

namespace vantrel {

std::string AllUsersFolder(const Interpreter& in) {
    std::string folder = in.EnvGet("ALLUSERSPROFILE");
    if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    return folder;
}

std::string DataFolderPath(const Interpreter& in) {
    return AllUsersFolder(in) + "\\Orvane\\Vantrel";
}

void AssignDefaults(Interpreter& in, int screenWidth) {
    const std::string allUsers = AllUsersFolder(in);
    in.SetVar(settings::kCurDir, in.Os().files.CurrentDirectory());
    in.SetVar(settings::kShortcutFolder, allUsers + "\\Orvane\\Vantrel\\Shortcuts");
    in.SetVar(settings::kDesktopUser, in.EnvGet("USERPROFILE") + "\\Desktop");
    in.SetVar(settings::kDesktopPublic, in.EnvGet("PUBLIC") + "\\Desktop");
    if (in.SettingText(settings::kDesktopPublic) == "\\Desktop") {
        in.SetVar(settings::kDesktopPublic, allUsers + "\\Desktop");
    }
    for (const settings::Default& d : settings::kColourDefaults) in.SetVar(d.name, d.value);
    in.SetVar(settings::kWinWidth, std::to_string(screenWidth));
    // The defaults are UTF-8; a process of the legacy code page takes them
    // in its own.
    for (const settings::Default& d : settings::kLaterDefaults) {
        in.SetVar(d.name, in.Os().codePages.FromUtf8(d.value));
    }
}

}  // namespace vantrel
