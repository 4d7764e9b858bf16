#include "console/apply_settings.h"

#include <algorithm>
#include <cmath>

#include "interpreter/colours.h"
#include "interpreter/console_host.h"
#include "interpreter/interpreter.h"
#include "interpreter/settings.h"

namespace vantrel {

namespace {

// Positions are bounded well inside int so that the arithmetic cannot
// overflow; no screen comes near it.
constexpr double kMaxCoordinate = 100000;

// A setting read as a whole number of pixels: halves to even, as the
// default rounding does.
int WholePixels(double value) {
    if (!(value == value)) return 0;  // NaN
    return static_cast<int>(std::nearbyint(std::clamp(value, -kMaxCoordinate, kMaxCoordinate)));
}

// The prompt box's width, taken back to leave the command box its room when
// the prompt is long. Counted in 64 bits: a prompt may be very long.
int PromptPixels(int promptLength, int room, bool shrink, const ScreenMetrics& m) {
    long long pw = static_cast<long long>(promptLength) * m.cellWidth + m.promptMargin;
    if (shrink && room < pw) pw = room;
    return static_cast<int>(std::clamp(pw, 0LL, static_cast<long long>(kMaxCoordinate)));
}

}  // namespace

bool StaysBusy(ConsoleState state) {
    return state == kConnecting || state == kSending || state == kAwaitingLogin ||
           state == kServing;
}

BarLayout LayOutBar(const BarInputs& in, const ScreenMetrics& m) {
    // In these states the command box shows a key hint, not a command.
    const bool hint = in.state == kConnecting || in.state == kAwaitingLogin || in.state == kServing;
    BarLayout layout;
    int button = 0;
    // Widths never go below 0, however narrow the bar or long the prompt.
    if (hint || !in.enterButton) {
        layout.promptWidth = PromptPixels(in.promptLength, in.barWidth - m.minCommand, !hint, m);
        layout.enterLeft = m.outOfSight;
    } else {
        layout.promptWidth =
            PromptPixels(in.promptLength, in.barWidth - m.enterWidth - m.minCommand, true, m);
        button = m.enterWidth;
        layout.enterLeft = in.barWidth - button;
    }
    layout.commandLeft = layout.promptWidth;
    layout.commandWidth = std::max(in.barWidth - layout.promptWidth - button, 0);
    return layout;
}

Rect FloatingBounds(double winX, double winY, double winWidth, const ScreenMetrics& m) {
    int width = std::max(WholePixels(winWidth), kMinFloatingWidthPixels);
    return Rect{WholePixels(winX), WholePixels(winY), width, m.barHeight};
}

Rect PlaceFloatingBar(double winX, double winY, double winWidth,
                      const std::vector<Monitor>& monitors) {
    // The scale is the one of the monitor the bar lands on.
    Rect bounds = FloatingBounds(winX, winY, winWidth, ScreenMetrics{});
    Monitor monitor = MonitorOf(monitors, bounds);
    if (!OnSomeMonitor(monitors, bounds)) {
        bounds.left = monitor.bounds.left;
        bounds.top = monitor.bounds.top;
    }
    bounds.height = MetricsForDpi(monitor.dpi).barHeight;
    return bounds;
}

void ApplyBarSettings(Interpreter& interpreter, ConsoleWindow& window, DockState dock,
                      ConsoleState state) {
    if (dock == DockState::kFloating) {
        window.Move(PlaceFloatingBar(
            interpreter.SettingNumber(settings::kWinX), interpreter.SettingNumber(settings::kWinY),
            interpreter.SettingNumber(settings::kWinWidth), window.Monitors()));
    }

    const bool busy = StaysBusy(state);
    auto colour = [&](const char* normal, const char* whileBusy) {
        return ParseColour(interpreter.SettingText(busy ? whileBusy : normal),
                           interpreter.Os().files, interpreter.Os().codePages);
    };
    BarWindow& bar = interpreter.Os().bar;
    bar.SetBoxColours(
        BoxColours{colour(settings::kColourPromptText, settings::kColourPromptBusyText),
                   colour(settings::kColourPromptBg, settings::kColourPromptBusyBg),
                   colour(settings::kColourCommandText, settings::kColourCommandBusyText),
                   colour(settings::kColourCommandBg, settings::kColourCommandBusyBg),
                   colour(settings::kColourCommandSuggest, settings::kColourCommandSuggest)});

    BarInputs inputs;
    inputs.state = state;
    inputs.enterButton = interpreter.SettingOn(settings::kEnterButton);
    inputs.promptLength = TextCells(bar.PromptText());
    const Rect bounds = window.Bounds();
    inputs.barWidth = bounds.width;
    window.LayOut(LayOutBar(inputs, MetricsForDpi(MonitorOf(window.Monitors(), bounds).dpi)));

    window.SetTopmost(interpreter.SettingOn(settings::kAlwaysOnTop));
}

}  // namespace vantrel
