#include "platform/win32/output_form.h"

#include <gtest/gtest.h>

#include "platform/win32/win32_api.h"
#include "platform/win32/window_testing.h"

namespace vantrel::win32 {
namespace {

using testing::Edges;
using testing::EdgesOf;
using testing::HasStyle;

class OutputFormTest : public ::testing::Test {
  protected:
    OutputFormTest() : form_(GetModuleHandleA(nullptr), [this] { ++focusCalls_; }) {}

    HWND Box() const { return GetWindow(form_.Handle(), GW_CHILD); }

    void Show(const std::string& text, Rect bounds = {0, 17, 640, 47}) {
        PaneView view;
        view.text = text;
        view.bounds = bounds;
        view.textColour = RGB(0, 0xC0, 0);
        view.bgColour = RGB(1, 2, 3);
        form_.Show(view);
    }

    OutputForm form_;
    int focusCalls_ = 0;
};

// One borderless pane with its text and the caret at the end; later text
// reuses the window, and Close destroys it with its text.
TEST_F(OutputFormTest, ShowOpensOnePaneAndCloseDestroysIt) {
    form_.Close();  // harmless when closed
    EXPECT_EQ(form_.Handle(), nullptr);
    EXPECT_EQ(form_.Text(), "");
    const std::string text = "\r\none\r\ntwo \xAC";
    Show(text);
    HWND form = form_.Handle();
    ASSERT_TRUE(IsWindow(form));
    EXPECT_TRUE(IsWindowVisible(form));
    EXPECT_EQ(form_.Text(), text);
    EXPECT_EQ(focusCalls_, 1);
    EXPECT_EQ(EdgesOf(form), (Edges{0, 17, 640, 64}));
    EXPECT_TRUE(HasStyle(form, WS_POPUP));
    EXPECT_FALSE(GetWindowLongA(form, GWL_STYLE) & (WS_CAPTION | WS_BORDER | WS_THICKFRAME));
    // The box fills the pane.
    RECT client;
    GetClientRect(form, &client);
    EXPECT_EQ(EdgesOf(Box(), form), (Edges{0, 0, client.right, client.bottom}));
    EXPECT_TRUE(HasStyle(Box(), ES_MULTILINE | ES_READONLY | WS_VSCROLL));
    EXPECT_EQ(testing::Selection(Box()), std::make_pair(DWORD(text.size()), DWORD(text.size())));
    EXPECT_EQ(testing::PaintColours(form, WM_CTLCOLORSTATIC, Box()),
              (std::array<COLORREF, 3>{RGB(0, 0xC0, 0), RGB(1, 2, 3), RGB(1, 2, 3)}));

    Show("one\r\ntwo", Rect{10, 100, 300, 32});
    EXPECT_EQ(form_.Handle(), form);
    EXPECT_EQ(form_.Text(), "one\r\ntwo");
    EXPECT_EQ(EdgesOf(form), (Edges{10, 100, 310, 132}));

    form_.Close();
    EXPECT_FALSE(IsWindow(form));
    EXPECT_EQ(form_.Handle(), nullptr);
    EXPECT_EQ(form_.Text(), "");
    Show("fresh");
    EXPECT_EQ(form_.Text(), "fresh");
}

// Only Esc released in the pane closes it.
TEST_F(OutputFormTest, EscReleasedInThePaneClosesIt) {
    const struct {
        const char* name;
        bool inPane;
        UINT message;
        WPARAM key;
        bool closes;
    } cases[] = {
        {"A released", true, WM_KEYUP, 'A', false},
        {"Esc pressed", true, WM_KEYDOWN, VK_ESCAPE, false},
        {"Esc released in another window", false, WM_KEYUP, VK_ESCAPE, false},
        {"Esc released", true, WM_KEYUP, VK_ESCAPE, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Show("text");
        const MSG msg{c.inPane ? Box() : GetDesktopWindow(), c.message, c.key, 0, 0, {}};
        EXPECT_EQ(form_.PreTranslate(msg), c.closes);
        EXPECT_EQ(form_.Handle() == nullptr, c.closes);
        EXPECT_EQ(form_.Text().empty(), c.closes);
    }
}

}  // namespace
}  // namespace vantrel::win32
