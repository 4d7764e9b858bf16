#include "console/apply_settings.h"

#include <algorithm>
#include <cmath>

#include "console/colours.h"
#include "interpreter/interpreter.h"
#include "interpreter/settings.h"

namespace vantrel {

namespace {

// The layout rules are stated in twips; the bar works in pixels.
constexpr int kPromptMarginTwips = 60;
constexpr int kCharTwips = 120;
constexpr int kMinCommandTwips = 1000;
constexpr int kEnterButtonTwips = kEnterButtonWidthPixels * kTwipsPerPixel;
constexpr int kOutOfSightTwips = -1000;
// Positions are bounded well inside int so that the arithmetic cannot
// overflow; no screen comes near it.
constexpr double kMaxCoordinate = 100000;

int TwipsToPixels(int twips) {
    return static_cast<int>(std::lround(twips / double{kTwipsPerPixel}));
}

// A setting read as a whole number of pixels: halves to even, as the
// default rounding does.
int WholePixels(double value) {
    if (!(value == value)) return 0;  // NaN
    return static_cast<int>(std::nearbyint(std::clamp(value, -kMaxCoordinate, kMaxCoordinate)));
}

// The prompt box's width in twips, taken back to leave the command box its
// room when the prompt is long.
int PromptTwips(int promptLength, int roomTwips, bool shrink) {
    int pw = promptLength * kCharTwips + kPromptMarginTwips;
    if (shrink && roomTwips < pw) pw = roomTwips;
    return pw;
}

}  // namespace

bool StaysBusy(ConsoleState state) {
    return state == kConnecting || state == kSending || state == kAwaitingLogin ||
           state == kServing;
}

BarLayout LayOutBar(const BarInputs& in) {
    const int barTwips = in.barWidth * kTwipsPerPixel;
    // In these states the command box shows a key hint, not a command.
    const bool hint = in.state == kConnecting || in.state == kAwaitingLogin || in.state == kServing;
    BarLayout layout;
    int button = 0;
    int pw;
    if (hint || !in.enterButton) {
        pw = PromptTwips(in.promptLength, barTwips - kMinCommandTwips, !hint);
        layout.enterLeft = TwipsToPixels(kOutOfSightTwips);
    } else {
        pw = PromptTwips(in.promptLength, barTwips - kEnterButtonTwips - kMinCommandTwips, true);
        button = kEnterButtonWidthPixels;
        layout.enterLeft = in.barWidth - button;
    }
    // Widths never go below 0, however narrow the bar or long the prompt.
    layout.promptWidth = std::max(TwipsToPixels(pw), 0);
    layout.commandLeft = layout.promptWidth;
    layout.commandWidth = std::max(in.barWidth - layout.promptWidth - button, 0);
    return layout;
}

Rect FloatingBounds(double winX, double winY, double winWidth) {
    int width = std::max(WholePixels(winWidth), kMinFloatingWidthPixels);
    return Rect{WholePixels(winX), WholePixels(winY), width, kBarHeightPixels};
}

void ApplyBarSettings(Interpreter& interpreter, ConsoleWindow& window, DockState dock,
                      ConsoleState state) {
    if (dock == DockState::kFloating) {
        window.Move(FloatingBounds(interpreter.SettingNumber(settings::kWinX),
                                   interpreter.SettingNumber(settings::kWinY),
                                   interpreter.SettingNumber(settings::kWinWidth)));
    }

    const bool busy = StaysBusy(state);
    auto colour = [&](const char* normal, const char* whileBusy) {
        return ParseColour(interpreter.EvaluateText(busy ? whileBusy : normal),
                           interpreter.Os().files);
    };
    BarWindow& bar = interpreter.Os().bar;
    bar.SetBoxColours(
        BoxColours{colour(settings::kColourPromptText, settings::kColourPromptBusyText),
                   colour(settings::kColourPromptBg, settings::kColourPromptBusyBg),
                   colour(settings::kColourCommandText, settings::kColourCommandBusyText),
                   colour(settings::kColourCommandBg, settings::kColourCommandBusyBg)});

    BarInputs inputs;
    inputs.state = state;
    inputs.enterButton = interpreter.SettingOn(settings::kEnterButton);
    inputs.promptLength = static_cast<int>(bar.PromptText().size());
    inputs.barWidth = window.Bounds().width;
    window.LayOut(LayOutBar(inputs));

    window.SetTopmost(interpreter.SettingOn(settings::kAlwaysOnTop));
}

}  // namespace vantrel
