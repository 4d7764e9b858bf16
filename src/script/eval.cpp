// Evaluation of expression nodes: names, calls, members, Me and New. The
// operators are in eval_operators.cpp.
#include <array>
#include <cstdint>
#include <type_traits>
#include <variant>

#include "script/builtins.h"
#include "script/convert.h"
#include "script/nodes.h"
#include "script/objects.h"

namespace script {
namespace {

[[noreturn]] void ThrowNamed(int number, const std::string& name) {
    Throw(number, ErrorText(number) + ": '" + name + "'");
}

// The variable a name stands for, or null when it names a procedure.
Value* VarAddress(Frame& f, const NameRef& ref) {
    switch (ref.kind) {
        case NameRef::Kind::kLocal:
            return f.slots[ref.local];
        case NameRef::Kind::kField:
            return &f.me->fields[ref.local];
        case NameRef::Kind::kExecLocal: {
            // Bound for the frame it was compiled in, which runs it at once.
            ExecLocal* made = f.ExecLocalAt(ref.local);
            if (!made) Throw(kErrInternal);
            return &made->value;
        }
        case NameRef::Kind::kGlobal: {
            GlobalSlot& g = SlotOf(f, ref);
            if (g.proc || g.cls) return nullptr;
            if (!g.exists) {
                if (f.rt.optionExplicit && !g.declared) ThrowNamed(kErrUndefinedVar, ref.shown);
                g.exists = true;
                g.Settle();
            }
            return &g.value;
        }
        case NameRef::Kind::kDynamic: {
            GlobalSlot& g = SlotOf(f, ref);
            if (g.exists || g.declared) return g.proc || g.cls ? nullptr : &g.value;
            if (f.rt.optionExplicit) ThrowNamed(kErrUndefinedVar, ref.shown);
            return f.slots[ref.local];
        }
        default:
            return nullptr;
    }
}

const GlobalSlot* GlobalOf(Frame& f, const NameRef& ref) {
    if (ref.kind == NameRef::Kind::kGlobal || ref.kind == NameRef::Kind::kDynamic) {
        return &SlotOf(f, ref);
    }
    return nullptr;
}

Value CallBuiltin(Frame& f, const Builtin& b, const ExprList& args, const std::string& shown) {
    const int count = static_cast<int>(args.size());
    if (count < b.minArgs || (b.maxArgs >= 0 && count > b.maxArgs)) {
        ThrowNamed(kErrWrongArgs, shown);
    }
    // Most calls have few arguments: keep them off the heap.
    std::array<Value, 8> small;
    std::vector<Value> large;
    Value* values = small.data();
    if (count > static_cast<int>(small.size())) {
        large.resize(count);
        values = large.data();
    }
    for (int i = 0; i < count; ++i) {
        values[i] = args[i] ? args[i]->Eval(f) : Value::ErrorCode(kMissingArgument);
    }
    return b.fn(f, values, count);
}

ScriptObject* ObjectOf(const Value& v) {
    if (!v.IsObject() || !v.AsObject()) Throw(kErrObjectRequired);
    return static_cast<ScriptObject*>(v.AsObject());
}

Value ReadElement(Frame& f, const Value& array, const ExprList& args) {
    Subscripts subs;
    EvalSubscripts(f, args, &subs);
    const Array* a = array.AsArray();
    const int64_t at = a->Offset(subs.data(), subs.size());
    if (at < 0) Throw(kErrSubscript);
    return a->items[at];
}

void WriteElement(Frame& f, Value* array, const ExprList& args, Value v) {
    Subscripts subs;
    EvalSubscripts(f, args, &subs);
    Array* a = OwnArray(array);
    const int64_t at = a->Offset(subs.data(), subs.size());
    if (at < 0) Throw(kErrSubscript);
    a->items[at] = std::move(v);
}

// The value an assignment stores: without Set an object gives its default.
Value ForAssignment(Frame& f, Value v, bool isSet) {
    if (isSet) {
        if (!v.IsObject()) Throw(kErrObjectRequired);
        return v;
    }
    if (v.IsObject()) {
        if (!v.AsObject()) Throw(kErrObjectNotSet);
        return Dereference(f.rt, std::move(v));
    }
    return v;
}

// A call whose argument count is not the procedure's, which fails there
// (the arguments are evaluated first, as VBScript does), or whose frame is
// too large to be held inline.
[[gnu::noinline]] Value CallWithArgList(Frame& f, const ExprList& exprs, const Procedure& p,
                                        Instance* me) {
    ArgList list;
    EvalArgs(f, exprs, &list);
    return CallProcedure(f.rt, p, me, list.View());
}

// Once every argument of a call is read, when one was lent or omitted:
// ByVal parameters copy what they were lent, and no parameter may be left
// with an omitted argument's mark (given, or held by a variable lent).
[[gnu::always_inline]] inline void SettleArguments(const Procedure& p, size_t count, bool lent,
                                                   Value** slots, Value* values) {
    if (lent) {
        const Param* params = p.params.data();
        for (size_t i = 0; i < count; ++i) {
            if (!params[i].byRef && slots[i] != &values[i]) {
                values[i] = *slots[i];
                slots[i] = &values[i];
            }
        }
    }
    for (size_t i = 0; i < p.paramCount; ++i) {
        if (IsMissing(*slots[i])) Throw(kErrArgNotOptional);
    }
}

// What a call's arguments may be: anything (kAny); only values, every
// one given and none a variable to lend (kValues: Fib(n - 1)), so that the
// loop making them tests nothing; or anything and then a Property Let's
// value, already worked out (kLet).
enum class Filling { kAny, kValues, kLet };

// A call of a script procedure: the arguments are evaluated straight into
// the callee's variables, or lent by address to its ByRef parameters. A
// Property Let's value is its last (*value).
template <Filling kFill>
[[gnu::always_inline]] inline Value CallFilled(Frame& f, const ExprList& exprs, const Procedure& p,
                                               Instance* me, Value* value) {
    constexpr bool kLet = kFill == Filling::kLet;
    // Checked here rather than by the callers, so that they can hand the
    // call on without a frame of their own.
    f.rt.CheckStack();
    const size_t count = exprs.size();
    // A Property Let's caller has seen that its frame fits.
    if (!kLet && (count != p.paramCount || p.frameSize > FrameLocals::kInline)) {
        return CallWithArgList(f, exprs, p, me);
    }
    FrameLocals locals(p);
    const Expr* const* args = exprs.data();
    // Elements lent are locked until the call returns; values lend none.
    std::conditional_t<kFill == Filling::kValues, std::monostate, ArgLocks> locks;
    bool lent = false, omitted = false;
    for (size_t i = 0; i < count; ++i) {
        const Expr* e = args[i];
        if constexpr (kFill != Filling::kValues) {
            if (!e) {
                locals.Make([] { return Value::ErrorCode(kMissingArgument); });
                omitted = true;
                continue;
            }
            if (Value* address = e->lendable ? e->ArgAddress(f, &locks) : nullptr) {
                locals.Lend(address);
                lent = true;
                continue;
            }
        }
        locals.Make([&] { return e->Eval(f); });
        omitted |= IsMissing(locals.values()[i]);
    }
    if constexpr (kLet) {
        locals.Make([&] { return std::move(*value); });
        omitted |= IsMissing(locals.values()[count]);
    }
    locals.MakeRest();
    f.rt.CheckInterrupt();
    if (lent || omitted) SettleArguments(p, count, lent, locals.slots(), locals.values());
    return RunProcedure(f.rt, p, me, locals.slots());
}

[[gnu::noinline]] Value CallWithArgs(Frame& f, const ExprList& exprs, const Procedure& p,
                                     Instance* me) {
    return CallFilled<Filling::kAny>(f, exprs, p, me, nullptr);
}

[[gnu::noinline]] void CallLet(Frame& f, const ExprList& exprs, const Procedure& p, Instance* me,
                               Value* value) {
    CallFilled<Filling::kLet>(f, exprs, p, me, value);
}

// A member of a script class instance called from outside it or from
// inside (Me): a method or property with arguments to match is called
// directly; anything else goes through the instance.
Value InvokeMember(Frame& f, Instance* in, int member, const ExprList& exprs, bool inside) {
    const ClassMember& m = in->cls->members[member];
    const Procedure* p = m.method ? m.method : m.get;
    if ((m.isPublic || inside) && m.field < 0 && p && p->params.size() == exprs.size()) {
        return CallWithArgs(f, exprs, *p, in);
    }
    ArgList list;
    EvalArgs(f, exprs, &list);
    return in->Invoke(f.rt, member, list.View(), inside);
}

// One subscript, rounded to a Long; a whole number is taken as it is.
int32_t Subscript(Frame& f, const Expr* e) {
    if (!e) Throw(kErrSubscript);
    Value temp;
    const Value* v = Peek(f, e);
    if (!v) {
        f.rt.CheckStack();
        temp = e->Eval(f);
        v = &temp;
    }
    if (v->type() == Type::Long) return v->AsLong();
    if (v->type() == Type::Integer) return v->AsInteger();
    return ToLong(Dereference(f.rt, *v));
}

// The element at one subscript; the subscript is evaluated first, and
// may have replaced what the variable holds.
Value& ElementAt(Array* a, int32_t at) {
    if (Value* item = FlatItem(a, at)) return *item;
    const int64_t offset = a->Offset(&at, 1);
    if (offset < 0) Throw(kErrSubscript);
    return a->items[offset];
}

}  // namespace

Value* PeekElementToWrite(Frame& f, const CallExpr* e) {
    Array* a = nullptr;
    Value* element = PlainElement(f, e, &a);
    if (!element || a->RefCount() == 1 || a->locks > 0) return element;
    // The array is shared: the variable gets its own copy, whose element is
    // the one written.
    OwnArray(PlainVariable(f, e->ref));
    return PlainElement(f, e, &a);
}

void EvalSubscripts(Frame& f, const ExprList& args, Subscripts* out) {
    out->resize(args.size());
    for (size_t i = 0; i < args.size(); ++i) {
        if (!args[i]) Throw(kErrSubscript);
        (*out)[i] = ToLong(Dereference(f.rt, args[i]->Eval(f)));
    }
}

void EvalArgs(Frame& f, const ExprList& args, ArgList* list) {
    list->temps.Reserve(args.size());
    list->refs.Reserve(args.size());
    for (const Expr* arg : args) {
        Value* address = nullptr;
        if (!arg) {
            address = &list->temps.EmplaceBack(Value::ErrorCode(kMissingArgument));
        } else if (!(address = arg->ArgAddress(f, &list->locks))) {
            address = &list->temps.EmplaceBack(arg->Eval(f));
        }
        list->refs.EmplaceBack(address);
    }
}

void ArgLocks::Add(Array* a) {
    if (!arrays_) arrays_ = std::make_unique<std::vector<Ref<Array>>>();
    arrays_->emplace_back(a);
    ++a->locks;
}

void ArgLocks::Unlock() {
    for (const Ref<Array>& a : *arrays_) --a->locks;
}

// An array element passed ByRef: the array stays locked (no ReDim or Erase)
// until the call returns, so the address stays good.
Value* CallExpr::ArgAddress(Frame& f, ArgLocks* locks) const {
    if (args.empty() || ref.kind == NameRef::Kind::kBuiltin || ref.kind == NameRef::Kind::kMember ||
        ref.kind == NameRef::Kind::kConstant) {
        return nullptr;
    }
    Value* v = VarAddress(f, ref);
    if (!v || !v->IsArray()) return nullptr;
    Subscripts subs;
    EvalSubscripts(f, args, &subs);
    Array* a = OwnArray(v);
    const int64_t at = a->Offset(subs.data(), subs.size());
    if (at < 0) Throw(kErrSubscript);
    locks->Add(a);
    return &a->items[at];
}

Value Dereference(Runtime& rt, Value v) {
    if (!v.IsObject()) return v;
    if (!v.AsObject()) Throw(kErrObjectNotSet);
    Value inner = static_cast<ScriptObject*>(v.AsObject())->Get(rt, {}, Args{});
    if (inner.IsObject()) Throw(kErrNoSuchMember);
    return inner;
}

// ---- names ----

Value NameExpr::Eval(Frame& f) const {
    switch (ref.kind) {
        case NameRef::Kind::kLocal:
            return *f.slots[ref.local];
        case NameRef::Kind::kBuiltin:
            return CallBuiltin(f, *ref.builtin, {}, ref.shown);
        case NameRef::Kind::kMember:
            return f.me->Invoke(f.rt, ref.member, Args{}, true);
        case NameRef::Kind::kConstant:
            return ref.constant;
        case NameRef::Kind::kGlobal: {
            const GlobalSlot& g = SlotOf(f, ref);
            if (g.exists && !g.proc && !g.cls) return g.value;
            break;
        }
        default:
            break;
    }
    if (Value* v = VarAddress(f, ref)) return *v;
    if (ref.slot >= 0 && SlotOf(f, ref).proc) {
        return CallProcedure(f.rt, *SlotOf(f, ref).proc, nullptr, Args{});
    }
    ThrowNamed(kErrTypeMismatch, ref.shown);
}

Value* NameExpr::Address(Frame& f) const {
    // A variable of the procedure, the instance or the script: the usual
    // ByRef argument, with nothing to check.
    if (Value* v = PeekVariable(f, this)) return v;
    if (ref.kind == NameRef::Kind::kBuiltin || ref.kind == NameRef::Kind::kMember ||
        ref.kind == NameRef::Kind::kConstant || ref.isConst) {
        return nullptr;
    }
    if (const GlobalSlot* g = GlobalOf(f, ref); g && g->isConst) return nullptr;
    return VarAddress(f, ref);
}

void NameExpr::Assign(Frame& f, Value v, bool isSet) const {
    // Plain values into a procedure's own variable or an existing global
    // variable, the common cases, need none of the checks below.
    if (!isSet && !v.IsObject()) {
        if (ref.kind == NameRef::Kind::kLocal && !ref.isConst) {
            *f.slots[ref.local] = std::move(v);
            return;
        }
        if (ref.kind == NameRef::Kind::kGlobal) {
            GlobalSlot& g = SlotOf(f, ref);
            if (g.exists && !g.isConst && !g.proc && !g.cls) {
                g.value = std::move(v);
                return;
            }
        }
    }
    if (ref.kind == NameRef::Kind::kMember) {
        f.me->Assign(f.rt, ref.member, Args{}, std::move(v), isSet, true);
        return;
    }
    if (ref.kind == NameRef::Kind::kBuiltin || ref.kind == NameRef::Kind::kConstant ||
        ref.isConst) {
        ThrowNamed(kErrIllegalAssign, ref.shown);
    }
    if (const GlobalSlot* g = GlobalOf(f, ref); g && (g->isConst || g->proc || g->cls)) {
        if (g->isConst || g->cls || ref.kind == NameRef::Kind::kGlobal) {
            ThrowNamed(kErrIllegalAssign, ref.shown);
        }
    }
    Value* target = VarAddress(f, ref);
    if (!target) ThrowNamed(kErrIllegalAssign, ref.shown);
    *target = ForAssignment(f, std::move(v), isSet);
}

Value CallExpr::Eval(Frame& f) const {
    // The call is made here, not handed on: recursion goes through this
    // function, and a second function's entry and exit cost a call as much
    // again.
    if (ref.kind == NameRef::Kind::kGlobal && ref.global && ref.global->proc) {
        const Procedure& p = *ref.global->proc;
        if (valueArgs_) return CallFilled<Filling::kValues>(f, args, p, nullptr, nullptr);
        return CallFilled<Filling::kAny>(f, args, p, nullptr, nullptr);
    }
    return EvalOther(f);
}

[[gnu::noinline]] Value CallExpr::EvalOther(Frame& f) const {
    // a(i): the element is copied straight out of the array.
    if (args.size() == 1) {
        if (Value* v = PlainVariable(f, ref); v && v->IsArray()) {
            const int32_t at = Subscript(f, args[0]);
            if (!v->IsArray()) Throw(kErrTypeMismatch);
            return ElementAt(v->AsArray(), at);
        }
    }
    f.rt.CheckStack();
    switch (ref.kind) {
        case NameRef::Kind::kBuiltin:
            return CallBuiltin(f, *ref.builtin, args, ref.shown);
        case NameRef::Kind::kMember:
            return InvokeMember(f, f.me, ref.member, args, true);
        case NameRef::Kind::kGlobal:
            if (const Procedure* p = SlotOf(f, ref).proc) {
                return CallWithArgs(f, args, *p, nullptr);
            }
            break;
        default:
            break;
    }
    Value* v = VarAddress(f, ref);
    if (!v) {
        if (ref.slot >= 0 && SlotOf(f, ref).proc) {
            return CallWithArgs(f, args, *SlotOf(f, ref).proc, nullptr);
        }
        ThrowNamed(kErrTypeMismatch, ref.shown);
    }
    if (v->IsArray()) {
        if (args.empty()) return *v;
        return ReadElement(f, *v, args);
    }
    if (v->IsObject()) {
        ArgList list;
        EvalArgs(f, args, &list);
        return ObjectOf(*v)->Get(f.rt, {}, list.View());
    }
    // A name that is no procedure called with arguments: VBScript says Type
    // mismatch, declared or not.
    ThrowNamed(kErrTypeMismatch, ref.shown);
}

void CallExpr::Assign(Frame& f, Value v, bool isSet) const {
    // a(i) = x: stored in place, once the array is this variable's own.
    if (args.size() == 1) {
        if (Value* target = PlainVariable(f, ref); target && target->IsArray()) {
            Value value = ForAssignment(f, std::move(v), isSet);
            const int32_t at = Subscript(f, args[0]);
            if (!target->IsArray()) Throw(kErrTypeMismatch);
            ElementAt(OwnArray(target), at) = std::move(value);
            return;
        }
    }
    if (ref.kind == NameRef::Kind::kMember) {
        ArgList list;
        EvalArgs(f, args, &list);
        f.me->Assign(f.rt, ref.member, list.View(), std::move(v), isSet, true);
        return;
    }
    Value* target = ref.kind == NameRef::Kind::kBuiltin || ref.kind == NameRef::Kind::kConstant
                        ? nullptr
                        : VarAddress(f, ref);
    if (!target) ThrowNamed(kErrIllegalAssign, ref.shown);
    if (target->IsArray()) {
        WriteElement(f, target, args, ForAssignment(f, std::move(v), isSet));
        return;
    }
    if (target->IsObject()) {
        ArgList list;
        EvalArgs(f, args, &list);
        ObjectOf(*target)->Put(f.rt, {}, list.View(), std::move(v), isSet);
        return;
    }
    ThrowNamed(kErrTypeMismatch, ref.shown);
}

// ---- members ----

int MemberExpr::LearnMember(const Instance& in) const {
    cachedMember_ = in.cls->Find(name);
    cachedClass_ = in.cls->serial;
    // What a read calls straight away: a method or a Property Get that
    // takes these arguments.
    cachedCall_ = nullptr;
    if (cachedMember_ >= 0) {
        const ClassMember& m = in.cls->members[cachedMember_];
        const Procedure* p = m.method ? m.method : m.get;
        if (m.field < 0 && p && p->params.size() == args.size()) cachedCall_ = p;
    }
    return cachedMember_;
}

// The object whose member is asked for, read in place when it is a
// variable: a count of the object keeps it alive, which is cheaper than a
// copy of the value.
inline Ref<ScriptObject> MemberExpr::Subject(Frame& f) const {
    if (!object) return ObjectOf(f.WithObject(withDepth));
    if (const Value* v = Peek(f, object)) return ObjectOf(*v);
    return ObjectOf(object->Eval(f));
}

Value MemberExpr::Eval(Frame& f) const {
    f.rt.CheckStack();
    const Ref<ScriptObject> o = Subject(f);
    const bool inside = f.me && static_cast<Object*>(o.Get()) == f.me;
    if (Instance* in = o->AsInstance()) {
        const int member = MemberOf(*in);
        if (member >= 0 && (in->cls->members[member].isPublic || inside)) {
            if (cachedCall_) return CallWithArgs(f, args, *cachedCall_, in);
            return InvokeMember(f, in, member, args, inside);
        }
    }
    ArgList list;
    EvalArgs(f, args, &list);
    const Args a = list.View();
    if (inside) {
        const int member = f.me->cls->Find(name);
        if (member < 0) Throw(kErrNoSuchMember);
        return f.me->Invoke(f.rt, member, a, true);
    }
    return o->Get(f.rt, name, a);
}

void MemberExpr::Assign(Frame& f, Value v, bool isSet) const {
    const Ref<ScriptObject> o = Subject(f);
    Instance* in = o->AsInstance();
    if (in) {
        // obj.Prop(args) = v with a Property Let (or Set) to take them: the
        // arguments go straight into its variables, and v last.
        const bool inside = in == f.me;
        const int member = MemberOf(*in);
        const ClassMember* m = member >= 0 ? &in->cls->members[member] : nullptr;
        const Procedure* p = !m || m->field >= 0 ? nullptr : isSet && m->set ? m->set : m->let;
        if (p && (m->isPublic || inside) && p->params.size() == args.size() + 1 &&
            p->frameSize <= FrameLocals::kInline) {
            CallLet(f, args, *p, in, &v);
            return;
        }
    }
    ArgList list;
    EvalArgs(f, args, &list);
    const Args a = list.View();
    if (in) {
        const int member = MemberOf(*in);
        if (member < 0) Throw(kErrNoSuchMember);
        in->Assign(f.rt, member, a, std::move(v), isSet, in == f.me);
        return;
    }
    o->Put(f.rt, name, a, std::move(v), isSet);
}

Value IndexExpr::Eval(Frame& f) const {
    f.rt.CheckStack();
    const Value v = base->Eval(f);
    if (v.IsArray()) return ReadElement(f, v, args);
    if (v.IsObject()) {
        ArgList list;
        EvalArgs(f, args, &list);
        return ObjectOf(v)->Get(f.rt, {}, list.View());
    }
    Throw(kErrTypeMismatch);
}

void IndexExpr::Assign(Frame& f, Value v, bool isSet) const {
    if (Value* target = base->Address(f); target && target->IsArray()) {
        WriteElement(f, target, args, ForAssignment(f, std::move(v), isSet));
        return;
    }
    const Value b = base->Eval(f);
    if (!b.IsObject()) Throw(kErrTypeMismatch);
    ArgList list;
    EvalArgs(f, args, &list);
    ObjectOf(b)->Put(f.rt, {}, list.View(), std::move(v), isSet);
}

Value MeExpr::Eval(Frame& f) const {
    if (!f.me) Throw(kErrInvalidMe);
    return Value::Object(Ref<Object>(f.me));
}

Value NewExpr::Eval(Frame& f) const {
    const GlobalSlot* g = ref.slot >= 0 ? &SlotOf(f, ref) : nullptr;
    if (!g || !g->cls) {
        if (Value v; MakeBuiltinObject(f.rt, ref.name, &v)) return v;
        ThrowNamed(kErrClassNotDefined, ref.shown);
    }
    Ref<Instance> obj(new Instance(f.rt, g->cls, g->owner));
    if (g->cls->initialize) CallProcedure(f.rt, *g->cls->initialize, obj.Get(), Args{});
    return Value::Object(Ref<Object>(obj.Get()));
}

}  // namespace script
