#include "platform/win32/com_apartment.h"

#include <atomic>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "platform/win32/unique_handle.h"
#include "script/errors.h"

namespace vantrel::com {

namespace {

// How often the waiting UI thread runs its pump and asks whether to go on.
constexpr DWORD kWaitSliceMs = 25;
// How long the end of the apartment waits for a thread still inside an
// object's call.
constexpr DWORD kShutdownWaitMs = 2000;

std::atomic<ComThread*> current{nullptr};

// Answers the messages other threads and programs send (WM_NULL among
// them) without taking anything from the queue.
void AnswerSentMessages() {
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

}  // namespace

struct ComThread::Shared {
    enum class Phase { kQueued, kWorking, kForeign, kDone };
    struct Call {
        Work work;
        Phase phase = Phase::kQueued;
        bool posted = false;  // nobody waits
        bool abandoned = false;
        std::exception_ptr error;
        // The first thing a call-back raised, for the script once the call
        // is done.
        std::exception_ptr callbackError;
        // A call-back handed to the waiting thread, and whether it ran.
        const std::function<void()>* callback = nullptr;
        bool callbackTaken = false;
        bool callbackDone = false;
    };

    // Both guarded by m. The COM thread's wake is set for new work, a
    // call-back done and the end; the UI thread's for work done and a
    // call-back handed over.
    std::mutex m;
    std::deque<std::shared_ptr<Call>> queue;
    bool quit = false;
    // Pushed without a lock: a mutex may raise, and burying must not.
    std::atomic<Buried*> buried{nullptr};
    win32::UniqueHandle comWake{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    win32::UniqueHandle uiWake{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    win32::UniqueHandle ended{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<DWORD> threadId{0};
    bool started = false;
    // The COM thread's own: the work it runs now, innermost last.
    std::vector<std::shared_ptr<Call>> running;

    // What the work a Call runs is given for its Foreign part.
    struct Foreign final : ForeignCall {
        Foreign(Shared* shared, Call* running) : s(shared), call(running) {}
        bool Run(const std::function<void()>& fn) override;
        Shared* s;
        Call* call;
    };

    // The COM thread's side.
    void Serve(const std::function<bool()>& done);
    void RunCall(const std::shared_ptr<Call>& call);
    void ThreadMain();

    // The waiting thread's side, one step of the hand-off each.
    std::shared_ptr<Call> Queue(Work work, bool posted);
    // What the waiting thread is to do next: the call's phase, and a
    // call-back it now holds, if one was handed over.
    struct Next {
        Phase phase;
        const std::function<void()>* callback;
    };
    Next Look(Call& call);
    void RunCallBack(Call& call, const std::function<void()>& fn);
    // Marks the call abandoned if it is queued or inside the object; false
    // when it is converting values, which is waited for.
    bool Abandon(Call& call);
    void WaitSlice();
};

// The calls run one at a time, in order; a call-back's nested calls run
// inside the wait for it.
void ComThread::Shared::Serve(const std::function<bool()>& done) {
    for (;;) {
        std::shared_ptr<Call> next;
        {
            std::lock_guard<std::mutex> lock(m);
            if (!queue.empty()) {
                next = std::move(queue.front());
                queue.pop_front();
            }
        }
        if (next) {
            RunCall(next);
            continue;
        }
        if (done()) return;
        // The apartment's own messages (calls from other apartments,
        // objects' windows) are served while nothing is queued.
        HANDLE wake = comWake.Get();
        MsgWaitForMultipleObjects(1, &wake, FALSE, INFINITE, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

bool ComThread::Shared::Foreign::Run(const std::function<void()>& fn) {
    {
        std::lock_guard<std::mutex> lock(s->m);
        if (call->abandoned) return false;
        call->phase = Phase::kForeign;
    }
    fn();
    std::lock_guard<std::mutex> lock(s->m);
    if (call->abandoned) return false;
    call->phase = Phase::kWorking;
    return true;
}

void ComThread::Shared::RunCall(const std::shared_ptr<Call>& call) {
    {
        std::lock_guard<std::mutex> lock(m);
        if (call->abandoned) {
            call->phase = Phase::kDone;
            return;
        }
        call->phase = Phase::kWorking;
    }
    running.push_back(call);
    Foreign foreign(this, call.get());
    std::exception_ptr error;
    try {
        call->work(foreign);
    } catch (...) {
        error = std::current_exception();
    }
    running.pop_back();
    Work spent = std::move(call->work);
    spent = nullptr;
    {
        std::lock_guard<std::mutex> lock(m);
        call->error = std::move(error);
        call->phase = Phase::kDone;
    }
    SetEvent(uiWake.Get());
}

void ComThread::Shared::ThreadMain() {
    threadId = GetCurrentThreadId();
    const bool apartment = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    Serve([this] {
        std::lock_guard<std::mutex> lock(m);
        return quit && queue.empty();
    });
    if (apartment) CoUninitialize();
    SetEvent(ended.Get());
}

ComThread::ComThread() : shared_(std::make_shared<Shared>()) {
    if (!shared_->comWake.Valid() || !shared_->uiWake.Valid() || !shared_->ended.Valid()) return;
    try {
        std::thread thread([s = shared_] { s->ThreadMain(); });
        thread.detach();
        shared_->started = true;
    } catch (const std::system_error&) {
    }
}

ComThread::~ComThread() {
    if (shared_->started) {
        {
            std::lock_guard<std::mutex> lock(shared_->m);
            shared_->quit = true;
        }
        SetEvent(shared_->comWake.Get());
        WaitForSingleObject(shared_->ended.Get(), kShutdownWaitMs);
    }
    DropBuried();
}

bool ComThread::Started() const {
    return shared_->started;
}

bool ComThread::OnComThread() const noexcept {
    return shared_->threadId.load() == GetCurrentThreadId();
}

std::shared_ptr<ComThread::Shared::Call> ComThread::Shared::Queue(Work work, bool posted) {
    auto call = std::make_shared<Call>();
    call->work = std::move(work);
    call->posted = posted;
    {
        std::lock_guard<std::mutex> lock(m);
        queue.push_back(call);
    }
    SetEvent(comWake.Get());
    return call;
}

ComThread::Shared::Next ComThread::Shared::Look(Call& call) {
    std::lock_guard<std::mutex> lock(m);
    Next next{call.phase, nullptr};
    if (call.callback && !call.callbackTaken) {
        next.callback = call.callback;
        call.callbackTaken = true;
    }
    return next;
}

// What the call-back raises is kept for the script, not let through the
// COM thread's frames: the object heard of the failure from fn itself.
void ComThread::Shared::RunCallBack(Call& call, const std::function<void()>& fn) {
    std::exception_ptr raised;
    try {
        fn();
    } catch (...) {
        raised = std::current_exception();
    }
    {
        std::lock_guard<std::mutex> lock(m);
        if (raised && !call.callbackError) call.callbackError = std::move(raised);
        call.callbackDone = true;
        call.callback = nullptr;
        call.callbackTaken = false;
    }
    SetEvent(comWake.Get());
}

// Phases are read again under the lock: a call that has just left the
// object is converting the caller's values now and is waited for.
bool ComThread::Shared::Abandon(Call& call) {
    {
        std::lock_guard<std::mutex> lock(m);
        if (call.phase != Phase::kQueued && call.phase != Phase::kForeign) return false;
        call.abandoned = true;
    }
    SetEvent(comWake.Get());
    return true;
}

void ComThread::Shared::WaitSlice() {
    HANDLE wake = uiWake.Get();
    MsgWaitForMultipleObjects(1, &wake, FALSE, kWaitSliceMs, QS_SENDMESSAGE);
    AnswerSentMessages();
}

void ComThread::Run(Work work, const KeepGoing& keepGoing) {
    struct Inline final : ForeignCall {
        bool Run(const std::function<void()>& fn) override {
            fn();
            return true;
        }
    };
    if (!shared_->started || OnComThread()) {
        Inline here;
        work(here);
        return;
    }
    Shared& s = *shared_;
    const std::shared_ptr<Shared::Call> call = s.Queue(std::move(work), false);
    bool stopped = false;
    bool abandoned = false;
    for (;;) {
        const Shared::Next next = s.Look(*call);
        if (next.phase == Shared::Phase::kDone) break;
        if (next.callback) {
            s.RunCallBack(*call, *next.callback);
            continue;
        }
        // While the COM thread converts values, script state is its: the
        // pump (which may read settings through the engine) waits.
        const bool mayPump = next.phase != Shared::Phase::kWorking;
        if (mayPump && !stopped && keepGoing && !keepGoing()) stopped = true;
        if (stopped && s.Abandon(*call)) {
            abandoned = true;
            break;
        }
        s.WaitSlice();
    }
    DropBuried();
    // An abandoned call is the COM thread's from now on: nothing of it is
    // read here.
    if (abandoned) script::Throw(script::kErrUserInterrupt);
    // The call-back's error first: it names the line in the script's own
    // code, where the object's failure would name only the object's call.
    if (call->callbackError) std::rethrow_exception(call->callbackError);
    if (call->error) std::rethrow_exception(call->error);
    if (stopped) script::Throw(script::kErrUserInterrupt);
}

void ComThread::Do(const std::function<void()>& work) {
    Run([&work](ForeignCall&) { work(); }, nullptr);
}

void ComThread::Post(std::function<void()> work) {
    // Without a thread there is nowhere the work may run: it is dropped.
    // On the COM thread itself, it waits its turn after what runs now.
    if (!shared_->started) return;
    shared_->Queue([w = std::move(work)](ForeignCall&) { w(); }, true);
}

bool ComThread::CallBack(const std::function<void()>& fn) {
    Shared& s = *shared_;
    if (!OnComThread() || s.running.empty()) return false;
    std::shared_ptr<Shared::Call> call = s.running.back();
    {
        std::lock_guard<std::mutex> lock(s.m);
        if (call->posted || call->abandoned || call->phase != Shared::Phase::kForeign ||
            call->callback) {
            return false;
        }
        call->callback = &fn;
        call->callbackTaken = false;
        call->callbackDone = false;
    }
    SetEvent(s.uiWake.Get());
    s.Serve([&] {
        std::lock_guard<std::mutex> lock(s.m);
        return call->callbackDone || (call->abandoned && !call->callbackTaken);
    });
    std::lock_guard<std::mutex> lock(s.m);
    const bool ran = call->callbackDone;
    call->callback = nullptr;
    call->callbackDone = false;
    return ran;
}

void ComThread::Bury(Buried* object) noexcept {
    std::atomic<Buried*>& head = shared_->buried;
    object->nextBuried_ = head.load();
    while (!head.compare_exchange_weak(object->nextBuried_, object)) {
    }
}

void ComThread::DropBuried() noexcept {
    Buried* object = shared_->buried.exchange(nullptr);
    while (object) {
        Buried* next = object->nextBuried_;
        object->Drop();
        object = next;
    }
}

ComThread* CurrentComThread() {
    return current.load();
}

void SetCurrentComThread(ComThread* thread) {
    current.store(thread);
}

}  // namespace vantrel::com
