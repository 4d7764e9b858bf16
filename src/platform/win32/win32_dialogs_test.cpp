// Real boxes, answered from inside their own modal loop: a thread timer
// fires there, finds the box, reads it and presses one of its buttons.
#include "platform/win32/win32_dialogs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/window_testing.h"
#include "platform/win32/window_tree.h"

namespace vantrel::win32 {
namespace {

using testing::Edges;
using testing::EdgesOf;

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
        dialogs_.SetOwner(owner_.Get());
        // A window destroyed by an earlier test of this thread may have
        // left its WM_QUIT, which would end every box at once.
        MSG quit;
        while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    // Arms the user's action for the next box the thread opens.
    static void WhenUp(std::function<void(HWND)> action) {
        userAction = std::move(action);
        SetTimer(nullptr, 0, 50, AnswerBox);
    }

    UniqueWindow owner_ = testing::MakeWindow("owner", WS_POPUP | WS_VISIBLE,
                                              WS_EX_TOPMOST | WS_EX_TOOLWINDOW, {0, 0, 1280, 17});
    Win32Dialogs dialogs_;
};

// An input box gives what was typed on OK, its title and answer crossing as
// the process's text. Cancel, closing the box and a stop of the line behind
// it all end a box as Cancel, its answer untouched. The stop closes it from
// inside its loop whatever buttons it has: even a Yes/No box, which Esc
// cannot close. With no box up, a stop leaves other dialogs alone.
TEST_F(Win32DialogsTest, OkGivesWhatWasTypedAndEveryOtherEndGivesNothing) {
    const struct {
        const char* what;
        std::function<void(HWND)> end;
        bool ok;
        const char* answer;
    } ends[] = {
        {"OK", [](HWND box) { Press(box, IDOK); }, true, "Bob \xE9"},
        {"Cancel", [](HWND box) { Press(box, IDCANCEL); }, false, "untouched"},
        {"closing", [](HWND box) { PostMessageA(box, WM_CLOSE, 0, 0); }, false, "untouched"},
        {"CloseBox", [this](HWND) { dialogs_.CloseBox(); }, false, "untouched"},
    };
    for (const auto& e : ends) {
        SCOPED_TRACE(e.what);
        std::string answer = "untouched";
        WhenUp([&](HWND box) {
            EXPECT_EQ(WindowText(box), "Ask \xE9");
            SetDlgItemTextA(box, Win32Dialogs::kEditId, "Bob \xE9");
            e.end(box);
        });
        EXPECT_EQ(dialogs_.InputBox({"Name?", "Ask \xE9", "Ann", {}, {}}, &answer), e.ok);
        EXPECT_EQ(answer, e.answer);
    }
    for (UINT buttons : {MB_OK, MB_YESNO, MB_OKCANCEL}) {
        WhenUp([&](HWND) { dialogs_.CloseBox(); });
        EXPECT_EQ(dialogs_.MsgBox({"Go?", "Ask", int(buttons)}), IDCANCEL) << buttons;
    }
    EXPECT_TRUE(IsWindowEnabled(owner_.Get()));
    HWND other = CreateWindowExA(0, "#32770", "other", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    dialogs_.CloseBox();
    EXPECT_TRUE(IsWindow(other));
    EXPECT_TRUE(IsWindowEnabled(other));
    DestroyWindow(other);
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
        SCOPED_TRACE(request.left ? "off the screen" : "long prompt");
        std::string answer;
        WhenUp([&](HWND box) {
            const Edges at = EdgesOf(box);
            const Edges edit = EdgesOf(GetDlgItem(box, Win32Dialogs::kEditId));
            const Edges prompt = EdgesOf(GetDlgItem(box, Win32Dialogs::kPromptId));
            heights.push_back(at[3] - at[1]);
            if (request.left) {
                EXPECT_EQ(at[2], screenWidth);
                EXPECT_EQ(at[1], 0);
            } else {
                EXPECT_LE(std::abs(at[0] + at[2] - screenWidth), 1);
            }
            EXPECT_TRUE(at[0] >= 0 && at[1] >= 0 && at[2] <= screenWidth && at[3] <= screenHeight)
                << "off the screen: " << ::testing::PrintToString(at);
            EXPECT_GE(edit[1], prompt[3]) << "the edit box stays below the prompt";
            EXPECT_LE(edit[3], at[3]) << "the edit box stays inside the box";
            Press(box, IDCANCEL);
        });
        dialogs_.InputBox(request, &answer);
    }
    ASSERT_EQ(heights.size(), 2u);
    EXPECT_GT(heights[1], heights[0]);
    EXPECT_GT(heights[1], screenHeight * 3 / 4);
}

}  // namespace
}  // namespace vantrel::win32
