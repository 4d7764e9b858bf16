#include "startup/defaults.h"

#include "interpreter/interpreter.h"

namespace vantrel {

namespace {

struct Default {
    const char* name;
    const char* value;
};

// After CurDir, the folders and the screen width, which depend on this
// machine, every setting starts from a fixed text.
constexpr Default kColourDefaults[] = {
    {"ColourPromptText", "#0099FF"},
    {"ColourPromptBg", "#000000"},
    {"ColourPromptBusyText", "#000000"},
    {"ColourPromptBusyBg", "#0099FF"},
    {"ColourCommandText", "#D0D0D0"},
    {"ColourCommandBg", "#000000"},
    {"ColourCommandBusyText", "#000000"},
    {"ColourCommandBusyBg", "#D0D0D0"},
    {"ColourOutputText", "#00C000"},
    {"ColourOutputBg", "#000000"},
    {"WinX", "0"},
    {"WinY", "0"},
};

constexpr Default kLaterDefaults[] = {
    {"AlwaysOnTop", "1"},
    {"EnterButton", "0"},
    {"Echo", "0"},
    {"OutputKeep", "0"},
    {"OutputMaxSize", "20"},
    {"OutputMaxMem", "60"},
    {"VarString", "`"},
    {"VarEnvString", "\xAC"},  // the not sign in the Windows-1252 code page
    {"CmdSepString", "|"},
    {"FocusKey", "A3"},
    {"FocusKeyDel", "0"},
    {"F1", "{HOME}help {ENTER}"},
    {"F2", "{HOME}cdd {ENTER}"},
    {"F3", "{HOME}dir {ENTER}"},
    {"F4", "{HOME}http://{ENTER}"},
    {"F5", "{HOME}http://www.{END}.com{ENTER}"},
    {"F6", "{HOME}http://www.{END}.net{ENTER}"},
    {"F7", "{HOME}http://www.{END}.org{ENTER}"},
    {"F8", "{HOME}http://www.{END}.co.uk{ENTER}"},
    {"F9", "{HOME}+{END}hide{ENTER}"},
    {"F10", "{HOME}+{END}exit"},
    {"F11", "{HOME}+{END}@echo on{ENTER}@keepoutput on{ENTER}"},
    {"F12", "{HOME}+{END}@echo off{ENTER}@keepoutput off{ENTER}"},
    {"PortDefault", "2319"},
    {"LoginAttempts", "3"},
    {"LoginFailBan", "1"},
};

}  // namespace

std::string AllUsersFolder(const Interpreter& in) {
    std::string folder = in.EnvGet("ALLUSERSPROFILE");
    if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    return folder;
}

void AssignDefaults(Interpreter& in, int screenWidth) {
    const std::string allUsers = AllUsersFolder(in);
    in.SetVar("CurDir", in.Os().files.CurrentDirectory());
    in.SetVar("ShortcutFolder", allUsers + "\\Orvane\\Vantrel\\Shortcuts");
    in.SetVar("DesktopUser", in.EnvGet("USERPROFILE") + "\\Desktop");
    in.SetVar("DesktopPublic", in.EnvGet("PUBLIC") + "\\Desktop");
    if (in.EvaluateText("DesktopPublic") == "\\Desktop") {
        in.SetVar("DesktopPublic", allUsers + "\\Desktop");
    }
    for (const Default& d : kColourDefaults) in.SetVar(d.name, d.value);
    in.SetVar("WinWidth", std::to_string(screenWidth));
    for (const Default& d : kLaterDefaults) in.SetVar(d.name, d.value);
}

}  // namespace vantrel
