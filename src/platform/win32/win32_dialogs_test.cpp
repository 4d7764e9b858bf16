// Real boxes, answered from inside their own modal loop: a thread timer
// fires there, finds the box, reads it and presses one of its buttons.
#include "platform/win32/win32_dialogs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/unique_handle.h"
#include "platform/win32/window_tree.h"

namespace vantrel::win32 {
namespace {

std::string TextOf(HWND window) {
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The texts of a box's children of one class, in their order.
std::vector<std::string> TextsOf(HWND box, const char* cls) {
    std::vector<std::string> texts;
    for (HWND child : ChildWindows(box)) {
        if (ClassName(child) == cls && IsWindowVisible(child)) texts.push_back(TextOf(child));
    }
    return texts;
}

RECT RectOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

// What the user does once the box is up; it must end the box.
std::function<void(HWND box)> userAction;

void CALLBACK AnswerBox(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM found) {
            if (ClassName(window) != "#32770" || !IsWindowVisible(window)) return TRUE;
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&box));
    if (!box) return;
    KillTimer(nullptr, timer);
    userAction(box);
}

void Press(HWND box, int id) {
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
}

class Win32DialogsTest : public ::testing::Test {
  protected:
    Win32DialogsTest() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VantrelDialogsTestOwner";
        RegisterClassA(&wc);
        owner_.Reset(CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, "owner",
                                     WS_POPUP | WS_VISIBLE, 0, 0, 1280, 17, nullptr, nullptr,
                                     wc.hInstance, nullptr));
        dialogs_.SetOwner(owner_.Get());
        // A window destroyed by an earlier test of this thread may have
        // left its WM_QUIT, which would end every box at once.
        MSG quit;
        while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    // Runs call with the user's action armed for the box it opens.
    template <typename Call>
    auto WithUser(std::function<void(HWND)> action, Call call) {
        userAction = std::move(action);
        SetTimer(nullptr, 0, 50, AnswerBox);
        return call();
    }

    UniqueWindow owner_;
    Win32Dialogs dialogs_;
};

TEST_F(Win32DialogsTest, AMessageBoxShowsItsTextsAboveTheBarAndGivesTheButtonPressed) {
    HWND seenOwner = nullptr;
    bool topmost = false, ownerEnabled = true;
    std::string title;
    std::vector<std::string> statics, buttons;
    const int pressed = WithUser(
        [&](HWND box) {
            seenOwner = GetWindow(box, GW_OWNER);
            topmost = GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOPMOST;
            ownerEnabled = IsWindowEnabled(owner_.Get());
            title = TextOf(box);
            statics = TextsOf(box, "Static");
            buttons = TextsOf(box, "Button");
            Press(box, IDNO);
        },
        [&] {
            return dialogs_.MsgBox({"Proceed?", "Ask", MB_YESNO | MB_ICONQUESTION});
        });
    EXPECT_EQ(pressed, IDNO);
    EXPECT_EQ(seenOwner, owner_.Get());
    EXPECT_TRUE(topmost);
    EXPECT_FALSE(ownerEnabled) << "the bar takes no input while the box is up";
    EXPECT_TRUE(IsWindowEnabled(owner_.Get()));
    EXPECT_EQ(title, "Ask");
    EXPECT_NE(std::find(statics.begin(), statics.end(), "Proceed?"), statics.end());
    EXPECT_EQ(buttons, (std::vector<std::string>{"&Yes", "&No"}));
}

TEST_F(Win32DialogsTest, AnInputBoxOffersTheDefaultTextSelectedAndGivesWhatWasTyped) {
    std::string title, edit;
    std::vector<std::string> statics, buttons;
    DWORD start = 1, end = 0;
    bool editFocused = false, topmost = false;
    RECT at{};
    std::string answer = "untouched";
    const bool accepted = WithUser(
        [&](HWND box) {
            HWND editBox = GetDlgItem(box, Win32Dialogs::kEditId);
            title = TextOf(box);
            statics = TextsOf(box, "Static");
            buttons = TextsOf(box, "Button");
            edit = TextOf(editBox);
            SendMessageA(editBox, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                         reinterpret_cast<LPARAM>(&end));
            editFocused = GetFocus() == editBox;
            topmost = GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOPMOST;
            at = RectOf(box);
            SetWindowTextA(editBox, "Bob \xE9");
            Press(box, IDOK);
        },
        [&] {
            return dialogs_.InputBox({"Name?", "Ask \xE9", "Ann", 1500, 3000}, &answer);
        });
    EXPECT_TRUE(accepted);
    EXPECT_EQ(answer, "Bob \xE9");
    EXPECT_EQ(title, "Ask \xE9");
    EXPECT_EQ(statics, std::vector<std::string>{"Name?"});
    EXPECT_EQ(buttons, (std::vector<std::string>{"OK", "Cancel"}));
    EXPECT_EQ(edit, "Ann");
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 3u);
    EXPECT_TRUE(editFocused);
    EXPECT_TRUE(topmost);
    EXPECT_EQ(at.left, 100);
    EXPECT_EQ(at.top, 200);
}

TEST_F(Win32DialogsTest, CancelAndClosingAnInputBoxGiveNothing) {
    for (bool close : {false, true}) {
        std::string answer = "untouched";
        const bool accepted = WithUser(
            [&](HWND box) {
                SetDlgItemTextA(box, Win32Dialogs::kEditId, "typed");
                if (close) {
                    PostMessageA(box, WM_CLOSE, 0, 0);
                } else {
                    Press(box, IDCANCEL);
                }
            },
            [&] {
                return dialogs_.InputBox({"Name?", "Ask", "Ann", {}, {}}, &answer);
            });
        EXPECT_FALSE(accepted) << close;
        EXPECT_EQ(answer, "untouched") << close;
    }
}

TEST_F(Win32DialogsTest, AnInputBoxStandsWholeOnTheScreenAndGrowsForALongPrompt) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    std::string lines;
    for (int i = 0; i < 120; ++i) lines += "A line of the prompt\r\n";
    // Far off the screen, then centred with a prompt taller than the screen.
    const InputBoxRequest requests[] = {{"Name?", "", "", 1500000, -75000},
                                        {lines, "", "", {}, {}}};
    std::vector<int> heights;
    for (const InputBoxRequest& request : requests) {
        RECT at{}, edit{}, prompt{};
        std::string answer;
        WithUser(
            [&](HWND box) {
                at = RectOf(box);
                edit = RectOf(GetDlgItem(box, Win32Dialogs::kEditId));
                prompt = RectOf(GetDlgItem(box, Win32Dialogs::kPromptId));
                Press(box, IDCANCEL);
            },
            [&] { return dialogs_.InputBox(request, &answer); });
        heights.push_back(at.bottom - at.top);
        if (request.left) {
            EXPECT_EQ(at.right, screenWidth);
            EXPECT_EQ(at.top, 0);
        } else {
            EXPECT_LE(std::abs(at.left + at.right - screenWidth), 1);
        }
        EXPECT_GE(at.left, 0);
        EXPECT_GE(at.top, 0);
        EXPECT_LE(at.right, screenWidth);
        EXPECT_LE(at.bottom, screenHeight);
        EXPECT_GE(edit.top, prompt.bottom) << "the edit box stays below the prompt";
        EXPECT_LE(edit.bottom, at.bottom) << "the edit box stays inside the box";
    }
    EXPECT_GT(heights[1], heights[0]);
    EXPECT_GT(heights[1], screenHeight * 3 / 4);
}

}  // namespace
}  // namespace vantrel::win32
