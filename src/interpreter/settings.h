// The console's settings: script variables that every start assigns afresh,
// named here once, with the fixed texts they start from. The defaults that
// depend on the machine (the folders, the screen width) are assigned at
// start-up; the order of the tables is the order of assignment.
#pragma once

namespace vantrel::settings {

inline constexpr char kCurDir[] = "CurDir";
inline constexpr char kShortcutFolder[] = "ShortcutFolder";
inline constexpr char kDesktopUser[] = "DesktopUser";
inline constexpr char kDesktopPublic[] = "DesktopPublic";
inline constexpr char kColourPromptText[] = "ColourPromptText";
inline constexpr char kColourPromptBg[] = "ColourPromptBg";
inline constexpr char kColourPromptBusyText[] = "ColourPromptBusyText";
inline constexpr char kColourPromptBusyBg[] = "ColourPromptBusyBg";
inline constexpr char kColourCommandText[] = "ColourCommandText";
inline constexpr char kColourCommandBg[] = "ColourCommandBg";
inline constexpr char kColourCommandBusyText[] = "ColourCommandBusyText";
inline constexpr char kColourCommandBusyBg[] = "ColourCommandBusyBg";
inline constexpr char kColourCommandSuggest[] = "ColourCommandSuggest";
inline constexpr char kColourOutputText[] = "ColourOutputText";
inline constexpr char kColourOutputBg[] = "ColourOutputBg";
inline constexpr char kWinX[] = "WinX";
inline constexpr char kWinY[] = "WinY";
inline constexpr char kWinWidth[] = "WinWidth";
inline constexpr char kAlwaysOnTop[] = "AlwaysOnTop";
inline constexpr char kEnterButton[] = "EnterButton";
inline constexpr char kEcho[] = "Echo";
inline constexpr char kOutputKeep[] = "OutputKeep";
inline constexpr char kOutputMaxSize[] = "OutputMaxSize";
inline constexpr char kOutputMaxMem[] = "OutputMaxMem";
inline constexpr char kVarString[] = "VarString";
inline constexpr char kVarEnvString[] = "VarEnvString";
inline constexpr char kCmdSepString[] = "CmdSepString";
inline constexpr char kFocusKey[] = "FocusKey";
inline constexpr char kFocusKeyDel[] = "FocusKeyDel";
inline constexpr char kSummonKey[] = "SummonKey";
inline constexpr char kAutoHide[] = "AutoHide";
inline constexpr char kPortDefault[] = "PortDefault";
inline constexpr char kLoginAttempts[] = "LoginAttempts";
inline constexpr char kLoginFailBan[] = "LoginFailBan";
inline constexpr char kHistoryFile[] = "HistoryFile";
inline constexpr char kLinkPlain[] = "LinkPlain";
inline constexpr char kLinkClear[] = "LinkClear";
inline constexpr char kLinkPenaltyExempt[] = "LinkPenaltyExempt";
inline constexpr char kLinkLogDays[] = "LinkLogDays";
inline constexpr char kLinkCommands[] = "LinkCommands";

struct Default {
    const char* name;
    const char* value;
};

// Assigned after CurDir and the folders; WinWidth, the screen's width,
// follows them.
inline constexpr Default kColourDefaults[] = {
    {kColourPromptText, "#0099FF"},
    {kColourPromptBg, "#000000"},
    {kColourPromptBusyText, "#000000"},
    {kColourPromptBusyBg, "#0099FF"},
    {kColourCommandText, "#D0D0D0"},
    {kColourCommandBg, "#000000"},
    {kColourCommandBusyText, "#000000"},
    {kColourCommandBusyBg, "#D0D0D0"},
    {kColourCommandSuggest, "#606060"},
    {kColourOutputText, "#00C000"},
    {kColourOutputBg, "#000000"},
    {kWinX, "0"},
    {kWinY, "0"},
};

// Assigned after WinWidth. F1 to F12 are the function keys' macros.
inline constexpr Default kLaterDefaults[] = {
    {kAlwaysOnTop, "1"},
    {kEnterButton, "0"},
    {kEcho, "0"},
    {kOutputKeep, "0"},
    {kOutputMaxSize, "20"},
    {kOutputMaxMem, "60"},
    {kVarString, "`"},
    {kVarEnvString, "\xC2\xAC"},  // the not sign, in UTF-8
    {kCmdSepString, "|"},
    {kFocusKey, "A3"},
    {kFocusKeyDel, "0"},
    {kSummonKey, "Ctrl+Alt+Space"},
    {kAutoHide, "0"},
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
    {kPortDefault, "2319"},
    {kLoginAttempts, "3"},
    {kLoginFailBan, "1"},
    {kLinkPlain, "1"},
    {kLinkClear, "0"},
    {kLinkPenaltyExempt, ""},
    {kLinkLogDays, "90"},
    {kLinkCommands, ""},
    {kHistoryFile, "1"},
};

}  // namespace vantrel::settings
