#include "console/output_pump.h"

#include <algorithm>
#include <cmath>

#include "interpreter/colours.h"
#include "interpreter/interpreter.h"
#include "interpreter/settings.h"
#include "remote/remote_link.h"

namespace vantrel {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr char kFormFeed = '\f';
// The pane's line counts are 16-bit quantities.
constexpr int kMaxLineCount = 32767;

}  // namespace

int PaneLineWidth(int boxWidthPixels, const ScreenMetrics& m) {
    // Int() of the quotient: towards minus infinity.
    return static_cast<int>(std::floor((static_cast<double>(boxWidthPixels) - m.paneMargin) /
                                       std::max(m.cellWidth, 1)));
}

std::string BreakPaneLines(std::string_view text, int lineWidth) {
    // The rule walks the text while inserting breaks; this keeps its results
    // in one pass. A break is decided at a character with the column counter
    // reaching lineWidth; the character then starts the next line at column
    // 1 (the inserted LF counts as column 0). Below 2 the rule would insert
    // breaks forever, so an absurdly narrow pane still gets one character a
    // line.
    lineWidth = std::max(lineWidth, 2);
    std::string out;
    out.reserve(text.size() + text.size() / static_cast<size_t>(lineWidth) * 2 + 2);
    int column = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (i + 1 < text.size()) {  // the last character is never examined
            bool lineEnd = text[i] == '\r' && text[i + 1] == '\n';
            column = lineEnd ? -1 : column + 1;
            if (lineWidth <= column) {
                out.append(kLineEnd);
                column = 1;
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

int CountPaneLines(std::string_view text) {
    int lines = 1;
    for (size_t at = text.find(kLineEnd); at != std::string_view::npos;
         at = text.find(kLineEnd, at + kLineEnd.size())) {
        ++lines;
    }
    return lines;
}

void KeepLastLines(std::string* text, int maxLines) {
    int surplus = CountPaneLines(*text) - std::max(maxLines, 1);
    size_t cut = 0;
    for (; surplus > 0; --surplus) cut = text->find(kLineEnd, cut) + kLineEnd.size();
    text->erase(0, cut);
}

int LineLimit(double setting) {
    if (!(setting >= 1)) return 1;  // NaN included
    if (setting >= kMaxLineCount) return kMaxLineCount;
    return static_cast<int>(std::nearbyint(setting));  // the default rounding: halves to even
}

Rect PaneBounds(const Rect& bar, int visibleLines, const Monitor& monitor) {
    const ScreenMetrics m = MetricsForDpi(monitor.dpi);
    Rect pane;
    pane.left = bar.left;
    pane.width = bar.width;
    pane.height = visibleLines * m.cellHeight + m.paneExtra;
    const bool roomAbove = bar.top - monitor.bounds.top >= pane.height;
    pane.top = roomAbove ? bar.top - pane.height : bar.top + bar.height;
    return pane;
}

PaneView PlanPane(std::string_view shown, std::string_view pending, const Rect& bar,
                  const Monitor& monitor, const PaneSettings& settings) {
    std::string text(shown);
    if (!text.empty()) text.append(kLineEnd);
    // A zero byte would end the box's text there, and with it every line
    // after it: whatever printed one, it shows as a blank.
    const size_t added = text.size();
    text.append(pending);
    std::replace(text.begin() + static_cast<std::ptrdiff_t>(added), text.end(), '\0', ' ');

    // The box fills the pane, and the pane is as wide as the bar.
    text = BreakPaneLines(text, PaneLineWidth(bar.width, MetricsForDpi(monitor.dpi)));
    KeepLastLines(&text, LineLimit(settings.maxMem));
    int visible =
        std::min({CountPaneLines(text), LineLimit(settings.maxSize), kMaxVisiblePaneLines});

    PaneView view;
    view.bounds = PaneBounds(bar, visible, monitor);
    view.dpi = monitor.dpi;
    view.text = std::move(text);
    view.textColour = settings.textColour;
    view.bgColour = settings.bgColour;
    return view;
}

void OutputPump(Interpreter& interpreter, const ConsoleWindow& window, OutputPane& pane) {
    std::string& pending = interpreter.PendingOutput();
    if (pending.empty()) return;

    // Text between two clear requests is never shown: one tick takes them
    // all, or a batch file of many lines would keep the pane busy closing
    // for a tick a line long after it ended.
    size_t formFeed = pending.rfind(kFormFeed);
    if (formFeed != std::string::npos) {
        pane.Close();
        // While a line runs, a clear request with nothing after it yet
        // stays, so that the text that follows shows below an empty first
        // line as it does once a line has ended.
        const bool nothingAfter = formFeed + 1 == pending.size();
        pending.erase(0, nothingAfter && interpreter.Running() ? formFeed : formFeed + 1);
        return;
    }

    const FileSystem& files = interpreter.Os().files;
    PaneSettings settings;
    settings.maxMem = interpreter.SettingNumber(settings::kOutputMaxMem);
    settings.maxSize = interpreter.SettingNumber(settings::kOutputMaxSize);
    const CodePages& pages = interpreter.Os().codePages;
    settings.textColour =
        ParseColour(interpreter.SettingText(settings::kColourOutputText), files, pages);
    settings.bgColour =
        ParseColour(interpreter.SettingText(settings::kColourOutputBg), files, pages);
    const Rect bar = window.Bounds();
    pane.Show(PlanPane(pane.Text(), pending, bar, MonitorOf(window.Monitors(), bar), settings));
    pending.clear();
}

void PumpOutput(Interpreter& interpreter, ConsoleState state, RemoteLink* link,
                const ConsoleWindow& window, OutputPane& pane) {
    std::string& pending = interpreter.PendingOutput();
    if (state == kServing && link && !pending.empty()) {
        link->Send(pending + "\r\n");
        pending.clear();
        return;
    }
    OutputPump(interpreter, window, pane);
}

}  // namespace vantrel
