#include "console/tray_events.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

TEST(TrayEventsTest, MouseMessagesRaiseTheirEvents) {
    struct Case {
        int message;
        TrayMouse mouse;
    } cases[] = {
        {512, {}},
        {513, {TrayEvent::kMouseDown, 1}},
        {514, {TrayEvent::kMouseUp, 1}},
        {515, {TrayEvent::kMouseDblClick, 1}},
        {516, {TrayEvent::kMouseDown, 2}},
        {517, {TrayEvent::kMouseUp, 2}},
        {518, {TrayEvent::kMouseDblClick, 2}},
        {519, {}},
        {0, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(TrayEventFor(c.message), c.mouse) << c.message;
}

}  // namespace
}  // namespace vantrel
