#include "platform/win32/com_object.h"

#include <atomic>
#include <memory>
#include <new>
#include <utility>

#include "platform/win32/com_owners.h"
#include "platform/win32/com_values.h"
#include "platform/win32/win32_error.h"

namespace vantrel::com {

using script::Value;

namespace {

std::atomic<int> alive{0};

// VBScript's numbers for the failures IDispatch reports without text.
int ScriptNumberFor(HRESULT hr) {
    switch (hr) {
        case DISP_E_MEMBERNOTFOUND:
        case DISP_E_UNKNOWNNAME:
            return script::kErrNoSuchMember;
        case DISP_E_BADPARAMCOUNT:
        case DISP_E_NONAMEDARGS:
            return script::kErrWrongArgs;
        case DISP_E_TYPEMISMATCH:
        case DISP_E_BADVARTYPE:
            return script::kErrTypeMismatch;
        case DISP_E_PARAMNOTOPTIONAL:
            return script::kErrArgNotOptional;
        case DISP_E_OVERFLOW:
            return script::kErrOverflow;
        case DISP_E_BADINDEX:
            return script::kErrSubscript;
        case DISP_E_ARRAYISLOCKED:
            return script::kErrArrayLocked;
        case DISP_E_NOTACOLLECTION:
            return script::kErrNotCollection;
        case DISP_E_DIVBYZERO:
            return script::kErrDivisionByZero;
        case E_OUTOFMEMORY:
            return script::kErrOutOfMemory;
        case E_INVALIDARG:
            return script::kErrInvalidCall;
        case E_NOINTERFACE:
            return script::kErrNoSuchAction;
        default:
            break;
    }
    if (HRESULT_FACILITY(hr) == FACILITY_CONTROL) return HRESULT_CODE(hr);
    return 0;
}

// The system's text for an HRESULT, without the full stop VBScript's
// descriptions do not have.
std::string SystemMessage(HRESULT hr) {
    std::string message = win32::SystemText(static_cast<DWORD>(hr));
    while (!message.empty() && (message.back() == ' ' || message.back() == '.')) {
        message.pop_back();
    }
    return message;
}

std::string DocumentationName(ITypeInfo* info) {
    UniqueBstr name;
    BSTR got = nullptr;
    if (FAILED(info->GetDocumentation(MEMBERID_NIL, &got, nullptr, nullptr, nullptr))) return {};
    name.Reset(got);
    return Narrow(name.Get());
}

// What one call hands IDispatch::Invoke, and what it owns meanwhile.
struct CallArguments {
    std::vector<VARIANT> passed;         // last argument first, as Invoke takes them
    std::vector<UniqueVariant> holders;  // what by-reference arguments point at
    std::vector<bool> byRef;             // per script argument, in script order
    explicit CallArguments(size_t count) : passed(count), holders(count), byRef(count, false) {
        for (VARIANT& v : passed) VariantInit(&v);
    }
    ~CallArguments() {
        for (VARIANT& v : passed) {
            if (!(v.vt & VT_BYREF)) VariantClear(&v);
        }
    }
    CallArguments(const CallArguments&) = delete;
    CallArguments& operator=(const CallArguments&) = delete;
};

// An argument the member takes by reference points at a holder of the
// declared type (or at a VARIANT), so that what the member writes there can
// go back to the script's variable; one the type does not fit goes by value.
void PassByRef(UniqueVariant* value, VARTYPE declared, UniqueVariant* holder, VARIANT* passed) {
    if (declared == VT_VARIANT) {
        *holder = std::move(*value);
        passed->vt = VT_BYREF | VT_VARIANT;
        passed->pvarVal = holder->Get();
        return;
    }
    if (FAILED(VariantChangeType(holder->Get(), value->Get(), 0, declared))) {
        *passed = value->Detach();
        return;
    }
    passed->vt = static_cast<VARTYPE>(VT_BYREF | declared);
    // A DECIMAL fills the whole VARIANT, its type field included; every
    // other type is the value beside the type.
    passed->byref = declared == VT_DECIMAL ? static_cast<void*>(&(*holder)->decVal)
                                           : static_cast<void*>(&(*holder)->llVal);
}

// What a by-reference holder holds after the call. A DECIMAL written
// through the pointer overwrote the type field with its reserved word.
script::Value FromHolder(UniqueVariant* holder, VARTYPE declared) {
    if (declared == VT_DECIMAL) (*holder)->vt = VT_DECIMAL;
    return FromVariant(**holder);
}

// Whether the script runtime names still wants its call; with none, the
// wait is never abandoned.
ComThread::KeepGoing KeepGoingFor(const std::shared_ptr<script::Runtime*>& self) {
    if (!self) return nullptr;
    return [self] {
        script::Runtime* rt = *self;
        return !rt || (!rt->interrupt.load() && rt->host.KeepGoing());
    };
}

}  // namespace

void ThrowComError(HRESULT hr, EXCEPINFO* info, std::string_view member) {
    if (hr == DISP_E_EXCEPTION && info) {
        if (info->pfnDeferredFillIn) info->pfnDeferredFillIn(info);
        const HRESULT code = info->scode ? info->scode : hr;
        int number = info->wCode ? static_cast<int>(info->wCode) : ScriptNumberFor(code);
        if (number == 0) number = static_cast<int>(code);
        std::string description = Narrow(info->bstrDescription);
        std::string source = Narrow(info->bstrSource);
        if (description.empty()) {
            description =
                number > 0 && number < 65536 ? script::ErrorText(number) : SystemMessage(code);
        }
        script::Throw(number, std::move(description), std::move(source));
    }
    const int number = ScriptNumberFor(hr);
    if (number == script::kErrNoSuchMember && !member.empty()) {
        script::Throw(number, script::ErrorText(number) + ": '" + std::string(member) + "'");
    }
    if (number != 0) script::Throw(number);
    std::string message = SystemMessage(hr);
    if (message.empty()) message = script::ErrorText(static_cast<int>(hr));
    script::Throw(static_cast<int>(hr), std::move(message));
}

void OnComThread(ComThread* thread, const std::shared_ptr<script::Runtime*>& runtime,
                 const std::function<void()>& fn) {
    if (!thread || !thread->Started() || thread->OnComThread()) {
        fn();
        return;
    }
    // Queued behind a call the script stopped waiting for, it may wait as
    // long as that call: a stop abandons it while it is queued.
    thread->Run([&fn](ForeignCall&) { fn(); }, KeepGoingFor(runtime));
}

void RunForScript(ComThread* thread, script::Runtime& rt, const ComThread::Work& work) {
    if (!thread) {
        RunHere(work);
        return;
    }
    thread->Run(work, KeepGoingFor(rt.self));
}

// The interface is released on its thread, without waiting; the member's
// own release serves when this is that thread or there is none. The posted
// work is the reference's owner from here on: if it cannot be queued, the
// reference is left rather than released on the wrong thread.
ComObject::~ComObject() {
    --alive;
    if (!thread_ || !thread_->Started() || thread_->OnComThread()) return;
    IDispatch* posted = dispatch_.Detach();
    try {
        thread_->Post([posted] { ComPtr<IDispatch> last(posted); });
    } catch (const std::bad_alloc&) {
    }
}

int ComObject::Alive() {
    return alive.load();
}

Value WrapDispatch(ComPtr<IDispatch> dispatch) {
    if (!dispatch) return Value::Object(nullptr);
    script::Ref<script::Object> object(new ComObject(std::move(dispatch), ValuesThread()));
    ++alive;
    return Value::Object(std::move(object));
}

Value WrapMadeObject(ComPtr<IDispatch> dispatch) {
    Value object = WrapDispatch(std::move(dispatch));
    if (auto* made = static_cast<ComObject*>(object.AsObject())) made->LearnTypeName();
    return object;
}

void ComObject::LearnTypeName() {
    typeName_ = AskTypeName();
}

std::string ComObject::TypeName() const {
    if (typeName_.empty()) typeName_ = AskTypeName();
    return typeName_;
}

// A class that says what it is (IProvideClassInfo) gives its class name, as
// "FileSystemObject"; others give their interface's, as "IWshShell3".
std::string ComObject::AskTypeName() const {
    std::string name;
    IDispatch* dispatch = dispatch_.Get();
    OnComThread(thread_.get(), runtime_, [&] {
        ComPtr<IProvideClassInfo> classInfo;
        dispatch->QueryInterface(IID_IProvideClassInfo, classInfo.OutVoid());
        ComPtr<ITypeInfo> info;
        if (classInfo && SUCCEEDED(classInfo->GetClassInfo(info.Out())) && info) {
            name = DocumentationName(info.Get());
        }
        if (!name.empty()) return;
        if (SUCCEEDED(dispatch->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.Out())) && info) {
            name = DocumentationName(info.Get());
        }
    });
    return name.empty() ? "Object" : name;
}

DISPID ComObject::IdOf(std::string_view name) {
    if (name.empty()) return DISPID_VALUE;
    auto it = ids_.find(std::string(name));
    if (it != ids_.end()) return it->second;
    std::wstring wide = Widen(name);
    LPOLESTR names[] = {wide.data()};
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = E_UNEXPECTED;
    IDispatch* dispatch = dispatch_.Get();
    OnComThread(thread_.get(), runtime_, [&] {
        hr = dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    });
    if (FAILED(hr)) ThrowComError(hr, nullptr, name);
    ids_.emplace(std::string(name), id);
    return id;
}

// A type's attributes or a member's description, handed back to the type
// information that gave them.
template <typename T, void (STDMETHODCALLTYPE ITypeInfo::*Free)(T*)>
class TypeInfoPart {
  public:
    explicit TypeInfoPart(ITypeInfo* info) : info_(info) {}
    ~TypeInfoPart() {
        if (part_) (info_->*Free)(part_);
    }
    TypeInfoPart(const TypeInfoPart&) = delete;
    TypeInfoPart& operator=(const TypeInfoPart&) = delete;
    T** Out() { return &part_; }
    T* operator->() const { return part_; }

  private:
    ITypeInfo* info_;
    T* part_ = nullptr;
};
using TypeAttr = TypeInfoPart<TYPEATTR, &ITypeInfo::ReleaseTypeAttr>;
using FuncDesc = TypeInfoPart<FUNCDESC, &ITypeInfo::ReleaseFuncDesc>;

// A class's type information lists no members of its own: they are on the
// interface it implements by default.
static ComPtr<ITypeInfo> MemberTypeInfo(IDispatch* dispatch) {
    ComPtr<ITypeInfo> info;
    if (FAILED(dispatch->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.Out())) || !info) return {};
    bool isClass = false;
    {
        TypeAttr attr(info.Get());
        if (FAILED(info->GetTypeAttr(attr.Out()))) return info;
        isClass = attr->typekind == TKIND_COCLASS && attr->cImplTypes > 0;
    }
    if (!isClass) return info;
    HREFTYPE ref = 0;
    ComPtr<ITypeInfo> implemented;
    if (SUCCEEDED(info->GetRefTypeOfImplType(0, &ref)))
        info->GetRefTypeInfo(ref, implemented.Out());
    return implemented;
}

// The declared types of a member's parameters, read on the COM thread.
static std::vector<VARTYPE> DeclaredByRef(IDispatch* dispatch, DISPID id, WORD flags) {
    std::vector<VARTYPE> types;
    ComPtr<ITypeInfo> info = MemberTypeInfo(dispatch);
    if (!info) return types;
    TypeAttr attr(info.Get());
    if (FAILED(info->GetTypeAttr(attr.Out()))) return types;
    for (WORD f = 0; f < attr->cFuncs && types.empty(); ++f) {
        FuncDesc desc(info.Get());
        if (FAILED(info->GetFuncDesc(f, desc.Out()))) continue;
        const bool wanted = (desc->invkind == INVOKE_FUNC && (flags & DISPATCH_METHOD)) ||
                            (desc->invkind == INVOKE_PROPERTYGET && (flags & DISPATCH_PROPERTYGET));
        if (desc->memid == id && wanted) {
            types.assign(static_cast<size_t>(desc->cParams), VT_EMPTY);
            for (SHORT p = 0; p < desc->cParams; ++p) {
                const TYPEDESC& t = desc->lprgelemdescParam[p].tdesc;
                // Type libraries say "pointer to"; types made at run
                // time may mark the type itself by reference.
                if (t.vt == VT_PTR && t.lptdesc) types[p] = t.lptdesc->vt;
                if (t.vt & VT_BYREF) types[p] = static_cast<VARTYPE>(t.vt & ~VT_BYREF);
            }
        }
    }
    return types;
}

const std::vector<VARTYPE>& ComObject::ByRefTypes(DISPID id, WORD flags) {
    auto it = byRef_.find(id);
    if (it != byRef_.end()) return it->second;
    std::vector<VARTYPE> types;
    IDispatch* dispatch = dispatch_.Get();
    OnComThread(thread_.get(), runtime_, [&] { types = DeclaredByRef(dispatch, id, flags); });
    return byRef_.emplace(id, std::move(types)).first->second;
}

// Runs on the COM thread. The arguments are converted while the UI thread
// waits; once the object has the call, the wait may be abandoned, and then
// nothing here touches the caller's values again: what was made for the
// call is released here.
Value ComObject::Invoke(script::Runtime& rt, DISPID id, WORD flags, script::Args args,
                        const Value* assigned, std::string_view name) {
    const size_t count = args.count + (assigned ? 1 : 0);
    static const std::vector<VARTYPE> kNone;
    const std::vector<VARTYPE>& refTypes = assigned ? kNone : ByRefTypes(id, flags);
    IDispatch* dispatch = dispatch_.Get();
    Value out;
    // What the object's call reads is the work's own: the caller's frame may
    // be gone while the object runs.
    RunForScript(thread_.get(), rt, [&, dispatch, id, flags, count](ForeignCall& foreign) {
        CallArguments call(count);
        std::vector<VARTYPE> declaredOf(args.count, VT_EMPTY);
        for (size_t i = 0; i < args.count; ++i) {
            VARIANT& passed = call.passed[count - 1 - i];
            if (script::IsMissing(args[i])) {
                passed.vt = VT_ERROR;
                passed.scode = DISP_E_PARAMNOTFOUND;
                continue;
            }
            UniqueVariant value;
            ToVariant(rt, args[i], value.Get());
            const VARTYPE declared = i < refTypes.size() ? refTypes[i] : VARTYPE{VT_EMPTY};
            if (declared == VT_EMPTY || (declared & (VT_ARRAY | VT_BYREF))) {
                passed = value.Detach();
                continue;
            }
            PassByRef(&value, declared, &call.holders[i], &passed);
            call.byRef[i] = (passed.vt & VT_BYREF) != 0;
            declaredOf[i] = declared;
        }
        if (assigned) ToVariant(rt, *assigned, &call.passed[0]);
        DISPID putId = DISPID_PROPERTYPUT;
        const bool put = assigned != nullptr;
        DISPPARAMS params{call.passed.data(), put ? &putId : nullptr, static_cast<UINT>(count),
                          put ? 1u : 0u};
        UniqueVariant result;
        ExceptionInfo info;
        UINT badArg = 0;
        HRESULT hr = E_UNEXPECTED;
        if (!foreign.Run([&] {
                hr = dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                      put ? nullptr : result.Get(), info.Get(), &badArg);
            })) {
            return;
        }
        if (FAILED(hr)) ThrowComError(hr, info.Get(), name);
        // The result first: it is released even when an argument written
        // back has no script form.
        out = TakeVariant(result.Get());
        for (size_t i = 0; i < args.count; ++i) {
            if (call.byRef[i]) args[i] = FromHolder(&call.holders[i], declaredOf[i]);
        }
    });
    return out;
}

Value ComObject::Get(script::Runtime& rt, std::string_view name, script::Args args) {
    runtime_ = rt.self;
    return Invoke(rt, IdOf(name), DISPATCH_METHOD | DISPATCH_PROPERTYGET, args, nullptr, name);
}

// Set asks for PROPERTYPUTREF, which many objects implement only as
// PROPERTYPUT (saying the member is missing, or not implemented); the other
// is tried then.
void ComObject::Put(script::Runtime& rt, std::string_view name, script::Args args, Value v,
                    bool isSet) {
    runtime_ = rt.self;
    const DISPID id = IdOf(name);
    if (isSet && v.type() == script::Type::Object && v.AsObject()) {
        try {
            Invoke(rt, id, DISPATCH_PROPERTYPUTREF, args, &v, name);
            return;
        } catch (const script::ScriptError& e) {
            if (e.number != script::kErrNoSuchMember && e.number != static_cast<int>(E_NOTIMPL)) {
                throw;
            }
        }
    }
    Invoke(rt, id, DISPATCH_PROPERTYPUT, args, &v, name);
}

// The whole collection is read before the loop starts, as a script host
// does with IEnumVARIANT: the loop body may change the collection.
bool ComObject::Items(script::Runtime& rt, std::vector<Value>* out) {
    runtime_ = rt.self;
    bool enumerable = false;
    IDispatch* dispatch = dispatch_.Get();
    RunForScript(thread_.get(), rt, [&, dispatch](ForeignCall& foreign) {
        UniqueVariant result;
        ExceptionInfo info;
        HRESULT hr = E_UNEXPECTED;
        DISPPARAMS none{};
        if (!foreign.Run([&] {
                hr = dispatch->Invoke(DISPID_NEWENUM, IID_NULL, LOCALE_USER_DEFAULT,
                                      DISPATCH_METHOD | DISPATCH_PROPERTYGET, &none, result.Get(),
                                      info.Get(), nullptr);
            })) {
            return;
        }
        if (FAILED(hr)) {
            if (hr == DISP_E_EXCEPTION) ThrowComError(hr, info.Get(), {});
            return;
        }
        ComPtr<IEnumVARIANT> items;
        IUnknown* unknown =
            result->vt == VT_UNKNOWN || result->vt == VT_DISPATCH ? result->punkVal : nullptr;
        if (unknown) unknown->QueryInterface(IID_IEnumVARIANT, items.OutVoid());
        if (!items) return;
        std::vector<UniqueVariant> got;
        for (;;) {
            UniqueVariant item;
            ULONG count = 0;
            HRESULT next = S_FALSE;
            if (!foreign.Run([&] { next = items->Next(1, item.Get(), &count); })) return;
            if (next != S_OK || count != 1) break;
            got.push_back(std::move(item));
        }
        for (UniqueVariant& item : got) out->push_back(TakeVariant(item.Get()));
        enumerable = true;
    });
    return enumerable;
}

}  // namespace vantrel::com
