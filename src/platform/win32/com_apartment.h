// The thread where scripts' COM objects live, so that a call that takes
// long (a program waited for, a slow query, an object's own window) leaves
// the UI thread free to answer Windows and to take a stop request.
//
// The hand-off:
// - Who owns what. The COM thread is a single-threaded apartment of its
//   own. Every interface pointer of an object a script made or was given
//   lives there: it is created, called, queried, AddRef'd and released on
//   that thread only. The UI thread holds them only as opaque pointers
//   inside ComObject and never calls through them. Script values (the
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
//   script code on the COM thread.
// - Abandon. A stop request (Esc, Ctrl+Break, a client's Ctrl+C) seen while
//   the call is queued or in Foreign marks it abandoned and the UI thread
//   raises "User interrupt occurred" at once. The COM thread finishes the
//   object's call whenever the object returns, touches nothing of the
//   caller's, and releases what the call made there. A call-back that comes
//   for an abandoned call is refused with the same error. A script object
//   whose last COM reference goes on the COM thread is deleted later on the
//   UI thread (Bury), never on the COM thread.
// - Shutdown. The ComThread's owner (the ComApartment) outlives every
//   script object. On its end, the queue (releases) is run, the apartment
//   is left, and the thread ends; a thread still inside an abandoned call
//   after two seconds is left to the end of the process, holding only
//   state of its own.
#pragma once

#include <functional>
#include <memory>

#include "platform/win32/com_api.h"

namespace vantrel::com {

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

class ComThread {
  public:
    using Work = std::function<void(ForeignCall&)>;
    // Whether to go on waiting: also keeps the UI alive (the busy pump).
    using KeepGoing = std::function<bool()>;

    ComThread();
    ~ComThread();
    ComThread(const ComThread&) = delete;
    ComThread& operator=(const ComThread&) = delete;

    // Whether the thread and its apartment started.
    bool Started() const;
    bool OnComThread() const;

    // Runs work on the COM thread and waits for it. An exception the work
    // raises comes out here. When keepGoing answers false while the work
    // is queued or in its Foreign part, the wait is abandoned with script
    // error 18. On the COM thread itself, work runs at once.
    void Run(Work work, const KeepGoing& keepGoing);
    // Run for work that cannot be abandoned: queries and conversions.
    void Do(const std::function<void()>& work);
    // Queues work and returns at once (the release of an interface).
    void Post(std::function<void()> work);

    // From the COM thread, inside the Foreign part of a piece of work: runs
    // fn on the thread that waits for that work. False when nobody waits
    // (the work was abandoned, or was posted).
    bool CallBack(const std::function<void()>& fn);

    // Something to run on the UI thread, later: the deletion of a script
    // object whose last reference went on the COM thread.
    void Bury(std::function<void()> drop);
    // Runs what was buried; on the UI thread.
    void DropBuried();

  private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};

// The process's COM thread while a ComApartment lives; null otherwise.
ComThread* CurrentComThread();
void SetCurrentComThread(ComThread* thread);

}  // namespace vantrel::com
