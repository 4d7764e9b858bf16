// Running and compiling numeric assignments (see numeric_expr.h).
#include "script/numeric_expr.h"
#include "script/numeric_run.h"

namespace script {

using namespace numeric_run;

template <NumericAssign::Into I, Kind S, Kind V>
bool NumericAssign::RunInto(const NumericAssign& a, Frame& f) {
    // A variable alone (a(i) = i) is copied as it is: a number's value is
    // the value the kernel would make of it.
    const Value* same = nullptr;
    Number n;
    if constexpr (V == Kind::kLocal) {
        same = f.slots[a.value_.LoneLocal()];
        if (!IsKernelNumber(*same)) return false;
    } else {
        n = a.value_.Run(f);
        if (n.type == Type::Empty) return false;
    }
    // As the tree does: the value first, then where it goes.
    Value* into;
    if constexpr (I == Into::kLocal) {
        into = f.slots[a.local_];
    } else if constexpr (I == Into::kGlobal) {
        if (!a.global_->writable) return false;
        into = &a.global_->value;
    } else {
        Value* array;
        if constexpr (I == Into::kLocalElement) {
            array = f.slots[a.local_];
        } else {
            if (!a.global_->IsPlainVariable()) return false;
            array = &a.global_->value;
        }
        into = ElementToWrite(array, Read<S>(a.subscript_, f));
        if (!into) return false;
    }
    if constexpr (V == Kind::kLocal) {
        return Store(into, *same);
    } else {
        return Store(into, ToValue(n));
    }
}

// The variable is found first, the tree's order notwithstanding: a
// procedure's variables stay where they are while it runs.
bool NumericAssign::RunStoredByNode(const NumericAssign& a, Frame& f) {
    const NumericNode& root = a.value_.Root();
    return root.runInto(root, f, f.slots[a.local_]);
}

template <NumericAssign::Into I, Kind S>
NumericAssign::Runner NumericAssign::RunnerFor() const {
    if (value_.LoneLocal() >= 0) return &RunInto<I, S, Kind::kLocal>;
    return &RunInto<I, S, Kind::kNode>;
}

template <NumericAssign::Into I>
NumericAssign::Runner NumericAssign::ElementRunner(Kind subscript) const {
    switch (subscript) {
        case Kind::kLocal:
            return RunnerFor<I, Kind::kLocal>();
        case Kind::kGlobal:
            return RunnerFor<I, Kind::kGlobal>();
        default:
            return RunnerFor<I, Kind::kNumber>();
    }
}

bool NumericAssign::Compile(const Target* target, const Expr* value) {
    if (!value_.Compile(value)) return false;
    if (target->leaf == Leaf::kName) {
        const NameRef& ref = static_cast<const NameExpr*>(target)->ref;
        if (ref.isConst) return false;
        if (ref.kind == NameRef::Kind::kLocal) {
            local_ = ref.local;
            run_ =
                value_.Root().runInto ? &RunStoredByNode : RunnerFor<Into::kLocal, Kind::kNumber>();
            return true;
        }
        if (ref.kind == NameRef::Kind::kGlobal && ref.global) {
            global_ = ref.global;
            run_ = RunnerFor<Into::kGlobal, Kind::kNumber>();
            return true;
        }
        return false;
    }
    if (target->leaf != Leaf::kElement) return false;
    auto* c = static_cast<const CallExpr*>(target);
    if (!SubscriptOperand(c->args[0], &subscript_)) return false;
    if (c->ref.kind == NameRef::Kind::kLocal) {
        local_ = c->ref.local;
        run_ = ElementRunner<Into::kLocalElement>(subscript_.kind);
        return true;
    }
    if (c->ref.kind == NameRef::Kind::kGlobal && c->ref.global) {
        global_ = c->ref.global;
        run_ = ElementRunner<Into::kGlobalElement>(subscript_.kind);
        return true;
    }
    return false;
}

}  // namespace script
