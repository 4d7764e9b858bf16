#include "commands/input_commands.h"

#include <cmath>

#include "interpreter/interpreter.h"
#include "interpreter/keystrokes.h"
#include "interpreter/line_text.h"
#include "text/case_fold.h"

namespace vantrel {

namespace {

constexpr char kPositionLine[] = "Current mouse cursor position: ";
constexpr char kInvalidButton[] = "Invalid button";

}  // namespace

bool MouseCoordinate(const std::string& text, int* value) {
    double n = std::nearbyint(LeadingNumber(text));
    if (!(n >= -2147483648.0 && n <= 2147483647.0)) return false;
    *value = static_cast<int>(n);
    return true;
}

void SendKeysCommand(Interpreter& in, const Command& c) {
    // Keys that cannot be sent are dropped silently, as the command promises.
    std::vector<KeyStroke> keys;
    std::string err;
    if (ParseKeystrokes(c.args, &keys, &err)) in.Os().input.SendKeys(keys);
}

void MouseCommand(Interpreter& in, const Command& c) {
    Input& input = in.Os().input;
    if (c.args.empty()) {
        int x = 0, y = 0;
        input.CursorPos(&x, &y);
        in.PrintOut(kPositionLine + std::to_string(x) + ", " + std::to_string(y));
        return;
    }
    // A position needs both coordinates.
    if (c.Arg(2).empty()) {
        PrintSyntax(in, c);
        return;
    }
    int x = 0, y = 0;
    if (MouseCoordinate(c.Arg(1), &x) && MouseCoordinate(c.Arg(2), &y)) {
        input.SetCursorPos(x, y);
    }
    std::string button = c.Arg(3);
    if (button.empty()) return;
    char letter = text::AsciiLower(button[0]);
    if (letter != 'l' && letter != 'r' && letter != 'm') {
        in.PrintOut(kInvalidButton);
        return;
    }
    input.Click(letter == 'l'   ? MouseButton::kLeft
                : letter == 'r' ? MouseButton::kRight
                                : MouseButton::kMiddle);
}

}  // namespace vantrel
