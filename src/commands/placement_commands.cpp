#include "commands/placement_commands.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "commands/variable_commands.h"
#include "interpreter/interpreter.h"
#include "interpreter/line_text.h"
#include "interpreter/settings.h"
#include "text/case_fold.h"

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

// Two whole numbers of pixels, either of them negative: the monitors left
// of or above the primary one have negative coordinates.
std::optional<int> WholePixels(const std::string& text) {
    constexpr size_t kMostDigits = 6;
    const size_t digits = text.size() - (text.rfind('-', 0) == 0 ? 1 : 0);
    if (digits == 0 || digits > kMostDigits ||
        text.find_first_not_of("0123456789", text.size() - digits) != std::string::npos) {
        return std::nullopt;
    }
    return std::stoi(text);
}

std::optional<Point> MonitorPoint(const std::string& x, const std::string& y) {
    std::optional<int> px = WholePixels(x), py = WholePixels(y);
    if (!px || !py) return std::nullopt;
    return Point{*px, *py};
}

// A WINPOS number: greater than 0, or exactly "0".
bool AcceptableWinPosNumber(const std::string& text) {
    return LeadingNumber(text) > 0 || text == "0";
}

}  // namespace

WinPosAction CheckWinPos(const std::string& a1, const std::string& a2, const std::string& a3,
                         const std::string& a4) {
    bool valid = !a2.empty() && a4.empty() && AcceptableWinPosNumber(a1) &&
                 AcceptableWinPosNumber(a2) && (a3.empty() || AcceptableWinPosNumber(a3));
    if (valid) {
        return a3.empty() || LeadingNumber(a3) >= kMinFloatingWidthPixels
                   ? WinPosAction::kStore
                   : WinPosAction::kTooNarrow;
    }
    return a1.empty() ? WinPosAction::kReport : WinPosAction::kSyntax;
}

void DockCommand(Interpreter& in, const Command& c) {
    // A saved placement names the monitor: "dock bottom x y" docks on the
    // monitor holding that point.
    std::optional<Point> monitor = MonitorPoint(c.Arg(2), c.Arg(3));
    const std::string edge = text::LowerCase(c.Arg(1));
    if (monitor && c.Arg(4).empty() && (edge == "top" || edge == "bottom")) {
        in.Host().Placement().DockOn(edge == "top" ? DockState::kTop : DockState::kBottom,
                                     *monitor);
    } else if (c.argsLower == "top") {
        in.Host().Placement().Dock(DockState::kTop);
    } else if (c.argsLower == "bottom") {
        in.Host().Placement().Dock(DockState::kBottom);
    } else if (c.argsLower == "off") {
        in.Host().Placement().Dock(DockState::kFloating);
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
    in.Host().Placement().HideWin();
}

void ShowCommand(Interpreter& in, const Command&) {
    in.Host().Placement().ShowWin();
}

void AlwaysOnTopCommand(Interpreter& in, const Command& c) {
    SwitchSetting(in, c, settings::kAlwaysOnTop, kTopmostLine,
                  c.argsLower.empty() && in.SettingOn(settings::kAlwaysOnTop));
}

}  // namespace vantrel
