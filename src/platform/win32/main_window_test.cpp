#include "platform/win32/main_window.h"

#include <gtest/gtest.h>

#include "commands/command_table.h"
#include "fake_console.h"
#include "fake_platform.h"
#include "platform/win32/output_form.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"

namespace vantrel::win32 {
namespace {

// The real bar with the real services behind a console; only the tray icon
// is a stand-in, so that tests leave the notification area alone.
class MainTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(main_.Create(&console_)); }

    HWND Control(int id) const { return GetDlgItem(main_.Handle(), id); }
    HWND PromptBox() const { return Control(101); }
    HWND CmdBox() const { return Control(102); }

    // A control's rectangle in the bar's client coordinates.
    RECT ChildRect(HWND child) const {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, main_.Handle(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    bool Key(UINT message, WPARAM key) {
        MSG msg{CmdBox(), message, key, 0, 0, {}};
        return main_.PreTranslate(msg);
    }

    Win32FileSystem files_;
    Win32Environment environment_;
    Win32Clock clock_;
    Win32Shell shell_;
    Win32Processes processes_;
    Win32Registry registry_;
    testing::FakeDesktopWindows desktop_;
    testing::FakeInput input_;
    testing::FakeDialogs dialogs_;
    testing::FakeTray tray_;
    OutputForm pane_{GetModuleHandleA(nullptr), nullptr};
    Main main_{GetModuleHandleA(nullptr), pane_};
    Platform platform_{main_,      shell_,    files_,   environment_, clock_,
                       processes_, registry_, desktop_, input_,       dialogs_};
    Console console_{platform_, main_, pane_, tray_, BuiltInCommands()};
};

TEST_F(MainTest, StartsWithItsDesignTextsAndTheButtonsOutOfSight) {
    EXPECT_EQ(main_.PromptText(), "Prompt>");
    EXPECT_EQ(main_.CommandText(), "Command");
    EXPECT_LT(ChildRect(Control(IDOK)).right, 0);
    EXPECT_LT(ChildRect(Control(IDCANCEL)).right, 0);
    EXPECT_TRUE(GetWindowLongA(Control(IDOK), GWL_STYLE) & BS_DEFPUSHBUTTON);
    EXPECT_TRUE(GetWindowLongA(PromptBox(), GWL_STYLE) & ES_READONLY);
    LONG style = GetWindowLongA(main_.Handle(), GWL_STYLE);
    EXPECT_FALSE(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME));
    EXPECT_TRUE(GetWindowLongA(main_.Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
}

TEST_F(MainTest, TextsRoundTripAsAnsiBytes) {
    main_.SetCommandText(
        "dir \xAC"
        "TEMP\xAC");
    EXPECT_EQ(main_.CommandText(),
              "dir \xAC"
              "TEMP\xAC");
    main_.SetPromptText("C:\\>");
    EXPECT_EQ(main_.PromptText(), "C:\\>");
    main_.SetCommandText("");
    EXPECT_EQ(main_.CommandText(), "");
}

TEST_F(MainTest, SelectsLocksAndMasksTheCommandBox) {
    main_.SetCommandText("abcdef");
    main_.SelectCommandText(1, 2);
    DWORD start = 0, end = 0;
    SendMessageA(CmdBox(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 3u);

    main_.SetCommandLocked(true);
    EXPECT_TRUE(GetWindowLongA(CmdBox(), GWL_STYLE) & ES_READONLY);
    main_.SetCommandLocked(false);
    EXPECT_FALSE(GetWindowLongA(CmdBox(), GWL_STYLE) & ES_READONLY);

    main_.SetPasswordChar('*');
    EXPECT_EQ(SendMessageA(CmdBox(), EM_GETPASSWORDCHAR, 0, 0), '*');
    EXPECT_EQ(main_.CommandText(), "abcdef");  // the mask is only shown
    main_.SetPasswordChar('\0');
    EXPECT_EQ(SendMessageA(CmdBox(), EM_GETPASSWORDCHAR, 0, 0), 0);
}

TEST_F(MainTest, MovesAndReportsItsBounds) {
    main_.Move(Rect{10, 20, 300, 17});
    EXPECT_EQ(main_.Bounds(), (Rect{10, 20, 300, 17}));
    EXPECT_EQ(main_.ScreenSize(),
              (Size{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}));
}

TEST_F(MainTest, LaysOutTheControls) {
    main_.Move(Rect{0, 0, 640, 17});
    main_.LayOut(BarLayout{36, 36, 551, 587});
    auto expect = [&](HWND control, RECT want, const char* name) {
        RECT r = ChildRect(control);
        EXPECT_EQ(r.left, want.left) << name;
        EXPECT_EQ(r.top, want.top) << name;
        EXPECT_EQ(r.right, want.right) << name;
        EXPECT_EQ(r.bottom, want.bottom) << name;
    };
    expect(PromptBox(), RECT{4, 1, 40, 16}, "prompt box");
    expect(CmdBox(), RECT{36, 1, 587, 16}, "command box");
    expect(Control(IDOK), RECT{587, 1, 640, 16}, "Enter button");
}

TEST_F(MainTest, LayOutScrollsALongPromptToItsEnd) {
    main_.SetPromptText("C:\\a\\very\\long\\folder\\name>");
    main_.LayOut(BarLayout{40, 40, 100, -67});
    DWORD start = 0, end = 0;
    SendMessageA(PromptBox(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 27u);
    EXPECT_EQ(end, 27u);
}

TEST_F(MainTest, TopmostFollowsTheSetting) {
    main_.SetTopmost(true);
    EXPECT_TRUE(GetWindowLongA(main_.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    main_.SetTopmost(false);
    EXPECT_FALSE(GetWindowLongA(main_.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(MainTest, BoxesArePaintedInTheirColours) {
    main_.SetBoxColours(BoxColours{RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3), RGB(4, 4, 4)});
    struct Case {
        UINT message;
        HWND control;
        COLORREF text, bg;
    } cases[] = {
        {WM_CTLCOLORSTATIC, PromptBox(), RGB(1, 1, 1), RGB(2, 2, 2)},
        {WM_CTLCOLOREDIT, CmdBox(), RGB(3, 3, 3), RGB(4, 4, 4)},
        // A locked command box asks as a static control does.
        {WM_CTLCOLORSTATIC, CmdBox(), RGB(3, 3, 3), RGB(4, 4, 4)},
    };
    for (const Case& c : cases) {
        HDC dc = CreateCompatibleDC(nullptr);
        auto brush = reinterpret_cast<HBRUSH>(SendMessageA(main_.Handle(), c.message,
                                                           reinterpret_cast<WPARAM>(dc),
                                                           reinterpret_cast<LPARAM>(c.control)));
        EXPECT_EQ(GetTextColor(dc), c.text);
        EXPECT_EQ(GetBkColor(dc), c.bg);
        LOGBRUSH logBrush{};
        ASSERT_TRUE(GetObjectA(brush, sizeof logBrush, &logBrush));
        EXPECT_EQ(logBrush.lbColor, c.bg);
        DeleteDC(dc);
    }
}

TEST_F(MainTest, PaneHasTextOnlyWhileThePaneShowsText) {
    EXPECT_FALSE(main_.PaneHasText());
    PaneView view;
    view.text = "x";
    view.bounds = Rect{0, 17, 100, 17};
    pane_.Show(view);
    EXPECT_TRUE(main_.PaneHasText());
    pane_.Close();
    EXPECT_FALSE(main_.PaneHasText());
}

TEST_F(MainTest, EnterRunsTheLineAndEscClearsTheBoxOrThePane) {
    main_.SetCommandText("set answer=42");
    EXPECT_TRUE(Key(WM_KEYDOWN, VK_RETURN));
    EXPECT_EQ(console_.In().EvaluateText("answer"), "42");
    EXPECT_EQ(main_.CommandText(), "");
    // The edit control's own Enter character is swallowed, not beeped.
    EXPECT_TRUE(Key(WM_CHAR, '\r'));

    console_.In().PendingOutput().clear();
    main_.SetCommandText("typed");
    EXPECT_TRUE(Key(WM_KEYDOWN, VK_ESCAPE));
    EXPECT_EQ(main_.CommandText(), "");
    EXPECT_EQ(console_.In().PendingOutput(), "");
    EXPECT_TRUE(Key(WM_KEYDOWN, VK_ESCAPE));
    EXPECT_EQ(console_.In().PendingOutput(), "\f");

    EXPECT_FALSE(Key(WM_KEYDOWN, 'A'));
}

TEST_F(MainTest, ArrowKeysBrowseTheHistoryWithoutModifiers) {
    main_.SetCommandText("set a=1");
    Key(WM_KEYDOWN, VK_RETURN);
    EXPECT_FALSE(Key(WM_KEYUP, VK_UP));
    EXPECT_EQ(main_.CommandText(), "set a=1");
    Key(WM_KEYUP, VK_DOWN);
    EXPECT_EQ(main_.CommandText(), "");

    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    Key(WM_KEYUP, VK_UP);
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(main_.CommandText(), "");
}

TEST_F(MainTest, ButtonClicksReachTheConsole) {
    main_.SetCommandText("set b=2");
    SendMessageA(main_.Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Control(IDOK)));
    EXPECT_EQ(console_.In().EvaluateText("b"), "2");
}

}  // namespace
}  // namespace vantrel::win32
