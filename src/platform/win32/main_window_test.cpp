#include "platform/win32/main_window.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "commands/command_table.h"
#include "console/console.h"
#include "fake_console.h"
#include "fake_platform.h"
#include "platform/win32/output_form.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_code_pages.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_secrets.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/window_testing.h"

namespace vantrel::win32 {
namespace {

using testing::Edges;
using testing::EdgesOf;
using testing::HasStyle;
using testing::Selection;

// The real bar with the real services behind a console; only the tray icon
// is a stand-in, so that tests leave the notification area alone.
class MainTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(main_.Create(&console_)); }

    HWND Control(int id) const { return GetDlgItem(main_.Handle(), id); }
    HWND PromptBox() const { return Control(101); }
    HWND CmdBox() const { return Control(102); }

    // A control's edges in the bar's client coordinates.
    Edges EdgesIn(HWND child) const { return EdgesOf(child, main_.Handle()); }

    // Delivers what waits in the queue as the program's message loop does.
    void DeliverQueued() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            const bool replayed = main_.TakeReplayed(msg);
            if (main_.PreTranslate(msg)) continue;
            if (!replayed) TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    static void SetShift(bool down, int key = VK_SHIFT) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[key] = down ? 0x80 : 0;
        SetKeyboardState(keys);
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
    vantrel::testing::FakeDesktopWindows desktop_;
    vantrel::testing::FakeInput input_;
    vantrel::testing::FakeDialogs dialogs_;
    Win32CodePages codePages_;
    Win32Secrets secrets_;
    vantrel::testing::FakeTray tray_;
    OutputForm pane_{GetModuleHandleA(nullptr), nullptr};
    Main main_{GetModuleHandleA(nullptr), pane_};
    Platform platform_{main_,     shell_,   files_, environment_, clock_,     processes_,
                       registry_, desktop_, input_, dialogs_,     codePages_, secrets_};
    Console console_{platform_, main_, pane_, tray_, BuiltInCommands()};
};

TEST_F(MainTest, StartsWithItsDesignTextsAndTheButtonsOutOfSight) {
    EXPECT_EQ(main_.PromptText(), "Prompt>");
    EXPECT_EQ(main_.CommandText(), "Command");
    EXPECT_LT(EdgesIn(Control(IDOK))[2], 0);
    EXPECT_LT(EdgesIn(Control(IDCANCEL))[2], 0);
    EXPECT_TRUE(HasStyle(Control(IDOK), BS_DEFPUSHBUTTON));
    EXPECT_TRUE(HasStyle(PromptBox(), ES_READONLY));
    EXPECT_FALSE(GetWindowLongA(main_.Handle(), GWL_STYLE) &
                 (WS_CAPTION | WS_BORDER | WS_THICKFRAME));
    EXPECT_TRUE(HasStyle(main_.Handle(), WS_EX_TOOLWINDOW, GWL_EXSTYLE));
    // Texts round-trip as ANSI bytes.
    for (const char* text : {"dir \xACTEMP\xAC", ""}) {
        main_.SetCommandText(text);
        EXPECT_EQ(main_.CommandText(), text);
        main_.SetPromptText(text);
        EXPECT_EQ(main_.PromptText(), text);
    }
    // The pane has text only while it shows some.
    EXPECT_FALSE(main_.PaneHasText());
    pane_.Show(PaneView{.text = "x", .bounds = Rect{0, 17, 100, 17}});
    EXPECT_TRUE(main_.PaneHasText());
    pane_.Close();
    EXPECT_FALSE(main_.PaneHasText());
}

// The caret is the end of the selection; the mask is only shown.
TEST_F(MainTest, SelectsLocksMasksAndRaisesTheBar) {
    main_.SetCommandText("abcdef");
    struct Case {
        int start, length, caret;
    } cases[] = {{6, 0, 6}, {2, 0, 2}, {0, 6, 6}, {1, 2, 3}};
    for (const Case& c : cases) {
        main_.SelectCommandText(c.start, c.length);
        EXPECT_EQ(main_.CommandCaret(), c.caret) << c.start << "+" << c.length;
        EXPECT_EQ(Selection(CmdBox()), std::make_pair(DWORD(c.start), DWORD(c.start + c.length)));
    }
    for (bool on : {true, false}) {
        SCOPED_TRACE(on ? "on" : "off");
        main_.SetCommandLocked(on);
        EXPECT_EQ(HasStyle(CmdBox(), ES_READONLY), on);
        main_.SetTopmost(on);
        EXPECT_EQ(HasStyle(main_.Handle(), WS_EX_TOPMOST, GWL_EXSTYLE), on);
        main_.SetPasswordChar(on ? '*' : '\0');
        EXPECT_EQ(SendMessageA(CmdBox(), EM_GETPASSWORDCHAR, 0, 0), on ? '*' : 0);
        EXPECT_EQ(main_.CommandText(), "abcdef");
    }
}

TEST_F(MainTest, MovesAndLaysOutTheControls) {
    main_.Move(Rect{0, 0, 640, 17});
    EXPECT_EQ(main_.Bounds(), (Rect{0, 0, 640, 17}));
    EXPECT_EQ(main_.ScreenSize(),
              (Size{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}));
    main_.LayOut(BarLayout{36, 36, 551, 587});
    EXPECT_EQ(EdgesIn(PromptBox()), (Edges{4, 1, 40, 16}));
    EXPECT_EQ(EdgesIn(CmdBox()), (Edges{36, 1, 587, 16}));
    EXPECT_EQ(EdgesIn(Control(IDOK)), (Edges{587, 1, 640, 16}));
    // A long prompt shows its end; one that fits its box, its start.
    main_.SetPromptText("C:\\a\\very\\long\\folder\\name>");
    main_.LayOut(BarLayout{40, 40, 100, -67});
    EXPECT_EQ(Selection(PromptBox()), std::make_pair(DWORD{27}, DWORD{27}));
    EXPECT_LT(static_cast<short>(LOWORD(SendMessageA(PromptBox(), EM_POSFROMCHAR, 0, 0))), 0);
    main_.SetPromptText("C:\\>");
    main_.LayOut(BarLayout{36, 36, 100, -67});
    EXPECT_GE(static_cast<short>(LOWORD(SendMessageA(PromptBox(), EM_POSFROMCHAR, 0, 0))), 0);
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
        EXPECT_EQ(testing::PaintColours(main_.Handle(), c.message, c.control),
                  (std::array<COLORREF, 3>{c.text, c.bg, c.bg}))
            << c.message << " for " << c.control;
    }
}

// The suggestion's pixels: after the text, in its colour, only while the
// caret is at the end and until it is taken away.
TEST_F(MainTest, TheSuggestionIsDrawnAfterTheTextWhileTheCaretIsAtTheEnd) {
    const COLORREF suggest = RGB(200, 10, 10);
    main_.SetBoxColours(
        BoxColours{RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3), RGB(4, 4, 4), suggest});
    main_.Move(Rect{0, 0, 640, 17});
    main_.LayOut(BarLayout{40, 40, 600, -67});
    main_.Show();
    auto suggestionShown = [&] {
        RedrawWindow(CmdBox(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        RECT client;
        GetClientRect(CmdBox(), &client);
        WindowDc dc(CmdBox());
        // "abcdef" lies well inside the first 100 pixels.
        for (int x = 0; x < std::min<int>(client.right, 100); ++x) {
            for (int y = 0; y < client.bottom; ++y) {
                if (GetPixel(dc.Get(), x, y) == suggest) return true;
            }
        }
        return false;
    };
    main_.SetCommandText("ab");
    main_.SelectCommandText(2, 0);
    main_.SetSuggestion("cdef");
    EXPECT_TRUE(suggestionShown());
    main_.SelectCommandText(1, 0);
    EXPECT_FALSE(suggestionShown());
    main_.SelectCommandText(2, 0);
    main_.SetSuggestion("");
    EXPECT_FALSE(suggestionShown());
}

// Enter and its button run the line; Enter's own character is swallowed,
// not beeped, and other keys go on to the box. Up recalls the history only
// without modifiers. Tab completes the word before the caret and leaves the
// caret after it; neither Tab nor its character reaches the box. (What Esc,
// Up and Down do to the box and the pane the end-to-end tests see.)
TEST_F(MainTest, TheBarTakesEnterTabAndUpAndLetsOtherKeysThrough) {
    main_.SetCommandText("set answer=42");
    EXPECT_TRUE(Key(WM_KEYDOWN, VK_RETURN));
    EXPECT_EQ(console_.In().EvaluateText("answer"), "42");
    EXPECT_EQ(main_.CommandText(), "");
    EXPECT_TRUE(Key(WM_CHAR, '\r'));
    EXPECT_FALSE(Key(WM_KEYDOWN, 'A'));
    main_.SetCommandText("set b=2");
    SendMessageA(main_.Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Control(IDOK)));
    EXPECT_EQ(console_.In().EvaluateText("b"), "2");

    SetShift(true);
    Key(WM_KEYUP, VK_UP);
    SetShift(false);
    EXPECT_EQ(main_.CommandText(), "");
    EXPECT_FALSE(Key(WM_KEYUP, VK_UP));
    EXPECT_EQ(main_.CommandText(), "set b=2");

    main_.SetCommandText("orvanes x");
    main_.SelectCommandText(7, 0);
    EXPECT_TRUE(Key(WM_KEYDOWN, VK_TAB));
    EXPECT_EQ(main_.CommandText(), "orvanesite x");
    EXPECT_EQ(main_.CommandCaret(), 11);
    EXPECT_EQ(Selection(CmdBox()), std::make_pair(DWORD{11}, DWORD{11}));
    EXPECT_TRUE(Key(WM_CHAR, '\t'));
    EXPECT_EQ(main_.CommandText(), "orvanesite x");
}

// Keys typed while a line runs are held, then let through with the
// modifiers they were typed with, and their characters are made once, also
// when they meet a second line before they are delivered; a key the
// console takes at its replay takes its characters with it.
TEST_F(MainTest, KeysTypedWhileALineRunsAreLetThroughOnceWithTheirOwnModifiers) {
    constexpr char kBusyLine[] = "vb t = Timer:Do While Timer - t < 0.2:Loop";
    console_.In().SetVar("F6", "echo f6-fired{ENTER}");
    for (bool shift : {false, true}) {
        DeliverQueued();
        input_.sent.clear();
        main_.SetCommandText("");
        SetShift(shift);
        HWND box = CmdBox();
        PostMessageA(box, WM_KEYDOWN, 'A', 0x001E0001);
        PostMessageA(box, WM_KEYUP, 'A', 0xC01E0001);
        PostMessageA(box, WM_KEYDOWN, VK_F6, 0x00400001);
        PostMessageA(box, WM_KEYUP, VK_F6, 0xC0400001);
        console_.In().RunCommand(kBusyLine);
        SetShift(false);
        console_.In().RunCommand(kBusyLine);
        DeliverQueued();
        EXPECT_EQ(main_.CommandText(), shift ? "A" : "a") << shift;
        EXPECT_EQ(input_.sent.size(), shift ? 0u : 1u) << shift;
    }
    // Ctrl+Backspace deletes a word at its replay, and the character it
    // made as it was typed (0x7F on Windows, a Backspace under Wine) goes
    // with it.
    for (char c : std::string("echo one two")) PostMessageA(CmdBox(), WM_CHAR, c, 1);
    SetShift(true, VK_CONTROL);
    PostMessageA(CmdBox(), WM_KEYDOWN, VK_BACK, 0x000E0001);
    PostMessageA(CmdBox(), WM_KEYUP, VK_BACK, 0xC00E0001);
    console_.In().RunCommand(kBusyLine);
    SetShift(false, VK_CONTROL);
    DeliverQueued();
    EXPECT_EQ(main_.CommandText(), "echo one ");
    EXPECT_EQ(main_.CommandCaret(), 9);
    // A character typed as a VK_PACKET carries its code in the flags, all
    // of their bits: 0x8A9E sets bits that a mark in them would have used.
    main_.SetCommandText("");
    for (WPARAM unit : {0x65E5, 0x8A9E}) {
        PostMessageW(CmdBox(), WM_KEYDOWN, VK_PACKET, static_cast<LPARAM>((unit << 16) | 1));
        DeliverQueued();
    }
    wchar_t typed[8] = {};
    GetWindowTextW(CmdBox(), typed, 8);
    EXPECT_EQ(std::wstring(typed), L"\x65E5\x8A9E");
}

// The bar knows the console only as its events: each window message it
// handles becomes one call, and nothing else reaches the other side.
TEST(MainEventsTest, EachMessageBecomesItsEvent) {
    struct Recorder : ConsoleEvents {
        bool Log(const std::string& call, bool taken = false) {
            calls.push_back(call);
            return taken;
        }
        void Tick() override { Log("Tick"); }
        void CloseRequested() override { Log("CloseRequested"); }
        void Exit() override { Log("Exit"); }
        void ScaleChanged() override { Log("ScaleChanged"); }
        bool KeyDown(int key, int) override { return Log("KeyDown " + std::to_string(key), true); }
        bool KeyUp(int key, int) override { return Log("KeyUp " + std::to_string(key)); }
        bool CharTyped(const std::string& c) override { return Log("CharTyped " + c, c == "x"); }
        void CommandTextChanged() override { Log("CommandTextChanged"); }
        void CommandTextCut() override { Log("CommandTextCut"); }
        void SummonKeyPressed() override { Log("SummonKeyPressed"); }
        void FocusLeft() override { Log("FocusLeft"); }
        void EnterClicked() override { Log("EnterClicked"); }
        void EscClicked() override { Log("EscClicked"); }
        void MouseMove(int, int, const DragKeys&) override { Log("MouseMove"); }
        void TrayMouseMessage(int message) override { Log("Tray " + std::to_string(message)); }
        void TaskbarCreated() override { Log("TaskbarCreated"); }
        std::vector<std::string> calls;
    } events;
    OutputForm pane{GetModuleHandleA(nullptr), nullptr};
    Main main{GetModuleHandleA(nullptr), pane};
    ASSERT_TRUE(main.Create(&events));
    HWND bar = main.Handle();
    struct Case {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        const char* call;  // "" for none
    } cases[] = {
        {WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0, "EnterClicked"},
        {WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0, "EscClicked"},
        {WM_COMMAND, MAKEWPARAM(102, EN_CHANGE), 0, "CommandTextChanged"},
        {WM_COMMAND, MAKEWPARAM(101, EN_CHANGE), 0, ""},
        {WM_COMMAND, MAKEWPARAM(102, EN_MAXTEXT), 0, "CommandTextCut"},
        {WM_HOTKEY, Main::kSummonHotkeyId, 0, "SummonKeyPressed"},
        {WM_HOTKEY, Main::kSummonHotkeyId + 1, 0, ""},
        {WM_ACTIVATEAPP, FALSE, 0, "FocusLeft"},
        {WM_ACTIVATEAPP, TRUE, 0, ""},
        {WM_TIMER, Main::kTimerId, 0, "Tick"},
        {WM_TIMER, Main::kTimerId + 1, 0, ""},
        {WM_CLOSE, 0, 0, "CloseRequested"},
        {WM_ENDSESSION, TRUE, 0, "Exit"},
        {WM_ENDSESSION, FALSE, 0, ""},
        {Main::kTrayMessage, 0, WM_LBUTTONDBLCLK, "Tray 515"},
        {RegisterWindowMessageA("TaskbarCreated"), 0, 0, "TaskbarCreated"},
    };
    for (const Case& c : cases) {
        events.calls.clear();
        SendMessageA(bar, c.message, c.wParam, c.lParam);
        const std::vector<std::string> expected =
            *c.call ? std::vector<std::string>{c.call} : std::vector<std::string>{};
        EXPECT_EQ(events.calls, expected) << c.message << " " << c.wParam;
    }
    // The box takes a whole line; a summon key another holds is refused,
    // and taken once it is let go.
    EXPECT_EQ(SendMessageW(GetDlgItem(bar, 102), EM_GETLIMITTEXT, 0, 0),
              BarWindow::kCommandBoxLimit);
    ASSERT_TRUE(RegisterHotKey(nullptr, 7, MOD_CONTROL | MOD_ALT, 'J'));
    EXPECT_FALSE(main.SetSummonKey(KeyChord{'J', kModCtrl | kModAlt}));
    UnregisterHotKey(nullptr, 7);
    EXPECT_TRUE(main.SetSummonKey(KeyChord{'J', kModCtrl | kModAlt}));
    EXPECT_TRUE(main.SetSummonKey(KeyChord{}));
    events.calls.clear();
    HWND cmdBox = GetDlgItem(bar, 102);
    EXPECT_TRUE(main.PreTranslate(MSG{cmdBox, WM_KEYDOWN, VK_F5, 0, 0, {}}));
    EXPECT_FALSE(main.PreTranslate(MSG{cmdBox, WM_KEYUP, VK_F5, 0, 0, {}}));
    EXPECT_EQ(events.calls, (std::vector<std::string>{"KeyDown 116", "KeyUp 116"}));
    // Characters reach the console first; those it does not take go on.
    events.calls.clear();
    EXPECT_TRUE(main.PreTranslate(MSG{cmdBox, WM_CHAR, 'x', 0, 0, {}}));
    EXPECT_FALSE(main.PreTranslate(MSG{cmdBox, WM_CHAR, 'y', 0, 0, {}}));
    EXPECT_EQ(events.calls, (std::vector<std::string>{"CharTyped x", "CharTyped y"}));
    // A character of two UTF-16 units reaches the console once, whole.
    events.calls.clear();
    EXPECT_FALSE(main.PreTranslate(MSG{cmdBox, WM_CHAR, 0xD83D, 0, 0, {}}));
    EXPECT_FALSE(main.PreTranslate(MSG{cmdBox, WM_CHAR, 0xDE00, 0, 0, {}}));
    EXPECT_EQ(events.calls, (std::vector<std::string>{"CharTyped " + Narrow(L"\xD83D\xDE00", 2)}));
}

}  // namespace
}  // namespace vantrel::win32
