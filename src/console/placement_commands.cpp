#include "console/placement_commands.h"

#include <algorithm>
#include <cmath>

#include "console/apply_settings.h"
#include "console/placement.h"
#include "interpreter/command_table.h"
#include "interpreter/interpreter.h"
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
    int where = c.argsLower == "top"      ? kDockedTop
                : c.argsLower == "bottom" ? kDockedBottom
                : c.argsLower == "off"    ? kFloating
                                          : -1;
    if (where < 0) {
        PrintSyntax(in, c);
        return;
    }
    if (in.dock) {
        in.dock(where);
    } else {
        in.dockState = where;
    }
}

void WinPos(Interpreter& in, const Command& c) {
    WinPosAction action = CheckWinPos(c.Arg(1), c.Arg(2), c.Arg(3), c.Arg(4));
    // Only a bare WINPOS reports; an empty quoted argument is misuse.
    if (action == WinPosAction::kReport && !c.args.empty()) action = WinPosAction::kSyntax;
    switch (action) {
        case WinPosAction::kStore:
            in.SetVar("WinX", c.Arg(1));
            in.SetVar("WinY", c.Arg(2));
            if (!c.Arg(3).empty()) in.SetVar("WinWidth", c.Arg(3));
            break;
        case WinPosAction::kTooNarrow:
            in.PrintOut(kTooNarrow);
            break;
        case WinPosAction::kReport: {
            in.PrintOut(kPositionLine + NumberText(in.SettingNumber("WinX")) + ", " +
                        NumberText(in.SettingNumber("WinY")));
            double width = std::max(std::nearbyint(in.SettingNumber("WinWidth")),
                                    double{kMinFloatingWidthPixels});
            in.PrintOut(kWidthLine + NumberText(width));
            break;
        }
        case WinPosAction::kSyntax:
            PrintSyntax(in, c);
            break;
    }
}

void Hide(Interpreter& in, const Command& c) {
    if (!c.args.empty()) {
        PrintSyntax(in, c);
    } else if (in.hideWin) {
        in.hideWin();
    }
}

void Show(Interpreter& in, const Command& c) {
    if (!c.args.empty()) {
        PrintSyntax(in, c);
    } else if (in.showWin) {
        in.showWin();
    }
}

void AlwaysOnTopCommand(Interpreter& in, const Command& c) {
    if (c.argsLower.empty()) {
        in.PrintOut(std::string(kTopmostLine) + (in.SettingOn("AlwaysOnTop") ? "on" : "off"));
    } else if (c.argsLower == "on") {
        in.SetVar("AlwaysOnTop", "1");
    } else if (c.argsLower == "off") {
        in.SetVar("AlwaysOnTop", "0");
    } else {
        PrintSyntax(in, c);
    }
}

}  // namespace vantrel
