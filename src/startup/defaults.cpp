#include "startup/defaults.h"

#include "interpreter/interpreter.h"
#include "interpreter/settings.h"
#include "platform/paths.h"

namespace vantrel {

std::string AllUsersFolder(const Interpreter& in) {
    return std::string(TrimSeparators(in.EnvGet("ALLUSERSPROFILE")));
}

std::string DataFolderPath(const Interpreter& in) {
    return JoinPath(AllUsersFolder(in), "Orvane\\Vantrel");
}

void AssignDefaults(Interpreter& in, int screenWidth) {
    const std::string allUsers = AllUsersFolder(in);
    in.SetVar(settings::kCurDir, in.Os().files.CurrentDirectory());
    in.SetVar(settings::kShortcutFolder, JoinPath(allUsers, "Orvane\\Vantrel\\Shortcuts"));
    in.SetVar(settings::kDesktopUser, in.EnvGet("USERPROFILE") + "\\Desktop");
    in.SetVar(settings::kDesktopPublic, in.EnvGet("PUBLIC") + "\\Desktop");
    if (in.SettingText(settings::kDesktopPublic) == "\\Desktop") {
        in.SetVar(settings::kDesktopPublic, JoinPath(allUsers, "Desktop"));
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
