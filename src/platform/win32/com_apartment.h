// The threads where scripts' COM objects live, so that a call that takes
// long (a program waited for, a slow query, an object's own window) leaves
// the UI thread free to answer Windows and to take a stop request.
//
// The hand-off:
// - Who owns what. A COM thread is a single-threaded apartment of its own.
//   Every interface pointer of an object a script made or was given lives
//   on the thread that made it (see "Retirement" for why there are a few):
//   it is created, called, queried, AddRef'd and released on that thread
//   only. The UI thread holds their references (ComPtr inside ComObject)
//   and never calls through them; a ComObject that goes on the UI thread
//   posts its reference's release to its COM thread. Script values (the
//   engine's objects, arrays, texts) belong to the UI thread; the COM thread
//   touches them only while the UI thread waits for it and runs no script
//   code (see "phases" below).
// - How a call is handed over. The UI thread queues a Call (a piece of work)
//   and waits for it in a loop that answers sent messages at once, runs the
//   host's busy pump every 25 ms or so and asks whether to go on. The work
//   has phases: it converts the arguments (Working), calls into the object
//   (Foreign), and converts the results back (Working). During Working the
//   UI thread runs no script code at all and only answers sent messages;
//   during Foreign it pumps fully and may abandon the call.
// - How a call-back comes back. An object that calls a script object during
//   Foreign reaches ScriptDispatch on the COM thread, which hands the call
//   to the waiting UI thread (CallBack) and serves the COM thread's queue
//   meanwhile, so that script code that calls COM objects again from inside
//   the call-back is served too (calls nest as in any STA). Nobody else runs
//   script code on the COM thread. What the call-back raises goes two
//   ways: back to the object as a failed call (it must answer something),
//   and to the script once the object's call is done, as the error of that
//   call, as an error in the script's own code would end it anywhere else.
// - Abandon. A stop request (Esc, Ctrl+Break, a client's Ctrl+C) seen while
//   the call is queued or in Foreign marks it abandoned and the UI thread
//   raises "User interrupt occurred" at once. The COM thread finishes the
//   object's call whenever the object returns, touches nothing of the
//   caller's, and releases what the call made there. A call-back that comes
//   for an abandoned call is refused with the same error. A script object
//   whose last COM reference goes on a COM thread is deleted later on the
//   UI thread (Bury), never on a COM thread.
// - Retirement. A call abandoned inside its object strands its thread until
//   the object returns, which may be never (a program waited for that the
//   user keeps open). So there is not one COM thread but a few (ComThreads):
//   - Each object lives on the thread that made it, and is called there
//     only. New objects go to the current thread, made at first use.
//   - A stranded thread is retired: the next new object goes to a fresh
//     thread, so CreateObject works at once again.
//   - A call on an object whose thread is stranded fails at once with the
//     busy error; it never queues behind the abandoned call. What a
//     ComObject knows without its thread (its type name, learnt when it was
//     made; members already looked up) is answered without it.
//   - A retired thread serves its objects again once its call returns, and
//     ends when its last object has gone. At most kMaxStranded retired
//     threads may be stranded at once; past that, new objects are refused
//     with a clear error until one returns.
//   - An object passed to a call on an object of another thread would be
//     used from the wrong apartment: that call is refused, not made.
// - AddRef and Release of every COM object we implement are noexcept and
//   allocate nothing: COM's callers are not C++. Burying links the object
//   into a list through a link of its own (Buried), so it cannot fail.
// - Shutdown. ComThreads outlives every script object. On its end, every
//   thread runs its queue (releases), leaves its apartment and ends; the
//   end waits two seconds in all, and a thread still inside an abandoned
//   call after that is left to the end of the process, holding only state
//   of its own. A ComThread that goes earlier (a retired one whose last
//   object went) asks its thread to end and waits for nothing.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/win32/com_api.h"

namespace vantrel::com {

// A script object whose last reference went on the COM thread, waiting for
// the UI thread to delete it. The link is the object's own: burying happens
// inside IUnknown::Release, which must neither allocate nor raise.
class Buried {
  public:
    // Deletes the object; on the UI thread.
    virtual void Drop() noexcept = 0;

  protected:
    Buried() = default;
    ~Buried() = default;
    Buried(const Buried&) = delete;
    Buried& operator=(const Buried&) = delete;

  private:
    friend class ComThread;
    Buried* nextBuried_ = nullptr;
};

// The part of a piece of work that runs inside the foreign object.
class ForeignCall {
  public:
    // Runs call, during which the waiting thread may abandon the work.
    // False when it did: the work must release what it made and touch
    // nothing of the caller's.
    virtual bool Run(const std::function<void()>& call) = 0;

  protected:
    ~ForeignCall() = default;
};

class ComThread : public std::enable_shared_from_this<ComThread> {
  public:
    using Work = std::function<void(ForeignCall&)>;
    // Whether to go on waiting: also keeps the UI alive (the busy pump).
    using KeepGoing = std::function<bool()>;

    ComThread();
    // Asks the thread to end once its queue is run; waits for nothing.
    ~ComThread();
    ComThread(const ComThread&) = delete;
    ComThread& operator=(const ComThread&) = delete;

    // Whether the thread and its apartment started.
    bool Started() const;
    bool OnComThread() const noexcept;
    // Whether a call abandoned inside its object has not returned yet.
    bool Stranded() const noexcept;
    // Asks the thread to end, and waits at most ms for it.
    bool End(unsigned long ms);

    // The thread whose values are handled here: on a COM thread, that
    // thread; on the UI thread inside a call-back, the thread calling back;
    // else null.
    static std::shared_ptr<ComThread> Here();
    static bool OnAnyComThread() noexcept;

    // Runs work on the COM thread and waits for it. An exception the work
    // raises comes out here; failing that, the first a call-back of the work
    // raised (CallBack). When keepGoing answers false while the work
    // is queued or in its Foreign part, the wait is abandoned with script
    // error 18. On the COM thread itself, work runs at once; on a stranded
    // thread, never (the busy error).
    void Run(Work work, const KeepGoing& keepGoing);
    // Run for work that cannot be abandoned: queries and conversions.
    void Do(const std::function<void()>& work);
    // Queues work and returns at once (the release of an interface).
    void Post(std::function<void()> work);

    // From the COM thread, inside the Foreign part of a piece of work: runs
    // fn on the thread that waits for that work. False when nobody waits
    // (the work was abandoned, or was posted). What fn raises stays with the
    // waiting thread, which raises it when the work is done: fn reports to
    // the object itself before it raises.
    bool CallBack(const std::function<void()>& fn);

    // Leaves object to be dropped on the UI thread, later.
    static void Bury(Buried* object) noexcept;
    // Drops what was buried; on the UI thread.
    static void DropBuried() noexcept;

    // What the thread and its handle share (com_apartment.cpp).
    struct Shared;

  private:
    std::shared_ptr<Shared> shared_;
};

// Runs work here, its Foreign part too: where there is no COM thread to
// hand it to, or this is the one.
void RunHere(const ComThread::Work& work);

// The COM threads of the process while a ComApartment lives.
class ComThreads {
  public:
    // Retired threads that may be stranded at once.
    static constexpr size_t kMaxStranded = 8;

    ComThreads();
    // Ends every thread, waiting two seconds at most in all.
    ~ComThreads();
    ComThreads(const ComThreads&) = delete;
    ComThreads& operator=(const ComThreads&) = delete;

    // The thread for a new object: the current one, or a fresh one when
    // there is none or it is stranded. Raises when too many are stranded.
    std::shared_ptr<ComThread> ForNewObjects();
    // Every thread still kept: the current one and the retired.
    std::vector<std::shared_ptr<ComThread>> All() const;

    // The process's while one lives; null otherwise.
    static ComThreads* Current();

  private:
    std::shared_ptr<ComThread> current_;
    std::vector<std::shared_ptr<ComThread>> retired_;
};

// The thread where values from COM are handled now (ComThread::Here), or
// else the one new objects go to; null without a ComThreads.
std::shared_ptr<ComThread> ValuesThread();

}  // namespace vantrel::com
