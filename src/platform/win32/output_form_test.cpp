#include "platform/win32/output_form.h"

#include <gtest/gtest.h>

#include "platform/win32/win32_api.h"

namespace vantrel::win32 {
namespace {

class OutputFormTest : public ::testing::Test {
  protected:
    OutputFormTest() : form_(GetModuleHandleA(nullptr), [this] { ++focusCalls_; }) {}

    HWND Box() const { return GetWindow(form_.Handle(), GW_CHILD); }

    static PaneView View(const std::string& text, Rect bounds = {0, 17, 640, 47}) {
        PaneView view;
        view.text = text;
        view.bounds = bounds;
        view.textColour = RGB(0, 0xC0, 0);
        view.bgColour = RGB(1, 2, 3);
        return view;
    }

    OutputForm form_;
    int focusCalls_ = 0;
};

TEST_F(OutputFormTest, ClosedPaneHasNoWindowAndNoText) {
    EXPECT_EQ(form_.Handle(), nullptr);
    EXPECT_EQ(form_.Text(), "");
    form_.Close();  // harmless when closed
    EXPECT_EQ(form_.Handle(), nullptr);
}

TEST_F(OutputFormTest, ShowOpensABorderlessPaneWithItsTextAndTheCaretAtTheEnd) {
    const std::string text = "\r\none\r\ntwo \xAC";
    form_.Show(View(text));
    HWND form = form_.Handle();
    ASSERT_TRUE(IsWindow(form));
    EXPECT_TRUE(IsWindowVisible(form));
    EXPECT_EQ(form_.Text(), text);
    EXPECT_EQ(focusCalls_, 1);

    RECT r;
    GetWindowRect(form, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 17);
    EXPECT_EQ(r.right, 640);
    EXPECT_EQ(r.bottom, 64);
    LONG style = GetWindowLongA(form, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME));

    HWND box = Box();
    GetClientRect(form, &r);
    RECT boxRect;
    GetWindowRect(box, &boxRect);
    EXPECT_EQ(boxRect.right - boxRect.left, r.right);
    EXPECT_EQ(boxRect.bottom - boxRect.top, r.bottom);
    LONG boxStyle = GetWindowLongA(box, GWL_STYLE);
    EXPECT_TRUE(boxStyle & ES_MULTILINE);
    EXPECT_TRUE(boxStyle & ES_READONLY);
    EXPECT_TRUE(boxStyle & WS_VSCROLL);

    DWORD start = 0, end = 0;
    SendMessageA(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, text.size());
    EXPECT_EQ(end, text.size());
}

TEST_F(OutputFormTest, LaterTextReusesTheWindowAndFollowsTheBounds) {
    form_.Show(View("one"));
    HWND first = form_.Handle();
    form_.Show(View("one\r\ntwo", Rect{10, 100, 300, 32}));
    EXPECT_EQ(form_.Handle(), first);
    EXPECT_EQ(form_.Text(), "one\r\ntwo");
    RECT r;
    GetWindowRect(first, &r);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 100);
    EXPECT_EQ(r.right, 310);
    EXPECT_EQ(r.bottom, 132);
}

TEST_F(OutputFormTest, CloseDestroysThePaneWithItsText) {
    form_.Show(View("text"));
    HWND form = form_.Handle();
    form_.Close();
    EXPECT_FALSE(IsWindow(form));
    EXPECT_EQ(form_.Text(), "");
    form_.Show(View("fresh"));
    EXPECT_EQ(form_.Text(), "fresh");
}

TEST_F(OutputFormTest, TheBoxIsPaintedInTheOutputColours) {
    form_.Show(View("text"));
    HDC dc = CreateCompatibleDC(nullptr);
    auto brush = reinterpret_cast<HBRUSH>(SendMessageA(form_.Handle(), WM_CTLCOLORSTATIC,
                                                       reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(Box())));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0xC0, 0));
    EXPECT_EQ(GetBkColor(dc), RGB(1, 2, 3));
    LOGBRUSH logBrush{};
    ASSERT_TRUE(GetObjectA(brush, sizeof logBrush, &logBrush));
    EXPECT_EQ(logBrush.lbColor, RGB(1, 2, 3));
    DeleteDC(dc);
}

TEST_F(OutputFormTest, EscReleasedInThePaneClosesIt) {
    form_.Show(View("text"));
    MSG other{Box(), WM_KEYUP, 'A', 0, 0, {}};
    EXPECT_FALSE(form_.PreTranslate(other));
    MSG press{Box(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    EXPECT_FALSE(form_.PreTranslate(press));
    EXPECT_NE(form_.Handle(), nullptr);
    MSG release{Box(), WM_KEYUP, VK_ESCAPE, 0, 0, {}};
    EXPECT_TRUE(form_.PreTranslate(release));
    EXPECT_EQ(form_.Handle(), nullptr);
    EXPECT_EQ(form_.Text(), "");
}

TEST_F(OutputFormTest, KeysOfOtherWindowsAreNotThePanes) {
    form_.Show(View("text"));
    MSG elsewhere{GetDesktopWindow(), WM_KEYUP, VK_ESCAPE, 0, 0, {}};
    EXPECT_FALSE(form_.PreTranslate(elsewhere));
    EXPECT_NE(form_.Handle(), nullptr);
}

}  // namespace
}  // namespace vantrel::win32
