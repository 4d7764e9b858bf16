#include "platform/screen_metrics.h"

#include <gtest/gtest.h>

#include <sstream>

#include "text/text_cases_testing.h"

namespace vantrel {
namespace {

std::vector<Monitor> Monitors(const std::string& names) {
    std::vector<Monitor> monitors;
    std::istringstream in(names);
    for (std::string name; in >> name;) {
        monitors.push_back(name == "left" ? Monitor{{-1920, 0, 1920, 1080}, false, 144}
                                          : Monitor{{0, 0, 1280, 720}, true, 96});
    }
    return monitors;
}

TEST(ScreenMetricsTest, CasesOfTestdata) {
    for (const text::TextCase& c : text::ReadCases("src/platform/testdata/screen_metrics.txt")) {
        SCOPED_TRACE(c.where);
        std::istringstream numbers(c.fields.size() > 2 ? c[2] : "");
        Rect r;
        numbers >> r.left >> r.top >> r.width >> r.height;
        if (c[0] == "twips") {
            EXPECT_EQ(ScaleTwips(c.Int(1), c.Int(2)), c.Int(3));
        } else if (c[0] == "cells") {
            EXPECT_EQ(TextCells(c[1]), c.Int(2));
        } else if (c[0] == "monitor") {
            EXPECT_EQ(MonitorOf(Monitors(c[1]), r), Monitors(c[3]).at(0));
            EXPECT_EQ(OnSomeMonitor(Monitors(c[1]), r), c.Flag(4));
        } else if (c[0] == "at") {
            EXPECT_EQ(MonitorAt(Monitors(c[1]), r.left, r.top), Monitors(c[3]).at(0));
        } else {
            ASSERT_EQ(c[0], "metrics");
            const ScreenMetrics m = MetricsForDpi(c.Int(1));
            std::string text;
            for (int n :
                 {m.dpi, m.barHeight, m.controlTop, m.cellHeight, m.cellWidth, m.promptMargin,
                  m.enterWidth, m.minCommand, m.outOfSight, m.paneExtra, m.paneMargin}) {
                if (!text.empty()) text += ' ';
                text += std::to_string(n);
            }
            EXPECT_EQ(text, c[2]);
        }
    }
}

}  // namespace
}  // namespace vantrel
