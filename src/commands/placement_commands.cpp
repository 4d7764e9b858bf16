#include "commands/placement_commands.h"

#include <algorithm>
#include <cmath>

#include "commands/variable_commands.h"
#include "console/apply_settings.h"
#include "console/placement.h"
#include "interpreter/interpreter.h"
#include "interpreter/settings.h"
#include "interpreter/text.h"

namespace vantrel {

namespace {

constexpr char kTooNarrow[] = "Window width cannot be less than 80";
constexpr char kPositionLine[] = "Undocked position: ";
constexpr char kWidthLine[] = "Undocked width: ";
constexpr char kTopmostLine[] = "ALWAYS ON TOP is ";

// A setting's number as plain decimal text.
std::string NumberText(double value) {
    if (value == std::floor(value) && std::fabs(value) < 1e15) {
        return std::to_string(static_cast<long long>(value));
    }
    std::string text = std::to_string(value);
    text.erase(text.find_last_not_of('0') + 1);
    if (!text.empty() && text.back() == '.') text.pop_back();
    return text;
}

}  // namespace

void DockCommand(Interpreter& in, const Command& c) {
    if (c.argsLower == "top") {
        in.Host().Dock(DockState::kTop);
    } else if (c.argsLower == "bottom") {
        in.Host().Dock(DockState::kBottom);
    } else if (c.argsLower == "off") {
        in.Host().Dock(DockState::kFloating);
    } else {
        PrintSyntax(in, c);
    }
}

void WinPosCommand(Interpreter& in, const Command& c) {
    WinPosAction action = CheckWinPos(c.Arg(1), c.Arg(2), c.Arg(3), c.Arg(4));
    // Only a bare WINPOS reports; an empty quoted argument is misuse.
    if (action == WinPosAction::kReport && !c.args.empty()) action = WinPosAction::kSyntax;
    switch (action) {
        case WinPosAction::kStore:
            in.SetVar(settings::kWinX, c.Arg(1));
            in.SetVar(settings::kWinY, c.Arg(2));
            if (!c.Arg(3).empty()) in.SetVar(settings::kWinWidth, c.Arg(3));
            break;
        case WinPosAction::kTooNarrow:
            in.PrintOut(kTooNarrow);
            break;
        case WinPosAction::kReport: {
            in.PrintOut(kPositionLine + NumberText(in.SettingNumber(settings::kWinX)) + ", " +
                        NumberText(in.SettingNumber(settings::kWinY)));
            double width = std::max(std::nearbyint(in.SettingNumber(settings::kWinWidth)),
                                    double{kMinFloatingWidthPixels});
            in.PrintOut(kWidthLine + NumberText(width));
            break;
        }
        case WinPosAction::kSyntax:
            PrintSyntax(in, c);
            break;
    }
}

void HideCommand(Interpreter& in, const Command&) {
    in.Host().HideWin();
}

void ShowCommand(Interpreter& in, const Command&) {
    in.Host().ShowWin();
}

void AlwaysOnTopCommand(Interpreter& in, const Command& c) {
    SwitchSetting(in, c, settings::kAlwaysOnTop, kTopmostLine,
                  c.argsLower.empty() && in.SettingOn(settings::kAlwaysOnTop));
}

}  // namespace vantrel
