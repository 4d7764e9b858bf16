#include "platform/win32/com_apartment.h"

#include <algorithm>
#include <atomic>
#include <deque>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_clock.h"
#include "script/errors.h"

namespace vantrel::com {

namespace {

// How often the waiting UI thread runs its pump and asks whether to go on.
constexpr DWORD kWaitSliceMs = 25;
// How long the end of the apartment waits for a thread still inside an
// object's call.
constexpr DWORD kShutdownWaitMs = 2000;

std::atomic<ComThreads*> currentThreads{nullptr};

// Script objects whose last reference went on a COM thread. Pushed without
// a lock: a mutex may raise, and burying must not.
std::atomic<Buried*> buried{nullptr};

// What a call on a stranded thread fails with: COM's own "busy" answer,
// with a text that says why. Every object made on that thread before the
// call was stopped answers so, not only the one that was called.
[[noreturn]] void ThrowStranded() {
    script::Throw(static_cast<int>(RPC_E_SERVERCALL_RETRYLATER),
                  "The object is busy: it was made on the same thread as a call that was "
                  "stopped and has not returned yet");
}

// Answers the messages other threads and programs send (WM_NULL among
// them) without taking anything from the queue.
void AnswerSentMessages() {
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

// On a COM thread, its own state; on the UI thread inside a call-back, the
// thread calling back.
thread_local ComThread::Shared* onComThread = nullptr;
thread_local ComThread* callingBack = nullptr;
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
    // The handle the UI thread holds, while it lives.
    ComThread* owner = nullptr;
    // Calls abandoned inside their object that have not returned.
    std::atomic<int> stranded{0};
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
    // Lets the thread end once its queue is run.
    void AskToEnd();
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
        if (call->abandoned) --stranded;
        call->phase = Phase::kDone;
    }
    SetEvent(uiWake.Get());
}

void ComThread::Shared::ThreadMain() {
    threadId = GetCurrentThreadId();
    onComThread = this;
    const bool apartment = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    Serve([this] {
        std::lock_guard<std::mutex> lock(m);
        return quit && queue.empty();
    });
    if (apartment) CoUninitialize();
    SetEvent(ended.Get());
}

ComThread::ComThread() : shared_(std::make_shared<Shared>()) {
    shared_->owner = this;
    if (!shared_->comWake.Valid() || !shared_->uiWake.Valid() || !shared_->ended.Valid()) return;
    try {
        std::thread thread([s = shared_] { s->ThreadMain(); });
        thread.detach();
        shared_->started = true;
    } catch (const std::system_error&) {
    }
}

void ComThread::Shared::AskToEnd() {
    {
        std::lock_guard<std::mutex> lock(m);
        quit = true;
    }
    SetEvent(comWake.Get());
}

ComThread::~ComThread() {
    {
        std::lock_guard<std::mutex> lock(shared_->m);
        shared_->owner = nullptr;
    }
    shared_->AskToEnd();
    DropBuried();
}

bool ComThread::End(unsigned long ms) {
    if (!shared_->started) return true;
    shared_->AskToEnd();
    return WaitForSingleObject(shared_->ended.Get(), ms) == WAIT_OBJECT_0;
}

bool ComThread::Stranded() const noexcept {
    return shared_->stranded.load() > 0;
}

std::shared_ptr<ComThread> ComThread::Here() {
    if (Shared* s = onComThread) {
        std::lock_guard<std::mutex> lock(s->m);
        return s->owner ? s->owner->weak_from_this().lock() : nullptr;
    }
    return callingBack ? callingBack->weak_from_this().lock() : nullptr;
}

bool ComThread::OnAnyComThread() noexcept {
    return onComThread != nullptr;
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
        if (call.phase == Phase::kForeign) ++stranded;
    }
    SetEvent(comWake.Get());
    return true;
}

void ComThread::Shared::WaitSlice() {
    HANDLE wake = uiWake.Get();
    MsgWaitForMultipleObjects(1, &wake, FALSE, kWaitSliceMs, QS_SENDMESSAGE);
    AnswerSentMessages();
}

void RunHere(const ComThread::Work& work) {
    struct Here final : ForeignCall {
        bool Run(const std::function<void()>& fn) override {
            fn();
            return true;
        }
    } here;
    work(here);
}

void ComThread::Run(Work work, const KeepGoing& keepGoing) {
    if (!shared_->started || OnComThread()) {
        RunHere(work);
        return;
    }
    if (Stranded()) ThrowStranded();
    Shared& s = *shared_;
    const std::shared_ptr<Shared::Call> call = s.Queue(std::move(work), false);
    bool stopped = false;
    bool abandoned = false;
    for (;;) {
        const Shared::Next next = s.Look(*call);
        if (next.phase == Shared::Phase::kDone) break;
        if (next.callback) {
            ComThread* outer = std::exchange(callingBack, this);
            s.RunCallBack(*call, *next.callback);
            callingBack = outer;
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
    object->nextBuried_ = buried.load();
    while (!buried.compare_exchange_weak(object->nextBuried_, object)) {
    }
}

void ComThread::DropBuried() noexcept {
    Buried* object = buried.exchange(nullptr);
    while (object) {
        Buried* next = object->nextBuried_;
        object->Drop();
        object = next;
    }
}

ComThreads::ComThreads() {
    currentThreads.store(this);
}

// The threads are asked to end all at once, so that the two seconds are
// shared rather than each thread's.
ComThreads::~ComThreads() {
    currentThreads.store(nullptr);
    const win32::Win32Clock clock;
    const std::uint64_t deadline = clock.Milliseconds() + kShutdownWaitMs;
    std::vector<std::shared_ptr<ComThread>> all = All();
    for (const auto& thread : all) thread->End(0);
    for (const auto& thread : all) {
        const std::uint64_t now = clock.Milliseconds();
        thread->End(now < deadline ? static_cast<DWORD>(deadline - now) : 0);
    }
}

std::shared_ptr<ComThread> ComThreads::ForNewObjects() {
    // A retired thread is let go once it has returned and holds no object.
    std::erase_if(retired_, [](const std::shared_ptr<ComThread>& thread) {
        return !thread->Stranded() && thread.use_count() == 1;
    });
    if (current_ && !current_->Stranded()) return current_;
    if (current_) retired_.push_back(std::move(current_));
    const auto stranded = std::count_if(retired_.begin(), retired_.end(),
                                        [](const auto& thread) { return thread->Stranded(); });
    if (static_cast<size_t>(stranded) >= kMaxStranded) {
        script::Throw(script::kErrCantCreateObject,
                      script::ErrorText(script::kErrCantCreateObject) + ": " +
                          std::to_string(stranded) +
                          " stopped calls have not returned yet; end what they wait for");
    }
    current_ = std::make_shared<ComThread>();
    return current_;
}

std::vector<std::shared_ptr<ComThread>> ComThreads::All() const {
    std::vector<std::shared_ptr<ComThread>> all = retired_;
    if (current_) all.push_back(current_);
    return all;
}

ComThreads* ComThreads::Current() {
    return currentThreads.load();
}

std::shared_ptr<ComThread> ValuesThread() {
    if (std::shared_ptr<ComThread> here = ComThread::Here()) return here;
    // A COM thread whose handle went runs releases only; the UI thread's
    // state is not its to touch.
    if (ComThread::OnAnyComThread()) return nullptr;
    ComThreads* threads = ComThreads::Current();
    return threads ? threads->ForNewObjects() : nullptr;
}

}  // namespace vantrel::com
