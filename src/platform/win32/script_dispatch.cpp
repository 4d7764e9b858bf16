#include "platform/win32/script_dispatch.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "platform/win32/com_apartment.h"
#include "platform/win32/com_object.h"
#include "platform/win32/com_owners.h"
#include "platform/win32/com_values.h"
#include "text/case_fold.h"

namespace vantrel::com {

using script::Value;

namespace {

// Asked for only by this program, to find its own objects again when COM
// hands them back.
const IID kScriptDispatchIid = {
    0x6c1f3a52, 0x9d0e, 0x4b7a, {0x8f, 0x21, 0x5e, 0x33, 0xa0, 0x47, 0xc9, 0x1d}};

std::atomic<int> alive{0};

HRESULT ReportError(const script::ScriptError& e, EXCEPINFO* info) noexcept {
    if (!info) return DISP_E_EXCEPTION;
    *info = EXCEPINFO{};
    const bool small = e.number > 0 && e.number < 65536;
    info->scode = small ? MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, e.number) : e.number;
    try {
        info->bstrDescription = SysAllocString(Widen(e.description).c_str());
        const std::string source = e.source.empty() ? "Microsoft VBScript runtime error" : e.source;
        info->bstrSource = SysAllocString(Widen(source).c_str());
    } catch (...) {
        // Without room for the texts the number alone goes back.
    }
    return DISP_E_EXCEPTION;
}

// What no script error describes (a fault of the engine or of a library
// under it) still goes back as an error, never as an exception through
// the caller's frames.
HRESULT ReportInternalError(EXCEPINFO* info) noexcept {
    script::ScriptError e{};
    e.number = script::kErrInternal;
    try {
        e.description = script::ErrorText(script::kErrInternal);
    } catch (...) {
    }
    return ReportError(e, info);
}

// Reports what is being raised (inside a catch) as the failure COM sees.
HRESULT ReportRaised(EXCEPINFO* info) noexcept {
    try {
        throw;
    } catch (const script::ScriptError& e) {
        return ReportError(e, info);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return ReportInternalError(info);
    }
}

// AddRef and Release neither allocate nor raise (com_apartment.h): the
// count is an atomic, and a last release on the COM thread buries the
// object through its own link.
class ScriptDispatch final : public IDispatch, private Buried {
  public:
    ScriptDispatch(script::Runtime& rt, Value object)
        : runtime_(rt.self), object_(std::move(object)) {
        ++alive;
    }
    ~ScriptDispatch() { --alive; }
    ScriptDispatch(const ScriptDispatch&) = delete;
    ScriptDispatch& operator=(const ScriptDispatch&) = delete;

    const Value& Object() const { return object_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
            IsEqualIID(iid, kScriptDispatchIid)) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return ++refs_; }
    // The script object goes on the UI thread: a last reference that goes
    // on the COM thread leaves the deletion to it (com_apartment.h).
    ULONG STDMETHODCALLTYPE Release() noexcept override {
        const ULONG left = --refs_;
        if (left != 0) return left;
        if (ComThread::OnAnyComThread()) {
            ComThread::Bury(this);
        } else {
            delete this;
        }
        return 0;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count) *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info) *info = nullptr;
        return DISP_E_BADINDEX;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* info, UINT* badArg) override;

  private:
    bool Knows(const std::string& lname) const {
        auto* instance = dynamic_cast<script::Instance*>(object_.AsObject());
        return !instance || instance->cls->index.count(lname) != 0;
    }
    void Drop() noexcept override { delete this; }
    HRESULT Call(script::Runtime& rt, const std::string& name, WORD flags, DISPPARAMS* params,
                 VARIANT* result);
    // Runs the member in the script's runtime; raises what the script does.
    HRESULT InvokeScript(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result);
    HRESULT InvokeHere(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                       EXCEPINFO* info) noexcept;

    std::atomic<ULONG> refs_{1};
    std::shared_ptr<script::Runtime*> runtime_;
    Value object_;
    // DISPID n names names_[n - 1]; 0 is the default. Asked for on either
    // thread.
    std::mutex namesLock_;
    std::vector<std::string> names_;
};

HRESULT ScriptDispatch::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) try {
    if (!names || !ids) return E_POINTER;
    std::lock_guard<std::mutex> lock(namesLock_);
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
        const std::string lname =
            text::LowerCase(Narrow(names[i], names[i] ? wcslen(names[i]) : 0));
        ids[i] = DISPID_UNKNOWN;
        if (i > 0 || !Knows(lname)) {
            hr = DISP_E_UNKNOWNNAME;  // named arguments are not taken
            continue;
        }
        size_t at = 0;
        while (at < names_.size() && names_[at] != lname) ++at;
        if (at == names_.size()) names_.push_back(lname);
        ids[i] = static_cast<DISPID>(at + 1);
    }
    return hr;
} catch (...) {
    return E_OUTOFMEMORY;
}

HRESULT ScriptDispatch::Call(script::Runtime& rt, const std::string& name, WORD flags,
                             DISPPARAMS* params, VARIANT* result) {
    const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    const UINT named = params ? params->cNamedArgs : 0;
    if (named > (put ? 1u : 0u)) return DISP_E_NONAMEDARGS;
    const UINT total = params ? params->cArgs : 0;
    if (put && total == 0) return DISP_E_BADPARAMCOUNT;
    const UINT positional = total - (put ? 1 : 0);
    // Invoke lists the last argument first; the script's order is the reverse.
    std::vector<Value> values(positional);
    std::vector<Value*> pointers(positional);
    for (UINT i = 0; i < positional; ++i) {
        values[i] = FromVariant(params->rgvarg[total - 1 - i]);
        pointers[i] = &values[i];
    }
    const script::Args args{pointers.data(), positional};
    auto* target = static_cast<script::ScriptObject*>(object_.AsObject());
    Value out;
    if (put) {
        target->Put(rt, name, args, FromVariant(params->rgvarg[0]),
                    (flags & DISPATCH_PROPERTYPUTREF) != 0);
    } else {
        out = target->Get(rt, name, args);
    }
    // What a member wrote to a ByRef parameter goes back where COM passed
    // it, before the result is made: a write-back that fails then leaves
    // no result behind for nobody to release. Each is converted whole
    // before the caller's VARIANT is touched.
    for (UINT i = 0; i < positional; ++i) {
        VARIANT& passed = params->rgvarg[total - 1 - i];
        if (passed.vt == (VT_BYREF | VT_VARIANT) && passed.pvarVal) {
            UniqueVariant back;
            ToVariant(rt, values[i], back.Get());
            VariantClear(passed.pvarVal);
            *passed.pvarVal = back.Detach();
        }
    }
    if (result && !put) ToVariant(rt, out, result);
    return S_OK;
}

// Script code runs on the UI thread only: a call that comes on the COM
// thread (from an object the script handed this one to) is handed to the
// UI thread, which waits for that object's call meanwhile. What the script
// raises there goes back to the object as a failure and stays with the
// waiting call, which raises it in the script when the object is done. A
// call that comes when nobody waits (the script stopped waiting) is
// refused.
HRESULT ScriptDispatch::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                               VARIANT* result, EXCEPINFO* info, UINT*) {
    if (!ComThread::OnAnyComThread()) return InvokeHere(id, flags, params, result, info);
    HRESULT hr = E_UNEXPECTED;
    bool ran = false;
    try {
        const std::shared_ptr<ComThread> thread = ComThread::Here();
        ran = thread && thread->CallBack([&] {
            try {
                hr = InvokeScript(id, flags, params, result);
            } catch (...) {
                hr = ReportRaised(info);
                throw;
            }
        });
    } catch (...) {
        return ReportInternalError(info);
    }
    if (ran) return hr;
    script::ScriptError stopped{};
    stopped.number = script::kErrUserInterrupt;
    try {
        stopped.description = script::ErrorText(script::kErrUserInterrupt);
    } catch (...) {
    }
    return ReportError(stopped, info);
}

HRESULT ScriptDispatch::InvokeScript(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) {
    script::Runtime* rt = runtime_ ? *runtime_ : nullptr;
    if (!rt) return E_UNEXPECTED;
    std::string name;
    {
        std::lock_guard<std::mutex> lock(namesLock_);
        if (id != DISPID_VALUE && (id < 1 || static_cast<size_t>(id) > names_.size())) {
            return DISP_E_MEMBERNOTFOUND;
        }
        if (id != DISPID_VALUE) name = names_[id - 1];
    }
    if (result) VariantInit(result);
    // A call that comes while no script runs (an object calling back
    // later) measures its stack from here, one made while a script
    // waits for its object from where that script began.
    script::Runtime::Entry entry(*rt);
    return Call(*rt, name, flags, params, result);
}

// No exception of any kind leaves here: COM's callers are not C++.
HRESULT ScriptDispatch::InvokeHere(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* info) noexcept {
    try {
        return InvokeScript(id, flags, params, result);
    } catch (...) {
        return ReportRaised(info);
    }
}

}  // namespace

ComPtr<IDispatch> DispatchFor(script::Runtime& rt, const Value& object) {
    if (auto* com = dynamic_cast<ComObject*>(object.AsObject())) {
        // Its interface is good in its own apartment only: passed to an
        // object of another thread, it would be called from the wrong one.
        const std::shared_ptr<ComThread> here = ComThread::Here();
        if (here && com->Thread() && com->Thread() != here.get()) {
            constexpr int kErrAutomation = 440;
            script::Throw(kErrAutomation,
                          "Objects made before and after a stopped call cannot be passed to "
                          "each other");
        }
        IDispatch* dispatch = com->Dispatch();
        OnComThread(com->Thread(), rt.self, [dispatch] { dispatch->AddRef(); });
        return ComPtr<IDispatch>(dispatch);
    }
    return ComPtr<IDispatch>(new ScriptDispatch(rt, object));
}

bool UnwrapScriptDispatch(IDispatch* dispatch, Value* object) {
    ComPtr<IDispatch> found;
    if (!dispatch || FAILED(dispatch->QueryInterface(kScriptDispatchIid, found.OutVoid()))) {
        return false;
    }
    *object = static_cast<ScriptDispatch*>(found.Get())->Object();
    return true;
}

int ScriptDispatchAlive() {
    return alive.load();
}

}  // namespace vantrel::com
