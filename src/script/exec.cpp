// Running statement nodes: assignments, calls, branches, loops and
// declarations.
#include <cmath>
#include <cstdint>

#include "script/convert.h"
#include "script/nodes.h"
#include "script/numeric_expr.h"

namespace script {
namespace {

struct WithScope {
    Frame& f;
    WithScope(Frame& fr, Value v) : f(fr) { f.MadeExtras().with.push_back(std::move(v)); }
    ~WithScope() { f.extras->with.pop_back(); }
};

struct ArrayLock {
    Ref<Array> a;
    explicit ArrayLock(Ref<Array> arr) : a(std::move(arr)) { ++a->locks; }
    ~ArrayLock() { --a->locks; }
};

}  // namespace

bool Expr::Test(Frame& f) const {
    Value v = Eval(f);
    if (v.type() == Type::Boolean) return v.AsBoolean();
    if (v.IsObject()) v = Dereference(f.rt, std::move(v));
    if (v.IsNull()) return false;
    return ToBoolean(v);
}

void AssignStmt::Settle() {
    intoLocal_ = fromLocal_ = -1;
    if (isSet || target->leaf != Leaf::kName) return;
    const NameRef& into = static_cast<const NameExpr*>(target)->ref;
    if (into.kind != NameRef::Kind::kLocal || into.isConst) return;
    if (value->leaf == Leaf::kName) {
        const NameRef& from = static_cast<const NameExpr*>(value)->ref;
        if (from.kind != NameRef::Kind::kLocal) return;
        fromLocal_ = from.local;
    } else if (value->leaf != Leaf::kNone || numeric) {
        return;
    }
    intoLocal_ = into.local;
}

Flow AssignStmt::Exec(Frame& f) const {
    if (intoLocal_ >= 0) return ExecIntoLocal(f);
    if (numeric && numeric->Run(f)) return Flow::kNormal;
    return ExecTree(f);
}

Flow AssignStmt::ExecIntoLocal(Frame& f) const {
    if (fromLocal_ >= 0) {
        // Copied as it is, but for an object, which gives its default value.
        if (const Value& from = *f.slots[fromLocal_]; !from.IsObject()) {
            *f.slots[intoLocal_] = from;
            return Flow::kNormal;
        }
        return ExecTree(f);
    }
    Value v = value->Eval(f);
    if (v.IsObject()) {
        target->Assign(f, std::move(v), false);
    } else {
        *f.slots[intoLocal_] = std::move(v);
    }
    return Flow::kNormal;
}

Flow AssignStmt::ExecTree(Frame& f) const {
    const Value* peeked = value->leaf == Leaf::kNone ? nullptr : Peek(f, value);
    Value v = peeked ? *peeked : value->Eval(f);
    // A plain value into a plain variable, the common case, is stored here.
    if (!isSet && !v.IsObject()) {
        if (Value* variable = PeekVariable(f, target)) {
            *variable = std::move(v);
            return Flow::kNormal;
        }
        if (target->leaf == Leaf::kElement) {
            if (Value* element = PeekElementToWrite(f, static_cast<const CallExpr*>(target))) {
                *element = std::move(v);
                return Flow::kNormal;
            }
        }
    }
    target->Assign(f, std::move(v), isSet);
    return Flow::kNormal;
}

Flow AppendStmt::Exec(Frame& f) const {
    Value* v = target->Address(f);
    if (v && v->IsString()) {
        for (const Expr* part : parts) {
            Value rhs = part->Eval(f);
            if (rhs.IsObject()) rhs = Dereference(f.rt, std::move(rhs));
            // Evaluating the part may have changed the variable itself.
            if (v->IsString()) {
                AppendText(v, rhs, f.rt.host);
            } else {
                *v = Concat(*v, rhs, f.rt.host);
            }
        }
        return Flow::kNormal;
    }
    Value result = target->Eval(f);
    if (result.IsObject()) result = Dereference(f.rt, std::move(result));
    for (const Expr* part : parts) {
        Value rhs = part->Eval(f);
        if (rhs.IsObject()) rhs = Dereference(f.rt, std::move(rhs));
        result = Concat(result, rhs, f.rt.host);
    }
    target->Assign(f, std::move(result), false);
    return Flow::kNormal;
}

Flow CallStmt::Exec(Frame& f) const {
    call->Run(f);
    return Flow::kNormal;
}

namespace {

// Under On Error Resume Next a condition that fails resumes at the next
// statement, which is the first of its own branch.
bool ConditionHolds(Frame& f, const Expr* condition) {
    if (!f.resumeNext) return condition->Test(f);
    try {
        return condition->Test(f);
    } catch (const ScriptError& e) {
        SetErr(f.rt, e);
        return true;
    }
}

}  // namespace

void IfStmt::Settle() {
    twoWay_ = conditions.size() == 1;
    thenLone_ = twoWay_ && blocks.front().size() == 1;
    elseLone_ = elseBlock.size() == 1;
}

Flow IfStmt::Exec(Frame& f) const {
    // If ... Else ..., the usual shape, with no loop over the branches. A
    // condition cannot turn Resume Next on: only a statement of this frame can.
    if (twoWay_ && !f.resumeNext) {
        if (conditions.front()->Test(f)) {
            if (!thenLone_) return ExecBlock(f, blocks.front());
            const Stmt* s = blocks.front().front();
            return RunPlaced(s, [&] { return s->Exec(f); });
        }
        if (!elseLone_) return ExecBlock(f, elseBlock);
        const Stmt* s = elseBlock.front();
        return RunPlaced(s, [&] { return s->Exec(f); });
    }
    for (size_t i = 0; i < conditions.size(); ++i) {
        if (ConditionHolds(f, conditions[i])) return RunBlock(f, blocks[i]);
    }
    return RunBlock(f, elseBlock);
}

namespace {

// Writes a counter's next value over the number it held.
[[gnu::always_inline]] inline void Overwrite(Value* counter, const Number& next) {
    if (next.type == Type::Double) {
        counter->OverwriteUncounted(Value::Double(next.real));
    } else {
        counter->OverwriteWhole(next.type, next.whole);
    }
}

// Where a counter lives, found once for the loop: a procedure's variable,
// or a global asked each turn whether it is still a variable (code the
// body runs may make it a constant or a procedure); else nowhere, and the
// counter is read and written by name.
struct CounterPlace {
    int local = -1;
    GlobalSlot* global = nullptr;

    explicit CounterPlace(const Target* var) {
        if (var->leaf != Leaf::kName) return;
        const NameRef& r = static_cast<const NameExpr*>(var)->ref;
        if (r.isConst) return;
        if (r.kind == NameRef::Kind::kLocal) local = r.local;
        if (r.kind == NameRef::Kind::kGlobal) global = r.global;
    }
    Value* Get(Frame& f) const {
        if (local >= 0) return f.slots[local];
        return global && global->writable ? &global->value : nullptr;
    }
};

// A numeric assignment: its program, or its tree when a value is not a
// number.
[[gnu::always_inline]] inline void RunAssignment(Frame& f, const Stmt* s) {
    auto* assign = static_cast<const AssignStmt*>(s);
    RunPlaced(s, [&] {
        if (!assign->numeric->Run(f)) assign->ExecTree(f);
    });
}

// A turn of a body of numeric assignments.
[[gnu::always_inline]] inline void RunAssignments(Frame& f, const Block& body) {
    for (const Stmt* s : body) RunAssignment(f, s);
}

// The same out of line, for the turns below: a body of one statement, the
// usual one, they run directly, and the rest of the body's code stays out
// of the registers the turns use.
[[gnu::noinline]] void RunAssignmentsApart(Frame& f, const Block& body) {
    RunAssignments(f, body);
}

// Steps a counter the body left holding something other than a whole
// number, by the general rules. Out of line, so that the turns below keep
// what they use in registers.
[[gnu::noinline]] void StepByRules(Frame& f, const ForStmt& loop, const Value& by) {
    loop.var->Assign(f, Add(loop.var->Eval(f), by), false);
}

// The turns of a loop whose counter is a procedure's variable, with a whole
// limit and step and a body of numeric assignments: the counter is tested
// and stepped in place as a whole number, with nothing else to look at.
// Returns true when the loop is done, or false at the start of a turn whose
// counter no longer holds a whole number (the body changed it, or the step
// left the Longs), for the general loop to go on with. Up is whether the
// step is not negative: which way the limit is tested.
template <bool Up>
[[gnu::noinline]] bool RunWholeTurns(Frame& f, const ForStmt& loop, Value* counter, int64_t end,
                                     const Value& by) {
    const Runtime& rt = f.rt;
    const Stmt* const lone = loop.body.size() == 1 ? loop.body.front() : nullptr;
    const int64_t step = NumberOf(by).whole;  // by is whole
    const bool byLong = by.type() == Type::Long;
    int64_t at;
    if (!WholeValue(*counter, &at)) return false;
    while (true) {
        rt.CheckInterrupt();
        // at is what the step wrote: nothing ran since.
        if (Up ? at > end : at < end) break;
        if (lone) {
            RunAssignment(f, lone);
        } else {
            RunAssignmentsApart(f, loop.body);
        }
        // The body may have changed the counter (i = i + 5, a ByRef alias,
        // a default property's code run by a tree): it is read again.
        if (!WholeValue(*counter, &at)) {
            StepByRules(f, loop, by);
            return false;
        }
        const bool isLong = byLong || counter->type() == Type::Long;
        const Number next = ComputeWhole<BinaryOp::kAdd>(at, step, isLong);
        Overwrite(counter, next);
        if (next.type == Type::Double) return false;
        at = next.whole;
    }
    return true;
}

bool RunWholeLoop(Frame& f, const ForStmt& loop, int local, int64_t end, const Value& by) {
    // A frame's slots are set before it runs and never change: the counter
    // stays where it is, though the body may change what it holds.
    Value* const counter = f.slots[local];
    if (NumberOf(by).whole >= 0) return RunWholeTurns<true>(f, loop, counter, end, by);
    return RunWholeTurns<false>(f, loop, counter, end, by);
}

// The counter's value as a number to test against the limit.
double CounterAt(Frame& f, const Target* var) {
    if (const Value* v = Peek(f, var)) {
        if (const Number n = NumberOf(*v); n.type != Type::Empty) return RealOf(n);
    }
    return ToDouble(var->Eval(f));
}

}  // namespace

// The counter lives in its variable, where the body may read or change it;
// a plain variable holding a whole number is tested and stepped in place.
Flow ForStmt::Exec(Frame& f) const {
    const Value first = ToNumeric(Dereference(f.rt, from->Eval(f)));
    const Value last = ToNumeric(Dereference(f.rt, to->Eval(f)));
    const Value by = step ? ToNumeric(Dereference(f.rt, step->Eval(f))) : Value::Integer(1);
    if (first.IsNull() || last.IsNull() || by.IsNull()) Throw(kErrInvalidNull);
    const double end = ToDouble(last);
    const bool up = ToDouble(by) >= 0;
    var->Assign(f, first, false);
    const CounterPlace place(var);
    const Number byNumber = NumberOf(by);
    int64_t wholeBy, wholeEnd;
    if (numericBody && !f.resumeNext && place.local >= 0 && WholeValue(by, &wholeBy) &&
        WholeValue(last, &wholeEnd) && RunWholeLoop(f, *this, place.local, wholeEnd, by)) {
        return Flow::kNormal;
    }
    while (true) {
        f.rt.CheckInterrupt();
        // The usual turn: a Long or Integer counter in a variable, tested
        // and stepped without leaving it.
        Value* counter = place.Get(f);
        double at;
        if (int64_t whole; counter && WholeValue(*counter, &whole)) {
            at = static_cast<double>(whole);
        } else {
            at = CounterAt(f, var);
        }
        if (up ? at > end : at < end) break;
        if (numericBody && !f.resumeNext) {
            RunAssignments(f, body);
        } else {
            const Flow flow = RunBlock(f, body);
            if (flow != Flow::kNormal) {
                if (flow == Flow::kExitFor) break;
                return flow;
            }
        }
        // The body may have changed the counter, its type, or the variable.
        counter = place.Get(f);
        const Number now = counter ? NumberOf(*counter) : Number{};
        if (now.type != Type::Empty && byNumber.type != Type::Empty) {
            Overwrite(counter, Compute<BinaryOp::kAdd>(now, byNumber));
        } else {
            var->Assign(f, Add(var->Eval(f), by), false);
        }
    }
    return Flow::kNormal;
}

namespace {

// For Each walks an array as it is laid out in memory, the first subscript
// fastest; the items are stored with the last one fastest.
size_t InLayoutOrder(const Array& a, size_t n) {
    if (a.Dimensions() < 2) return n;
    size_t offset = 0, stride = 1;
    std::vector<size_t> strides(a.Dimensions());
    for (size_t d = a.Dimensions(); d-- > 0;) {
        strides[d] = stride;
        stride *= a.Extent(d);
    }
    for (size_t d = 0; d < a.Dimensions(); ++d) {
        const size_t size = a.Extent(d);
        offset += (n % size) * strides[d];
        n /= size;
    }
    return offset;
}

}  // namespace

Flow ForEachStmt::Exec(Frame& f) const {
    const Value g = group->Eval(f);
    if (g.IsArray()) {
        ArrayLock lock(Ref<Array>(g.AsArray()));
        for (size_t i = 0; i < lock.a->items.size(); ++i) {
            f.rt.CheckInterrupt();
            const Value item = lock.a->items[InLayoutOrder(*lock.a, i)];
            var->Assign(f, item, item.IsObject());
            const Flow flow = RunBlock(f, body);
            if (flow == Flow::kExitFor) break;
            if (flow != Flow::kNormal) return flow;
        }
        return Flow::kNormal;
    }
    std::vector<Value> items;
    if (!g.IsObject() || !g.AsObject() ||
        !static_cast<ScriptObject*>(g.AsObject())->Items(f.rt, &items)) {
        Throw(kErrNotCollection);
    }
    for (const Value& item : items) {
        f.rt.CheckInterrupt();
        var->Assign(f, item, item.IsObject());
        const Flow flow = RunBlock(f, body);
        if (flow == Flow::kExitFor) break;
        if (flow != Flow::kNormal) return flow;
    }
    return Flow::kNormal;
}

Flow DoStmt::Exec(Frame& f) const {
    const auto keepGoing = [&] {
        if (test == Test::kNone) return true;
        const bool t = condition->Test(f);
        return test == Test::kWhile ? t : !t;
    };
    while (true) {
        f.rt.CheckInterrupt();
        if (testFirst && !keepGoing()) break;
        const Flow flow = RunBlock(f, body);
        if (flow == Flow::kExitDo) break;
        if (flow != Flow::kNormal) return flow;
        if (!testFirst && !keepGoing()) break;
    }
    return Flow::kNormal;
}

Flow SelectStmt::Exec(Frame& f) const {
    const Value subject = Dereference(f.rt, this->subject->Eval(f));
    const auto holds = [&](CompareOp op, const Expr* e) {
        const Value v = Dereference(f.rt, e->Eval(f));
        const Value r = Compare(op, subject, v);
        return !r.IsNull() && r.AsBoolean();
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        for (const CaseItem& item : cases[i]) {
            bool match = false;
            switch (item.kind) {
                case CaseItem::Kind::kValue:
                    match = holds(CompareOp::kEq, item.a);
                    break;
                case CaseItem::Kind::kRange:
                    match = holds(CompareOp::kGe, item.a) && holds(CompareOp::kLe, item.b);
                    break;
                case CaseItem::Kind::kIs:
                    match = holds(item.op, item.a);
                    break;
            }
            if (match) return RunBlock(f, blocks[i]);
        }
    }
    return hasElse ? RunBlock(f, elseBlock) : Flow::kNormal;
}

namespace {

// ReDim Preserve: only the last dimension may change, and the items keep
// their subscripts. An array from outside keeps where it starts.
void Preserve(const Array& old, Array* a) {
    const std::vector<int32_t>& upper = a->UpperBounds();
    if (old.Dimensions() != upper.size()) Throw(kErrSubscript);
    for (size_t d = 0; d + 1 < upper.size(); ++d) {
        if (old.Upper(d) != upper[d]) Throw(kErrSubscript);
    }
    if (!old.LowerBounds().empty()) {
        if (upper.back() < old.LowerBounds().back() - 1) Throw(kErrSubscript);
        a->SetBounds(a->UpperBounds(), old.LowerBounds());
        size_t count = 1;
        for (size_t d = 0; d < upper.size(); ++d) count *= a->Extent(d);
        a->items.resize(count);
    }
    std::vector<int32_t> at(upper.size(), 0);
    for (size_t i = 0; i < old.items.size(); ++i) {
        size_t rest = i;
        for (size_t d = upper.size(); d-- > 0;) {
            const size_t extent = old.Extent(d);
            at[d] = old.Lower(d) + static_cast<int32_t>(rest % extent);
            rest /= extent;
        }
        const int64_t to = a->Offset(at.data(), at.size());
        if (to >= 0) a->items[to] = old.items[i];
    }
}

}  // namespace

Flow DimArrayStmt::Exec(Frame& f) const {
    Value* v = target->Address(f);
    if (!v) Throw(kErrIllegalAssign);
    std::vector<int32_t> upper(bounds.size());
    int64_t total = 1;
    for (size_t i = 0; i < bounds.size(); ++i) {
        upper[i] = ToLong(Dereference(f.rt, bounds[i]->Eval(f)));
        if (upper[i] < -1) Throw(kErrSubscript);
        total *= static_cast<int64_t>(upper[i]) + 1;
        if (total > kMaxArrayItems) Throw(kErrOutOfMemory);
    }
    if (!redim) {
        // A declaration takes effect once; running it again keeps the array.
        if (v->IsArray() && v->AsArray()->fixedSize) return Flow::kNormal;
        Ref<Array> a(new Array);
        a->SetBounds(std::move(upper));
        a->items.resize(static_cast<size_t>(total));
        a->fixedSize = !bounds.empty();
        *v = Value::Array(a);
        return Flow::kNormal;
    }
    if (v->IsArray() && (v->AsArray()->fixedSize || v->AsArray()->locks > 0)) {
        Throw(kErrArrayLocked);
    }
    Ref<Array> a(new Array);
    a->SetBounds(std::move(upper));
    a->items.resize(static_cast<size_t>(total));
    if (preserve && v->IsArray() && v->AsArray()->Dimensions() != 0) {
        Preserve(*v->AsArray(), a.Get());
    }
    *v = Value::Array(a);
    return Flow::kNormal;
}

Flow EraseStmt::Exec(Frame& f) const {
    Value* v = target->Address(f);
    if (!v || !v->IsArray()) Throw(kErrTypeMismatch);
    Array* a = v->AsArray();
    if (a->locks > 0) Throw(kErrArrayLocked);
    if (a->fixedSize) {
        Ref<Array> fresh(new Array);
        fresh->SetBounds(a->UpperBounds(), a->LowerBounds());
        fresh->items.resize(a->items.size());
        fresh->fixedSize = true;
        *v = Value::Array(fresh);
    } else {
        *v = Value::Array(Ref<Array>(new Array));
    }
    return Flow::kNormal;
}

Flow ConstStmt::Exec(Frame& f) const {
    Value v = Dereference(f.rt, value->Eval(f));
    const NameRef& ref = target->ref;
    if (ref.kind == NameRef::Kind::kLocal) {
        *f.slots[ref.local] = std::move(v);
    } else if (ref.kind == NameRef::Kind::kExecLocal) {
        ExecLocal* made = f.ExecLocalAt(ref.local);
        if (!made) Throw(kErrInternal);
        made->value = std::move(v);
    } else if (ref.kind == NameRef::Kind::kGlobal) {
        GlobalSlot& g = SlotOf(f, ref);
        g.value = std::move(v);
        g.exists = g.declared = g.isConst = true;
        g.Settle();
    } else {
        Throw(kErrIllegalAssign);
    }
    return Flow::kNormal;
}

Flow OnErrorStmt::Exec(Frame& f) const {
    f.resumeNext = resumeNext;
    f.rt.err.Clear();
    return Flow::kNormal;
}

Flow WithStmt::Exec(Frame& f) const {
    Value v = object->Eval(f);
    if (!v.IsObject() || !v.AsObject()) Throw(kErrObjectRequired);
    WithScope scope(f, std::move(v));
    return ExecBlock(f, body);
}

}  // namespace script
