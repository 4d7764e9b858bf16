#include "platform/win32/com_values.h"

#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/win32/com_apartment.h"
#include "platform/win32/com_object.h"
#include "platform/win32/com_owners.h"
#include "platform/win32/script_dispatch.h"

namespace vantrel::com {

using script::Type;
using script::Value;

std::string Narrow(BSTR text) {
    return text ? Narrow(text, SysStringLen(text)) : std::string();
}

BSTR AllocBstr(std::string_view text) {
    const std::wstring wide = Widen(text);
    BSTR b = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    if (!b) script::Throw(script::kErrOutOfMemory);
    return b;
}

namespace {

// The subscripts of every item of an array, in the order the script's
// arrays store them (last subscript fastest).
bool NextSubscripts(const std::vector<LONG>& lower, const std::vector<LONG>& upper,
                    std::vector<LONG>* at) {
    for (size_t d = at->size(); d-- > 0;) {
        if ((*at)[d] < upper[d]) {
            ++(*at)[d];
            return true;
        }
        (*at)[d] = lower[d];
    }
    return false;
}

// Each item is moved into its slot: no copy of an interface is made, so
// that nothing is AddRef'd off the COM thread.
SAFEARRAY* ToSafeArray(script::Runtime& rt, const script::Array& a) {
    const size_t dims = a.Dimensions();
    if (dims == 0) return SafeArrayCreateVector(VT_VARIANT, 0, 0);
    std::vector<SAFEARRAYBOUND> bounds(dims);
    std::vector<LONG> lower(dims), upper(dims);
    for (size_t d = 0; d < dims; ++d) {
        lower[d] = a.Lower(d);
        upper[d] = a.Upper(d);
        bounds[d].lLbound = lower[d];
        bounds[d].cElements = static_cast<ULONG>(a.Extent(d));
    }
    UniqueSafeArray sa(SafeArrayCreate(VT_VARIANT, static_cast<UINT>(dims), bounds.data()));
    if (!sa.Valid()) script::Throw(script::kErrOutOfMemory);
    if (a.items.empty()) return sa.Detach();
    std::vector<LONG> at = lower;
    size_t i = 0;
    do {
        void* slot = nullptr;
        if (FAILED(SafeArrayPtrOfIndex(sa.Get(), at.data(), &slot))) {
            script::Throw(script::kErrOutOfMemory);
        }
        UniqueVariant item;
        ToVariant(rt, a.items[i++], item.Get());
        *static_cast<VARIANT*>(slot) = item.Detach();
    } while (NextSubscripts(lower, upper, &at) && i < a.items.size());
    return sa.Detach();
}

// Any element type: each element is read into a VARIANT of the array's
// type, which SafeArrayGetElement fills for VARIANT arrays directly.
Value FromSafeArray(SAFEARRAY* sa, VARTYPE elementType) {
    script::Ref<script::Array> a(new script::Array);
    const UINT dims = sa ? SafeArrayGetDim(sa) : 0;
    if (dims == 0) return Value::Array(a);
    if (elementType == VT_RECORD || elementType == VT_EMPTY || elementType == VT_NULL) {
        script::Throw(script::kErrUnsupportedType);
    }
    std::vector<LONG> lower(dims), upper(dims);
    size_t count = 1;
    bool zeroBased = true;
    for (UINT d = 0; d < dims; ++d) {
        SafeArrayGetLBound(sa, d + 1, &lower[d]);
        SafeArrayGetUBound(sa, d + 1, &upper[d]);
        zeroBased = zeroBased && lower[d] == 0;
        count *= upper[d] >= lower[d] ? static_cast<size_t>(upper[d] - lower[d] + 1) : 0;
    }
    if (count > static_cast<size_t>(script::kMaxArrayItems)) script::Throw(script::kErrOutOfMemory);
    // LONG is 32 bits on Windows, as the bounds are.
    a->SetBounds(
        std::vector<int32_t>(upper.begin(), upper.end()),
        zeroBased ? std::vector<int32_t>{} : std::vector<int32_t>(lower.begin(), lower.end()));
    a->items.reserve(count);
    if (count == 0) return Value::Array(a);
    // Each element is read where it stands, without a copy (which would
    // AddRef an interface off the COM thread).
    const UINT size = SafeArrayGetElemsize(sa);
    std::vector<LONG> at = lower;
    do {
        void* slot = nullptr;
        if (FAILED(SafeArrayPtrOfIndex(sa, at.data(), &slot))) script::Throw(script::kErrSubscript);
        VARIANT view;
        VariantInit(&view);
        if (elementType == VT_VARIANT) {
            view = *static_cast<const VARIANT*>(slot);
        } else if (elementType == VT_DECIMAL) {
            view.decVal = *static_cast<const DECIMAL*>(slot);
            view.vt = VT_DECIMAL;
        } else {
            if (size > sizeof(view.llVal)) script::Throw(script::kErrUnsupportedType);
            memcpy(&view.llVal, slot, size);
            view.vt = elementType;
        }
        a->items.push_back(FromVariant(view));
    } while (NextSubscripts(lower, upper, &at));
    return Value::Array(a);
}

// Types VBScript has no subtype for: a Long when the value fits it
// exactly, else a Double, as the script host does with them.
Value FromOtherNumber(const VARIANT& v) {
    UniqueVariant as;
    if (SUCCEEDED(VariantChangeType(as.Get(), const_cast<VARIANT*>(&v), 0, VT_R8))) {
        const double d = as->dblVal;
        if (d == std::trunc(d) && d >= -2147483648.0 && d <= 2147483647.0) {
            return Value::Long(static_cast<int32_t>(d));
        }
        // Integers beyond a Double's exact range keep their nearest value.
        return Value::Double(d);
    }
    script::Throw(script::kErrUnsupportedType);
}

// The interface is queried on the COM thread; a script object of the
// engine's own comes back as itself. No stop abandons the query: values
// come from COM on the COM thread itself, or on the UI thread inside a
// call-back, while the COM thread serves its queue for it.
Value FromObject(IUnknown* unknown) {
    if (!unknown) return Value::Object(nullptr);
    Value own;
    bool isOwn = false;
    ComPtr<IDispatch> dispatch;
    OnComThread(ValuesThread().get(), nullptr, [&] {
        unknown->QueryInterface(IID_IDispatch, dispatch.OutVoid());
        isOwn = dispatch && UnwrapScriptDispatch(dispatch.Get(), &own);
        // The engine's own object is released where its reference went.
        if (isOwn) dispatch.Reset();
    });
    if (isOwn) return own;
    if (!dispatch) script::Throw(script::kErrUnsupportedType);
    return WrapDispatch(std::move(dispatch));
}

}  // namespace

namespace {

// The numbers, Booleans, dates and error codes: a VARTYPE of the subtype's
// own number (VarType's numbering is COM's) and the value beside it.
void ToScalarVariant(const Value& v, VARIANT* out) {
    switch (v.type()) {
        case Type::Boolean:
            out->boolVal = v.AsBoolean() ? VARIANT_TRUE : VARIANT_FALSE;
            break;
        case Type::Byte:
            out->bVal = v.AsByte();
            break;
        case Type::Integer:
            out->iVal = v.AsInteger();
            break;
        case Type::Long:
        case Type::Error:
            out->lVal = v.type() == Type::Long ? v.AsLong() : v.AsErrorCode();
            break;
        case Type::Single:
            out->fltVal = v.AsSingle();
            break;
        case Type::Double:
        case Type::Date:
            out->dblVal = v.AsDouble();
            break;
        case Type::Currency:
            out->cyVal.int64 = v.AsCurrency();
            break;
        default:
            script::Throw(script::kErrTypeMismatch);
    }
    out->vt = static_cast<VARTYPE>(v.type());
}

}  // namespace

void ToVariant(script::Runtime& rt, const Value& v, VARIANT* out) {
    VariantInit(out);
    switch (v.type()) {
        case Type::Empty:
            return;
        case Type::Null:
            out->vt = VT_NULL;
            return;
        case Type::String:
            out->bstrVal = AllocBstr(v.AsString());
            out->vt = VT_BSTR;
            return;
        case Type::Object:
            out->pdispVal = v.AsObject() ? DispatchFor(rt, v).Detach() : nullptr;
            out->vt = VT_DISPATCH;
            return;
        case Type::Array:
            out->parray = ToSafeArray(rt, *v.AsArray());
            out->vt = VT_ARRAY | VT_VARIANT;
            return;
        default:
            ToScalarVariant(v, out);
    }
}

namespace {

// What a reference points at, and arrays, by reference or not.
Value FromIndirect(const VARIANT& v) {
    if (v.vt == (VT_BYREF | VT_VARIANT)) return v.pvarVal ? FromVariant(*v.pvarVal) : Value();
    // An interface by reference is read in place, not copied (a copy would
    // AddRef it here).
    if (v.vt == (VT_BYREF | VT_DISPATCH)) return FromObject(v.ppdispVal ? *v.ppdispVal : nullptr);
    if (v.vt == (VT_BYREF | VT_UNKNOWN)) return FromObject(v.ppunkVal ? *v.ppunkVal : nullptr);
    if (v.vt & VT_ARRAY) {
        SAFEARRAY* sa = (v.vt & VT_BYREF) ? (v.pparray ? *v.pparray : nullptr) : v.parray;
        return FromSafeArray(sa, static_cast<VARTYPE>(v.vt & VT_TYPEMASK));
    }
    UniqueVariant plain;
    if (FAILED(VariantCopyInd(plain.Get(), const_cast<VARIANT*>(&v)))) {
        script::Throw(script::kErrUnsupportedType);
    }
    return FromVariant(*plain);
}

}  // namespace

Value FromVariant(const VARIANT& v) {
    if (v.vt & (VT_BYREF | VT_ARRAY)) return FromIndirect(v);
    switch (v.vt) {
        case VT_EMPTY:
            return Value();
        case VT_NULL:
            return Value::Null();
        case VT_BOOL:
            return Value::Boolean(v.boolVal != VARIANT_FALSE);
        case VT_UI1:
            return Value::Byte(v.bVal);
        case VT_I2:
            return Value::Integer(v.iVal);
        case VT_I4:
            return Value::Long(v.lVal);
        case VT_R4:
            return Value::Single(v.fltVal);
        case VT_R8:
            return Value::Double(v.dblVal);
        case VT_CY:
            return Value::Currency(v.cyVal.int64);
        case VT_DATE:
            return Value::Date(v.date);
        case VT_ERROR:
            return Value::ErrorCode(v.scode);
        case VT_BSTR:
            return Value::String(Narrow(v.bstrVal));
        case VT_DISPATCH:
            return FromObject(v.pdispVal);
        case VT_UNKNOWN:
            return FromObject(v.punkVal);
        case VT_I1:
        case VT_UI2:
        case VT_UI4:
        case VT_I8:
        case VT_UI8:
        case VT_INT:
        case VT_UINT:
        case VT_DECIMAL:
            return FromOtherNumber(v);
        default:
            script::Throw(script::kErrUnsupportedType);
    }
}

Value TakeVariant(VARIANT* v) {
    UniqueVariant owned;
    *owned.Get() = *v;
    VariantInit(v);
    return FromVariant(*owned);
}

}  // namespace vantrel::com
