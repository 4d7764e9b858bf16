// A COM automation object as the script sees it: members reached by name
// through IDispatch, late-bound, with by-reference arguments written back
// to the script's variables and For Each through _NewEnum. The interface
// lives on the COM thread that made it (com_apartment.h): every call
// through it is made there, and the UI thread holds its reference without
// calling through it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/win32/com_apartment.h"
#include "platform/win32/com_api.h"
#include "platform/win32/com_owners.h"
#include "script/runtime.h"

namespace vantrel::com {

class ComObject : public script::ScriptObject {
  public:
    // Takes over a reference thread made; with no thread, calls are made
    // where the script runs.
    ComObject(ComPtr<IDispatch> dispatch, std::shared_ptr<ComThread> thread)
        : dispatch_(std::move(dispatch)), thread_(std::move(thread)) {}
    ~ComObject() override;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    std::string TypeName() const override;
    script::Value Get(script::Runtime& rt, std::string_view name, script::Args args) override;
    void Put(script::Runtime& rt, std::string_view name, script::Args args, script::Value v,
             bool isSet) override;
    bool Items(script::Runtime& rt, std::vector<script::Value>* items) override;

    // The interface, still this object's: for work on its thread.
    IDispatch* Dispatch() const { return dispatch_.Get(); }
    ComThread* Thread() const { return thread_.get(); }
    // Asks the object its type name now, on its thread, so that TypeName is
    // answered even while that thread is held up.
    void LearnTypeName();
    // Objects alive in this process, for the check that none outlives its
    // script.
    static int Alive();

  private:
    std::string AskTypeName() const;
    DISPID IdOf(std::string_view name);
    // The declared type of each parameter passed by reference (VT_EMPTY for
    // those passed by value); empty when the object describes no such member.
    const std::vector<VARTYPE>& ByRefTypes(DISPID id, WORD flags);
    script::Value Invoke(script::Runtime& rt, DISPID id, WORD flags, script::Args args,
                         const script::Value* assigned, std::string_view name);

    ComPtr<IDispatch> dispatch_;
    std::shared_ptr<ComThread> thread_;
    // Learnt once asked.
    mutable std::string typeName_;
    // The script that called the object last: a stop request to it abandons
    // a query (TypeName) queued behind a call that script stopped waiting for.
    std::shared_ptr<script::Runtime*> runtime_;
    std::unordered_map<std::string, DISPID> ids_;
    std::unordered_map<DISPID, std::vector<VARTYPE>> byRef_;
};

// The script value for an IDispatch: Nothing for none. The object lives on
// the thread values are handled on now (ValuesThread).
script::Value WrapDispatch(ComPtr<IDispatch> dispatch);
// The same for an object a script made (CreateObject, GetObject), whose
// type name is learnt at once.
script::Value WrapMadeObject(ComPtr<IDispatch> dispatch);

// Runs work on thread for a call the script rt runs makes, or here with no
// thread: a stop request to rt abandons the wait (com_apartment.h).
void RunForScript(ComThread* thread, script::Runtime& rt, const ComThread::Work& work);

// Runs fn on thread when there is one and this is not it, else here; for
// the short calls (queries, AddRef) no stop abandons once they have
// started. A stop request to the script runtime names abandons the wait
// while fn is queued; with none, nothing does.
void OnComThread(ComThread* thread, const std::shared_ptr<script::Runtime*>& runtime,
                 const std::function<void()>& fn);

// Raises the script error for a failed call: the server's own number, text
// and source when it gave an EXCEPINFO, else VBScript's number for the
// HRESULT, else the HRESULT with the system's message for it. The texts in
// info stay the caller's to free (ExceptionInfo).
[[noreturn]] void ThrowComError(HRESULT hr, EXCEPINFO* info, std::string_view member);

}  // namespace vantrel::com
