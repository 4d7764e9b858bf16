#include "platform/win32/com_object.h"

#include <atomic>

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
    BSTR name = nullptr;
    std::string text;
    if (SUCCEEDED(info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr))) {
        text = Narrow(name);
        SysFreeString(name);
    }
    return text;
}

// What one call hands IDispatch::Invoke, and what it owns meanwhile.
struct CallArguments {
    std::vector<VARIANT> passed;   // last argument first, as Invoke takes them
    std::vector<VARIANT> holders;  // what by-reference arguments point at
    std::vector<bool> byRef;       // per script argument, in script order
    explicit CallArguments(size_t count) : passed(count), holders(count), byRef(count, false) {
        for (VARIANT& v : passed) VariantInit(&v);
        for (VARIANT& v : holders) VariantInit(&v);
    }
    ~CallArguments() {
        for (size_t i = 0; i < passed.size(); ++i) {
            if (!(passed[i].vt & VT_BYREF)) VariantClear(&passed[i]);
            VariantClear(&holders[i]);
        }
    }
    CallArguments(const CallArguments&) = delete;
    CallArguments& operator=(const CallArguments&) = delete;
};

// An argument the member takes by reference points at a holder of the
// declared type (or at a VARIANT), so that what the member writes there can
// go back to the script's variable; one the type does not fit goes by value.
void PassByRef(VARIANT* value, VARTYPE declared, VARIANT* holder, VARIANT* passed) {
    if (declared == VT_VARIANT) {
        *holder = *value;
        VariantInit(value);
        passed->vt = VT_BYREF | VT_VARIANT;
        passed->pvarVal = holder;
        return;
    }
    if (FAILED(VariantChangeType(holder, value, 0, declared))) {
        *passed = *value;
        VariantInit(value);
        return;
    }
    VariantClear(value);
    passed->vt = static_cast<VARTYPE>(VT_BYREF | declared);
    passed->byref = &holder->llVal;
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
        SysFreeString(info->bstrDescription);
        SysFreeString(info->bstrSource);
        SysFreeString(info->bstrHelpFile);
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

ComObject::~ComObject() {
    dispatch_->Release();
    --alive;
}

int ComObject::Alive() {
    return alive.load();
}

Value WrapDispatch(IDispatch* dispatch) {
    if (!dispatch) return Value::Object(nullptr);
    ++alive;
    return Value::Object(script::Ref<script::Object>(new ComObject(dispatch)));
}

// A class that says what it is (IProvideClassInfo) gives its class name, as
// "FileSystemObject"; others give their interface's, as "IWshShell3".
std::string ComObject::TypeName() const {
    IProvideClassInfo* provider = nullptr;
    if (SUCCEEDED(dispatch_->QueryInterface(IID_IProvideClassInfo,
                                            reinterpret_cast<void**>(&provider)))) {
        ITypeInfo* info = nullptr;
        std::string name;
        if (SUCCEEDED(provider->GetClassInfo(&info))) {
            name = DocumentationName(info);
            info->Release();
        }
        provider->Release();
        if (!name.empty()) return name;
    }
    ITypeInfo* info = nullptr;
    if (SUCCEEDED(dispatch_->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info)) && info) {
        std::string name = DocumentationName(info);
        info->Release();
        if (!name.empty()) return name;
    }
    return "Object";
}

DISPID ComObject::IdOf(std::string_view name) {
    if (name.empty()) return DISPID_VALUE;
    auto it = ids_.find(std::string(name));
    if (it != ids_.end()) return it->second;
    std::wstring wide = Widen(name);
    LPOLESTR names[] = {wide.data()};
    DISPID id = DISPID_UNKNOWN;
    const HRESULT hr = dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) ThrowComError(hr, nullptr, name);
    ids_.emplace(std::string(name), id);
    return id;
}

// A class's type information lists no members of its own: they are on the
// interface it implements by default.
static ITypeInfo* MemberTypeInfo(IDispatch* dispatch) {
    ITypeInfo* info = nullptr;
    if (FAILED(dispatch->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info)) || !info) return nullptr;
    TYPEATTR* attr = nullptr;
    if (FAILED(info->GetTypeAttr(&attr))) return info;
    const bool isClass = attr->typekind == TKIND_COCLASS && attr->cImplTypes > 0;
    info->ReleaseTypeAttr(attr);
    if (!isClass) return info;
    HREFTYPE ref = 0;
    ITypeInfo* implemented = nullptr;
    if (SUCCEEDED(info->GetRefTypeOfImplType(0, &ref))) info->GetRefTypeInfo(ref, &implemented);
    info->Release();
    return implemented;
}

const std::vector<VARTYPE>& ComObject::ByRefTypes(DISPID id, WORD flags) {
    auto it = byRef_.find(id);
    if (it != byRef_.end()) return it->second;
    std::vector<VARTYPE> types;
    ITypeInfo* info = MemberTypeInfo(dispatch_);
    TYPEATTR* attr = nullptr;
    if (info && SUCCEEDED(info->GetTypeAttr(&attr))) {
        for (WORD f = 0; f < attr->cFuncs && types.empty(); ++f) {
            FUNCDESC* desc = nullptr;
            if (FAILED(info->GetFuncDesc(f, &desc))) continue;
            const bool wanted =
                (desc->invkind == INVOKE_FUNC && (flags & DISPATCH_METHOD)) ||
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
            info->ReleaseFuncDesc(desc);
        }
        info->ReleaseTypeAttr(attr);
    }
    if (info) info->Release();
    return byRef_.emplace(id, std::move(types)).first->second;
}

Value ComObject::Invoke(script::Runtime& rt, DISPID id, WORD flags, script::Args args,
                        const VARIANT* assigned, std::string_view name) {
    const size_t count = args.count + (assigned ? 1 : 0);
    CallArguments call(count);
    const std::vector<VARTYPE>& refTypes =
        assigned ? std::vector<VARTYPE>() : ByRefTypes(id, flags);
    for (size_t i = 0; i < args.count; ++i) {
        VARIANT& passed = call.passed[count - 1 - i];
        if (script::IsMissing(args[i])) {
            passed.vt = VT_ERROR;
            passed.scode = DISP_E_PARAMNOTFOUND;
            continue;
        }
        VARIANT value;
        ToVariant(rt, args[i], &value);
        const VARTYPE declared = i < refTypes.size() ? refTypes[i] : VARTYPE{VT_EMPTY};
        if (declared == VT_EMPTY || (declared & (VT_ARRAY | VT_BYREF))) {
            passed = value;
            continue;
        }
        call.byRef[i] = true;
        PassByRef(&value, declared, &call.holders[i], &passed);
        call.byRef[i] = (passed.vt & VT_BYREF) != 0;
    }
    DISPID putId = DISPID_PROPERTYPUT;
    if (assigned) VariantCopy(&call.passed[0], const_cast<VARIANT*>(assigned));
    DISPPARAMS params{call.passed.data(), assigned ? &putId : nullptr, static_cast<UINT>(count),
                      assigned ? 1u : 0u};
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO info{};
    UINT badArg = 0;
    const HRESULT hr = dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                         assigned ? nullptr : &result, &info, &badArg);
    if (FAILED(hr)) ThrowComError(hr, &info, name);
    // The result first: it is released even when an argument written back
    // has no script form.
    Value out = TakeVariant(&result);
    for (size_t i = 0; i < args.count; ++i) {
        if (call.byRef[i]) args[i] = FromVariant(call.holders[i]);
    }
    return out;
}

Value ComObject::Get(script::Runtime& rt, std::string_view name, script::Args args) {
    return Invoke(rt, IdOf(name), DISPATCH_METHOD | DISPATCH_PROPERTYGET, args, nullptr, name);
}

// Set asks for PROPERTYPUTREF, which many objects implement only as
// PROPERTYPUT (saying the member is missing, or not implemented); the other
// is tried then.
void ComObject::Put(script::Runtime& rt, std::string_view name, script::Args args, Value v,
                    bool isSet) {
    const DISPID id = IdOf(name);
    VARIANT value;
    ToVariant(rt, v, &value);
    struct Clear {
        VARIANT* v;
        ~Clear() { VariantClear(v); }
    } clear{&value};
    if (isSet && value.vt == VT_DISPATCH) {
        try {
            Invoke(rt, id, DISPATCH_PROPERTYPUTREF, args, &value, name);
            return;
        } catch (const script::ScriptError& e) {
            if (e.number != script::kErrNoSuchMember && e.number != static_cast<int>(E_NOTIMPL)) {
                throw;
            }
        }
    }
    Invoke(rt, id, DISPATCH_PROPERTYPUT, args, &value, name);
}

// The whole collection is read before the loop starts, as a script host
// does with IEnumVARIANT: the loop body may change the collection.
bool ComObject::Items(std::vector<Value>* out) {
    VARIANT result;
    VariantInit(&result);
    DISPPARAMS none{};
    EXCEPINFO info{};
    const HRESULT hr =
        dispatch_->Invoke(DISPID_NEWENUM, IID_NULL, LOCALE_USER_DEFAULT,
                          DISPATCH_METHOD | DISPATCH_PROPERTYGET, &none, &result, &info, nullptr);
    if (FAILED(hr)) {
        if (hr == DISP_E_EXCEPTION) ThrowComError(hr, &info, {});
        return false;
    }
    IEnumVARIANT* items = nullptr;
    IUnknown* unknown =
        result.vt == VT_UNKNOWN || result.vt == VT_DISPATCH ? result.punkVal : nullptr;
    if (unknown) unknown->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&items));
    VariantClear(&result);
    if (!items) return false;
    struct Release {
        IEnumVARIANT* e;
        ~Release() { e->Release(); }
    } release{items};
    VARIANT item;
    ULONG got = 0;
    VariantInit(&item);
    while (items->Next(1, &item, &got) == S_OK && got == 1) {
        out->push_back(TakeVariant(&item));
    }
    return true;
}

}  // namespace vantrel::com
