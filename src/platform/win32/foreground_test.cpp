#include "platform/win32/foreground.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/window_testing.h"

namespace vantrel::win32 {
namespace {

const HWND kBar = reinterpret_cast<HWND>(0x100);
const HWND kOurPane = reinterpret_cast<HWND>(0x180);
const HWND kOtherProgram = reinterpret_cast<HWND>(0x200);
constexpr DWORD kOurThread = 7;
constexpr DWORD kOtherThread = 9;

// A desktop that records the calls made to it. SetForegroundWindow is
// refused the given number of times, as the foreground lock refuses it,
// and granted after that.
class RecordingDesktop : public ForegroundCalls {
  public:
    HWND front = kOtherProgram;
    int refusals = 0;
    bool attachRefused = false;
    bool frontHung = false;
    std::vector<std::string> calls;

    // Records the call and answers with result.
    template <typename T>
    T Log(const std::string& call, T result) {
        calls.push_back(call);
        return result;
    }
    HWND GetForegroundWindow() override { return Log("GetForegroundWindow", front); }
    DWORD GetWindowThreadProcessId(HWND window) override {
        return Log("GetWindowThreadProcessId", window == kOtherProgram ? kOtherThread : kOurThread);
    }
    DWORD GetCurrentThreadId() override { return Log("GetCurrentThreadId", kOurThread); }
    bool IsHungAppWindow(HWND) override { return Log("IsHungAppWindow", frontHung); }
    bool AttachThreadInput(DWORD from, DWORD to, bool attach) override {
        return Log("AttachThreadInput " + std::to_string(from) + " " + std::to_string(to) +
                       (attach ? " on" : " off"),
                   !attachRefused);
    }
    void SendAltKey(bool down) override { calls.push_back(down ? "Alt down" : "Alt up"); }
    bool SetForegroundWindow(HWND window) override {
        calls.push_back("SetForegroundWindow");
        if (refusals > 0) {
            --refusals;
            return false;
        }
        front = window;
        return true;
    }
    void BringWindowToTop(HWND) override { calls.push_back("BringWindowToTop"); }
};

using Calls = std::vector<std::string>;

Calls Join(std::initializer_list<Calls> parts) {
    Calls all;
    for (const Calls& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

const Calls kLook = {"GetForegroundWindow"};
const Calls kLookAtFront = {"GetForegroundWindow", "GetWindowThreadProcessId", "GetCurrentThreadId",
                            "IsHungAppWindow"};
const Calls kAttach = Join({kLookAtFront, {"AttachThreadInput 7 9 on"}});
const Calls kSet = {"SetForegroundWindow", "BringWindowToTop"};
const Calls kSetWithAlt = {"Alt down", "SetForegroundWindow", "BringWindowToTop", "Alt up"};
const Calls kDetach = {"AttachThreadInput 7 9 off"};

TEST(BringToForegroundTest, MakesTheCallsInOrderAndVerifiesTheResult) {
    const struct {
        const char* name;
        HWND front;
        int refusals;
        bool attachRefused, frontHung, inFront;
        Calls calls;
    } cases[] = {
        {"already in front", kBar, 0, false, false, true, kLook},
        {"granted at once", kOtherProgram, 0, false, false, true,
         Join({kLook, kAttach, kSet, kDetach, kLook})},
        {"refused once, granted with the Alt key", kOtherProgram, 1, false, false, true,
         Join({kLook, kAttach, kSet, kDetach, kLook, kAttach, kSetWithAlt, kDetach, kLook})},
        {"refused twice: no third attempt", kOtherProgram, 2, false, false, false,
         Join({kLook, kAttach, kSet, kDetach, kLook, kAttach, kSetWithAlt, kDetach, kLook})},
        {"an attachment refused is not undone", kOtherProgram, 1, true, false, true,
         Join({kLook, kAttach, kSet, kLook, kAttach, kSetWithAlt, kLook})},
        {"no foreground window: nothing to attach to", nullptr, 0, false, false, true,
         Join({kLook, kLook, {"GetCurrentThreadId"}, kSet, kLook})},
        {"our own thread in front: no attachment", kOurPane, 0, false, false, true,
         Join({kLook, kLook, {"GetWindowThreadProcessId", "GetCurrentThreadId"}, kSet, kLook})},
        {"a hung program in front: no attachment", kOtherProgram, 0, false, true, true,
         Join({kLook, kLookAtFront, kSet, kLook})},
    };
    for (const auto& c : cases) {
        RecordingDesktop desktop;
        desktop.front = c.front;
        desktop.refusals = c.refusals;
        desktop.attachRefused = c.attachRefused;
        desktop.frontHung = c.frontHung;
        EXPECT_EQ(BringToForeground(desktop, kBar), c.inFront) << c.name;
        EXPECT_EQ(desktop.calls, c.calls) << c.name;
    }
}

// The real calls on a window of this process, which the foreground lock
// lets through: the window is in front afterwards.
TEST(BringToForegroundTest, BringsAWindowOfThisProcessToTheFront) {
    UniqueWindow window = testing::MakeWindow("Vantrel foreground test");
    ASSERT_TRUE(window.Valid());
    EXPECT_TRUE(BringToForeground(window.Get()));
    EXPECT_EQ(GetForegroundWindow(), window.Get());
}

}  // namespace
}  // namespace vantrel::win32
