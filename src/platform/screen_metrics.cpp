#include "platform/screen_metrics.h"

#include <algorithm>
#include <cstdint>

#include "text/utf8.h"

namespace vantrel {

namespace {

struct Range {
    char32_t first, last;
};

// The wide and fullwidth blocks of East Asian scripts, and the emoji.
constexpr Range kWide[] = {
    {0x1100, 0x115F}, {0x2E80, 0x303E}, {0x3041, 0x33FF},   {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},
    {0xA000, 0xA4CF}, {0xA960, 0xA97F}, {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE30, 0xFE4F},
    {0xFF00, 0xFF60}, {0xFFE0, 0xFFE6}, {0x1F300, 0x1F64F}, {0x1F900, 0x1F9FF}, {0x20000, 0x3FFFD},
};

int CharacterCells(char32_t c) {
    if ((c >= 0x0300 && c <= 0x036F) || c == 0x200B || (c >= 0xFE00 && c <= 0xFE0F)) return 0;
    for (const Range& r : kWide) {
        if (c < r.first) return 1;
        if (c <= r.last) return 2;
    }
    return 1;
}

// Far beyond any screen, and small enough that no product overflows.
constexpr int kMaxDpi = 9600;

std::int64_t Overlap(const Rect& a, const Rect& b) {
    std::int64_t w =
        std::min<std::int64_t>(std::int64_t{a.left} + a.width, std::int64_t{b.left} + b.width) -
        std::max(a.left, b.left);
    std::int64_t h =
        std::min<std::int64_t>(std::int64_t{a.top} + a.height, std::int64_t{b.top} + b.height) -
        std::max(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

}  // namespace

int TextCells(std::string_view text) {
    int cells = 0;
    for (size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++cells, ++i;
            continue;
        }
        const text::utf8::Char c = text::utf8::Decode(text, i);
        cells += c.valid ? CharacterCells(c.code) : 1;
        i += c.bytes;
    }
    return cells;
}

int ScaleTwips(int twips, int dpi) {
    if (dpi <= 0) dpi = kStandardDpi;
    dpi = std::min(dpi, kMaxDpi);
    const std::int64_t scaled = std::int64_t{twips} * dpi;
    // Just under half a pixel added: an exact half goes towards zero.
    const std::int64_t half = kTwipsPerInch / 2 - 1;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / kTwipsPerInch
                                        : -((-scaled + half) / kTwipsPerInch));
}

ScreenMetrics MetricsForDpi(int dpi) {
    if (dpi <= 0) dpi = kStandardDpi;
    ScreenMetrics m;
    m.dpi = std::min(dpi, kMaxDpi);
    m.barHeight = ScaleTwips(255, dpi);
    m.controlTop = ScaleTwips(15, dpi);
    m.cellHeight = ScaleTwips(225, dpi);
    m.cellWidth = ScaleTwips(120, dpi);
    m.promptMargin = ScaleTwips(60, dpi);
    m.enterWidth = ScaleTwips(795, dpi);
    m.minCommand = ScaleTwips(1000, dpi);
    m.outOfSight = ScaleTwips(-1000, dpi);
    m.paneExtra = ScaleTwips(30, dpi);
    m.paneMargin = ScaleTwips(150, dpi);
    return m;
}

Monitor PrimaryMonitor(const std::vector<Monitor>& monitors) {
    for (const Monitor& m : monitors) {
        if (m.primary) return m;
    }
    if (!monitors.empty()) return monitors.front();
    return Monitor{Rect{0, 0, 1280, 720}, true, kStandardDpi};
}

Monitor MonitorOf(const std::vector<Monitor>& monitors, const Rect& r) {
    const Monitor* best = nullptr;
    std::int64_t most = 0;
    for (const Monitor& m : monitors) {
        std::int64_t area = Overlap(m.bounds, r);
        if (area > most) {
            most = area;
            best = &m;
        }
    }
    return best ? *best : PrimaryMonitor(monitors);
}

bool OnSomeMonitor(const std::vector<Monitor>& monitors, const Rect& r) {
    return std::any_of(monitors.begin(), monitors.end(),
                       [&](const Monitor& m) { return Overlap(m.bounds, r) > 0; });
}

Monitor MonitorAt(const std::vector<Monitor>& monitors, int x, int y) {
    return MonitorOf(monitors, Rect{x, y, 1, 1});
}

}  // namespace vantrel
