// The COM thread's hand-off on its own: where work runs, what a stop does
// to work that waits or runs, how call-backs come back and nest, and that
// the end does not hang on a call that never returns.
#include "platform/win32/com_apartment.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "script/errors.h"

namespace vantrel::com {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// A gate a test opens: work that passes it has waited until then.
class Gate {
  public:
    Gate() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~Gate() { CloseHandle(event_); }
    Gate(const Gate&) = delete;
    Gate& operator=(const Gate&) = delete;
    void Open() { SetEvent(event_); }
    void Pass() { WaitForSingleObject(event_, 10000); }

  private:
    HANDLE event_;
};

// Runs work and says how it ended: "ok", "error N" or the exception's text.
std::string Outcome(ComThread& thread, const ComThread::Work& work,
                    const ComThread::KeepGoing& keepGoing) {
    try {
        thread.Run(work, keepGoing);
        return "ok";
    } catch (const script::ScriptError& e) {
        return "error " + std::to_string(e.number);
    } catch (const std::exception& e) {
        return e.what();
    }
}

// Waits until the call the thread was stranded in has returned.
void WaitReturned(const ComThread& thread) {
    const auto until = Clock::now() + 10s;
    while (thread.Stranded() && Clock::now() < until) Sleep(1);
}

ComThread::KeepGoing StopAfter(std::chrono::milliseconds delay) {
    const auto at = Clock::now() + delay;
    return [at] { return Clock::now() < at; };
}

TEST(ComApartment, WorkRunsOnTheComThreadAndWhatItRaisesComesBack) {
    ComThread thread;
    ASSERT_TRUE(thread.Started());
    DWORD ranOn = 0;
    bool comThreadSaysSo = false;
    struct Case {
        const char* what;
        ComThread::Work work;
        std::string outcome;
    } cases[] = {
        {"work that ends well",
         [&](ForeignCall&) {
             ranOn = GetCurrentThreadId();
             comThreadSaysSo = thread.OnComThread();
         },
         "ok"},
        {"a script error", [](ForeignCall&) { script::Throw(424); }, "error 424"},
        {"a standard exception", [](ForeignCall&) { throw std::runtime_error("broken"); },
         "broken"},
        {"a script error after the object's part",
         [](ForeignCall& foreign) {
             foreign.Run([] {});
             script::Throw(5);
         },
         "error 5"},
    };
    for (const Case& c : cases) EXPECT_EQ(Outcome(thread, c.work, nullptr), c.outcome) << c.what;
    EXPECT_NE(ranOn, GetCurrentThreadId());
    EXPECT_TRUE(comThreadSaysSo);
    EXPECT_FALSE(thread.OnComThread());
    // What goes on the COM thread is deleted on the UI thread, later.
    struct Grave final : Buried {
        void Drop() noexcept override { droppedOn = GetCurrentThreadId(); }
        DWORD droppedOn = 0;
    } graves[2];
    thread.Do([&] {
        for (Grave& grave : graves) thread.Bury(&grave);
    });
    for (const Grave& grave : graves) EXPECT_EQ(grave.droppedOn, GetCurrentThreadId());
}

// A stop abandons work that is queued (it never runs) or inside the object
// (it finishes there, told it was abandoned); work converting values is
// waited for.
TEST(ComApartment, AStopAbandonsWhatWaitsOrRunsInTheObject) {
    ComThread thread;
    Gate gate;
    std::atomic<int> told{-1};
    // Inside the object until the gate opens.
    auto inside = [&](ForeignCall& foreign) { told = foreign.Run([&] { gate.Pass(); }) ? 1 : 0; };
    const auto start = Clock::now();
    EXPECT_EQ(Outcome(thread, inside, StopAfter(100ms)), "error 18");
    EXPECT_LT(Clock::now() - start, 1000ms);
    EXPECT_EQ(told.load(), -1);

    EXPECT_TRUE(thread.Stranded());
    gate.Open();
    WaitReturned(thread);
    EXPECT_EQ(told.load(), 0);

    // Queued behind what holds the thread (a release that takes long):
    // abandoned before it runs.
    Gate held;
    thread.Post([&] { held.Pass(); });
    bool ran = false;
    EXPECT_EQ(Outcome(
                  thread, [&](ForeignCall&) { ran = true; }, StopAfter(100ms)),
              "error 18");
    EXPECT_FALSE(thread.Stranded());
    held.Open();
    thread.Do([] {});
    EXPECT_FALSE(ran);

    // Converting values (the caller's, while it waits): never abandoned
    // midway.
    std::atomic<bool> started{false};
    bool converted = false;
    auto converting = [&](ForeignCall&) {
        started = true;
        Sleep(300);
        converted = true;
    };
    EXPECT_EQ(Outcome(thread, converting, [&] { return !started.load(); }), "ok");
    EXPECT_TRUE(converted);
}

// A call-back runs on the waiting thread; the script code it runs may call
// the COM thread again, which serves it meanwhile. With nobody waiting, a
// call-back is refused.
TEST(ComApartment, CallBacksComeBackToTheWaitingThreadAndNest) {
    ComThread thread;
    std::vector<std::string> steps;
    DWORD callbackOn = 0;
    bool accepted = false;
    thread.Run(
        [&](ForeignCall& foreign) {
            foreign.Run([&] {
                accepted = thread.CallBack([&] {
                    callbackOn = GetCurrentThreadId();
                    steps.push_back("call-back");
                    thread.Do([&] { steps.push_back("nested on the COM thread"); });
                });
                steps.push_back("object goes on");
            });
        },
        nullptr);
    EXPECT_TRUE(accepted);
    EXPECT_EQ(callbackOn, GetCurrentThreadId());
    EXPECT_EQ(steps, (std::vector<std::string>{"call-back", "nested on the COM thread",
                                               "object goes on"}));

    std::atomic<int> answer{-1};
    auto tryCallBack = [&] { answer = thread.CallBack([] {}) ? 1 : 0; };
    thread.Run([&](ForeignCall&) { tryCallBack(); }, nullptr);
    EXPECT_EQ(answer.exchange(-1), 0) << "outside the object's part";
    thread.Post(tryCallBack);
    thread.Do([] {});
    EXPECT_EQ(answer.load(), 0) << "from posted work";
    EXPECT_FALSE(thread.CallBack([] {}));  // not the COM thread
}

// The end waits for posted work, but not for ever for a call that does not
// return; a handle let go waits for nothing.
TEST(ComApartment, TheEndDoesNotWaitForACallThatNeverReturns) {
    Gate gate;
    bool posted = false;
    auto thread = std::make_unique<ComThread>();
    thread->Post([&] { posted = true; });
    thread->Do([] {});
    EXPECT_TRUE(posted);
    auto stuck = [&](ForeignCall& foreign) { foreign.Run([&] { gate.Pass(); }); };
    EXPECT_EQ(Outcome(*thread, stuck, StopAfter(50ms)), "error 18");
    EXPECT_TRUE(thread->Stranded());
    // Stranded, it refuses work at once rather than queue it.
    EXPECT_EQ(Outcome(
                  *thread, [](ForeignCall&) {}, nullptr),
              std::to_string(static_cast<int>(RPC_E_SERVERCALL_RETRYLATER)).insert(0, "error "));
    auto start = Clock::now();
    EXPECT_FALSE(thread->End(500));
    EXPECT_LT(Clock::now() - start, 2000ms);
    start = Clock::now();
    thread.reset();
    EXPECT_LT(Clock::now() - start, 200ms);
    gate.Open();
}

}  // namespace
}  // namespace vantrel::com
