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
    std::vector<std::function<void()>> buried;
    bool quit = false;
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

    void Serve(const std::function<bool()>& done);
    void RunCall(const std::shared_ptr<Call>& call);
    void ThreadMain();
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

bool ComThread::OnComThread() const {
    return shared_->threadId.load() == GetCurrentThreadId();
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
    auto call = std::make_shared<Shared::Call>();
    call->work = std::move(work);
    {
        std::lock_guard<std::mutex> lock(s.m);
        s.queue.push_back(call);
    }
    SetEvent(s.comWake.Get());
    bool stopped = false;
    for (;;) {
        const std::function<void()>* callback = nullptr;
        Shared::Phase phase;
        {
            std::lock_guard<std::mutex> lock(s.m);
            phase = call->phase;
            if (call->callback && !call->callbackTaken) {
                callback = call->callback;
                call->callbackTaken = true;
            }
        }
        if (phase == Shared::Phase::kDone) break;
        if (callback) {
            // Call-backs catch what they raise: what reaches here is lost
            // rather than let through the COM thread's frames.
            try {
                (*callback)();
            } catch (...) {
            }
            {
                std::lock_guard<std::mutex> lock(s.m);
                call->callbackDone = true;
                call->callback = nullptr;
                call->callbackTaken = false;
            }
            SetEvent(s.comWake.Get());
            continue;
        }
        // While the COM thread converts values, script state is its: the
        // pump (which may read settings through the engine) waits.
        const bool mayPump = phase != Shared::Phase::kWorking;
        if (mayPump && !stopped && keepGoing && !keepGoing()) stopped = true;
        if (stopped) {
            // Phases are read again under the lock: a call that has just
            // left the object is converting the caller's values now and is
            // waited for.
            bool abandon = false;
            {
                std::lock_guard<std::mutex> lock(s.m);
                if (call->phase == Shared::Phase::kQueued ||
                    call->phase == Shared::Phase::kForeign) {
                    call->abandoned = true;
                    abandon = true;
                }
            }
            if (abandon) {
                SetEvent(s.comWake.Get());
                DropBuried();
                script::Throw(script::kErrUserInterrupt);
            }
        }
        HANDLE wake = s.uiWake.Get();
        MsgWaitForMultipleObjects(1, &wake, FALSE, kWaitSliceMs, QS_SENDMESSAGE);
        AnswerSentMessages();
    }
    DropBuried();
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
    auto call = std::make_shared<Shared::Call>();
    call->posted = true;
    call->work = [w = std::move(work)](ForeignCall&) { w(); };
    {
        std::lock_guard<std::mutex> lock(shared_->m);
        shared_->queue.push_back(std::move(call));
    }
    SetEvent(shared_->comWake.Get());
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

void ComThread::Bury(std::function<void()> drop) {
    std::lock_guard<std::mutex> lock(shared_->m);
    shared_->buried.push_back(std::move(drop));
}

void ComThread::DropBuried() {
    std::vector<std::function<void()>> drops;
    {
        std::lock_guard<std::mutex> lock(shared_->m);
        drops.swap(shared_->buried);
    }
    for (auto& drop : drops) drop();
}

ComThread* CurrentComThread() {
    return current.load();
}

void SetCurrentComThread(ComThread* thread) {
    current.store(thread);
}

}  // namespace vantrel::com
