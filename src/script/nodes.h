// The node kinds of the compiled tree. Expressions evaluate to values;
// statements run and report whether an Exit is unwinding.
//
// How the tree runs fast. Each node is a small evaluator chosen when the
// text is compiled, its names already bound to storage; the common shapes
// have evaluators of their own, so that the work of a loop turn or a call
// is a few direct steps on 16-byte values:
// - + - * and the comparisons have one evaluator per operator, one more
//   when the right operand is a literal (i * 2, n < 2), and one when
//   neither operand is a leaf (Fib(n - 1) + Fib(n - 2)); whole numbers and
//   Doubles are worked out inline by the number kernel (number_kernel.h),
//   anything else goes to the general rules;
// - literals, variables (a procedure's own, a global, a field of Me) and
//   a(i) are leaves (Leaf): their parents read them in place (Peek)
//   instead of calling them and copying what they give;
// - an expression of two operators or more over numbers (total + i * 2 - 1),
//   and an assignment of numbers to a variable or a(i), is compiled into
//   closures over unboxed numbers (numeric_expr.h), which leave any other
//   value to the tree; a For loop whose body is only such assignments runs
//   them in a row, and in a procedure steps its counter in a loop of its
//   own (RunWholeLoop in exec.cpp);
// - a comparison used as a condition gives a bool (Test), not a value;
// - a For counter that holds a whole number is tested and stepped in its
//   variable; a(i) = x and x = y store straight into the element or the
//   variable, and an assignment into a procedure's own variable knows it
//   from the start (AssignStmt::Settle);
// - If ... Else knows its shape from the start too (IfStmt::Settle) and
//   runs a branch of one statement directly;
// - a call evaluates its arguments straight into the callee's variables,
//   which live in the native frame of the call, and lends its own variables
//   to ByRef parameters by address (see CallFilled in eval.cpp); a call
//   whose arguments are all values tests none of them; a global
//   procedure's call is made inside the call node, with no second entry
//   and exit; a function's result variable is the value its call gives
//   (RunProcedure);
// - the evaluators of the commonest cases (n - 1 and n < 2 over a
//   variable) do their case first and leave the rest to a function of its
//   own, so that the common case saves no registers.
// Everything else (objects, Variant subtypes, errors and their positions,
// On Error Resume Next, the stop checks) runs the general code, which the
// fast paths fall back to whenever a value is not what they expect.
#pragma once

#include <string>
#include <vector>

#include "script/ast.h"
#include "script/number_kernel.h"
#include "script/runtime.h"
#include "script/small_list.h"

namespace script {

struct Literal : Expr {
    Value value;
    // A string literal's text lives apart from the node: counted with it.
    explicit Literal(Value v) : value(std::move(v)) {
        leaf = Leaf::kLiteral;
        CompileBytes::Add(TextBytes());
    }
    ~Literal() override { CompileBytes::Subtract(TextBytes()); }
    Value Eval(Frame&) const override { return value; }
    bool IsLiteral() const override { return true; }

  private:
    size_t TextBytes() const {
        if (!value.IsString()) return 0;
        const size_t capacity = value.AsString().capacity();
        const size_t block = sizeof(StringData) + CompileBytes::kBlockOverhead;
        if (capacity <= std::string().capacity()) return block;
        return block + capacity + 1 + CompileBytes::kBlockOverhead;
    }
};

// A bare name: a variable, a constant, or a call without arguments.
struct NameExpr : Target {
    NameRef ref;
    NameExpr() { leaf = Leaf::kName; }
    Value Eval(Frame& f) const override;
    Value* Address(Frame& f) const override;
    void Assign(Frame& f, Value v, bool isSet) const override;
    bool IsName() const override { return true; }
};

// name(args): an array element, a call, or an object's default member.
struct CallExpr : Target {
    NameRef ref;
    ExprList args;  // null entries are omitted arguments; set by TakeArgs
    void TakeArgs(ExprList list) {
        args = std::move(list);
        valueArgs_ = true;
        for (const Expr* e : args) valueArgs_ &= e && !e->lendable;
    }
    Value Eval(Frame& f) const override;
    void Assign(Frame& f, Value v, bool isSet) const override;
    // The element's storage when this names an array element, else null.
    Value* ArgAddress(Frame& f, ArgLocks* locks) const override;

  private:
    // Every argument given and none a variable: nothing to lend.
    bool valueArgs_ = false;
    // Everything but a call of a global procedure, the usual case, which
    // Eval keeps lean.
    Value EvalOther(Frame& f) const;
};

// object.name or object.name(args); object is null for a With member.
struct MemberExpr : Target {
    const Expr* object = nullptr;
    int withDepth = -1;
    std::string name;   // lower-cased
    std::string shown;  // as written
    ExprList args;
    Value Eval(Frame& f) const override;
    void Assign(Frame& f, Value v, bool isSet) const override;

  private:
    Ref<ScriptObject> Subject(Frame& f) const;
    // The member's index in the class last seen here: the same line meets
    // the same class again and again. -1 when the class has no such member.
    int MemberOf(const Instance& in) const {
        return in.cls->serial == cachedClass_ ? cachedMember_ : LearnMember(in);
    }
    int LearnMember(const Instance& in) const;
    mutable uint64_t cachedClass_ = 0;  // the class's serial
    mutable int cachedMember_ = -1;
    mutable const Procedure* cachedCall_ = nullptr;
};

// expr(args) where expr is not a plain name, e.g. f(1)(2) or obj.items(0).
struct IndexExpr : Target {
    const Expr* base = nullptr;
    ExprList args;
    Value Eval(Frame& f) const override;
    void Assign(Frame& f, Value v, bool isSet) const override;
};

// (name): a parenthesised variable is a value, so it passes ByVal.
struct ParenExpr : Expr {
    const Expr* inner;
    explicit ParenExpr(const Expr* e) : inner(e) {}
    Value Eval(Frame& f) const override { return inner->Eval(f); }
};

struct MeExpr : Expr {
    Value Eval(Frame& f) const override;
};

struct NewExpr : Expr {
    NameRef ref;
    Value Eval(Frame& f) const override;
};

enum class UnaryOp { kNegate, kPlus, kNot };

struct UnaryExpr : Expr {
    UnaryOp op;
    const Expr* operand;
    UnaryExpr(UnaryOp o, const Expr* e) : op(o), operand(e) {}
    Value Eval(Frame& f) const override;
};

struct BinaryExpr : Expr {
    BinaryOp op;
    const Expr* left;
    const Expr* right;
    BinaryExpr(BinaryOp o, const Expr* l, const Expr* r) : op(o), left(l), right(r) {}
    Value Eval(Frame& f) const override;
    // A result is never a variable: one call less per argument.
    Value* ArgAddress(Frame&, ArgLocks*) const override { return nullptr; }
};
// The evaluator for op: + - * and the comparisons have their own.
const BinaryExpr* MakeBinaryExpr(Unit& unit, BinaryOp op, const Expr* left, const Expr* right);

// The item at of a one-dimensional array from 0; null when the array has
// other dimensions or bounds, or at is out of range.
inline Value* FlatItem(Array* a, int64_t at) {
    if (static_cast<uint64_t>(at) >= a->FlatLength()) return nullptr;
    return &a->items[static_cast<size_t>(at)];
}

// The global slot a name is bound to (ref.slot >= 0).
inline GlobalSlot& SlotOf(Frame& f, const NameRef& ref) {
    return ref.global ? *ref.global : f.rt.globals[ref.slot];
}

// The value of a literal, or of a variable whose reading can neither fail
// nor run code, read in place; null when e must be evaluated.
inline const Value* Peek(Frame& f, const Expr* e);

// The variable of a name that reading cannot fail on or run code for: a
// procedure's own variable, an existing global one, or a field of the
// instance running the code; else null.
inline Value* PlainVariable(Frame& f, const NameRef& r) {
    if (r.kind == NameRef::Kind::kLocal) return f.slots[r.local];
    if (r.kind == NameRef::Kind::kGlobal && r.global->IsPlainVariable()) return &r.global->value;
    if (r.kind == NameRef::Kind::kField) return &f.me->fields[r.local];
    return nullptr;
}

// The element a(i) of a one-dimensional array in a plain variable, with i
// a literal or variable holding a whole number in range; else null.
inline Value* PlainElement(Frame& f, const CallExpr* e, Array** array) {
    const Value* v = PlainVariable(f, e->ref);
    if (!v || !v->IsArray()) return nullptr;
    const Value* sub = Peek(f, e->args[0]);
    int64_t at;
    if (!sub || !WholeValue(*sub, &at)) return nullptr;
    *array = v->AsArray();
    return FlatItem(*array, at);
}

inline const Value* Peek(Frame& f, const Expr* e) {
    switch (e->leaf) {
        case Leaf::kLiteral:
            return &static_cast<const Literal*>(e)->value;
        case Leaf::kName:
            return PlainVariable(f, static_cast<const NameExpr*>(e)->ref);
        case Leaf::kElement: {
            Array* a;
            return PlainElement(f, static_cast<const CallExpr*>(e), &a);
        }
        case Leaf::kNone:
            break;
    }
    return nullptr;
}

// The same for a variable the code may write: not a constant.
inline Value* PeekVariable(Frame& f, const Expr* e) {
    if (e->leaf != Leaf::kName) return nullptr;
    const NameRef& r = static_cast<const NameExpr*>(e)->ref;
    if (r.isConst) return nullptr;
    if (r.kind == NameRef::Kind::kLocal) return f.slots[r.local];
    if (r.kind == NameRef::Kind::kGlobal && r.global->writable) {
        return &r.global->value;
    }
    if (r.kind == NameRef::Kind::kField) return &f.me->fields[r.local];
    return nullptr;
}

// The same for an element a(i) about to be written: the array is made the
// variable's own first, as any write through it does.
Value* PeekElementToWrite(Frame& f, const CallExpr* e);

// ---- statements ----

struct NumericAssign;

struct AssignStmt : Stmt {
    const Target* target = nullptr;
    const Expr* value = nullptr;
    bool isSet = false;
    // A number into a variable or a(i), compiled (numeric_expr.h); null
    // when the statement is not of that shape.
    const NumericAssign* numeric = nullptr;
    Flow Exec(Frame& f) const override;
    // The statement as a tree, whatever its values. It gives Exec's result
    // so that Exec can hand on to it without coming back.
    Flow ExecTree(Frame& f) const;
    // Once names are bound and numbers compiled: notes a value stored into
    // a variable of the procedure that Exec stores without a look at the
    // target, the usual shapes of a function's result (Fib = n, Fib =
    // Fib(n - 1) + Fib(n - 2)): another variable of the procedure, copied,
    // or a value computed and not compiled.
    void Settle();

  private:
    Flow ExecIntoLocal(Frame& f) const;
    int intoLocal_ = -1;
    int fromLocal_ = -1;
};

// x = x & y (& z...), done in place so that building a string piece by
// piece is linear rather than quadratic.
struct AppendStmt : Stmt {
    const NameExpr* target = nullptr;
    ExprList parts;  // x = x & a & b appends a, then b
    Flow Exec(Frame& f) const override;
};

struct CallStmt : Stmt {
    const Expr* call = nullptr;
    Flow Exec(Frame& f) const override;
};

struct IfStmt : Stmt {
    ExprList conditions;
    CompiledList<Block> blocks;
    Block elseBlock;
    Flow Exec(Frame& f) const override;
    // Once parsed: notes the usual shape, If ... Else ... with a statement
    // or none in each branch, which Exec runs without a loop or a call.
    void Settle();

  private:
    bool twoWay_ = false;
    bool thenLone_ = false, elseLone_ = false;  // a branch of one statement
};

struct ForStmt : Stmt {
    const Target* var = nullptr;
    const Expr* from = nullptr;
    const Expr* to = nullptr;
    const Expr* step = nullptr;
    Block body;
    // Every statement of the body is an AssignStmt with a numeric program:
    // a turn runs them in a row, without a call per statement.
    bool numericBody = false;
    Flow Exec(Frame& f) const override;
};

struct ForEachStmt : Stmt {
    const Target* var = nullptr;
    const Expr* group = nullptr;
    Block body;
    Flow Exec(Frame& f) const override;
};

struct DoStmt : Stmt {
    enum class Test { kNone, kWhile, kUntil };
    Test test = Test::kNone;
    bool testFirst = true;
    const Expr* condition = nullptr;
    Block body;
    Flow Exec(Frame& f) const override;
};

struct CaseItem {
    enum class Kind { kValue, kRange, kIs };
    Kind kind = Kind::kValue;
    const Expr* a = nullptr;
    const Expr* b = nullptr;
    CompareOp op = CompareOp::kEq;
};

struct SelectStmt : Stmt {
    const Expr* subject = nullptr;
    CompiledList<CompiledList<CaseItem>> cases;
    CompiledList<Block> blocks;
    bool hasElse = false;
    Block elseBlock;
    Flow Exec(Frame& f) const override;
};

struct ExitStmt : Stmt {
    Flow flow;
    explicit ExitStmt(Flow fl) : flow(fl) {}
    Flow Exec(Frame&) const override { return flow; }
};

// Dim/Public/Private with bounds, and ReDim: makes the array when run.
struct DimArrayStmt : Stmt {
    const Target* target = nullptr;
    ExprList bounds;
    bool redim = false;
    bool preserve = false;
    Flow Exec(Frame& f) const override;
};

struct EraseStmt : Stmt {
    const Target* target = nullptr;
    Flow Exec(Frame& f) const override;
};

struct ConstStmt : Stmt {
    const NameExpr* target = nullptr;
    const Expr* value = nullptr;
    Flow Exec(Frame& f) const override;
};

struct OnErrorStmt : Stmt {
    bool resumeNext = false;
    Flow Exec(Frame& f) const override;
};

struct WithStmt : Stmt {
    const Expr* object = nullptr;
    Block body;
    Flow Exec(Frame& f) const override;
};

// Array subscripts: each rounded to a Long. Kept inline up to three
// dimensions, so indexing an element allocates nothing.
using Subscripts = SmallList<int32_t, 3>;
void EvalSubscripts(Frame& f, const ExprList& args, Subscripts* out);
// Arrays with an element passed ByRef, locked (no ReDim or Erase) until
// the call returns, so that the element's address stays good.
// Rare, so the list is made for the first: every call makes an ArgLocks.
struct ArgLocks {
    ArgLocks() = default;
    ArgLocks(const ArgLocks&) = delete;
    ArgLocks& operator=(const ArgLocks&) = delete;
    ~ArgLocks() {
        if (arrays_) Unlock();
    }
    // Locks a until the call returns.
    void Add(Array* a);

  private:
    void Unlock();
    std::unique_ptr<std::vector<Ref<Array>>> arrays_;
};
// The evaluated arguments of one call.
struct ArgList {
    SmallList<Value, 4> temps;  // values of arguments that are not variables
    SmallList<Value*, 4> refs;  // what the callee sees: variables or temps
    ArgLocks locks;
    Args View() const { return Args{refs.data(), refs.size()}; }
};

// Evaluates call arguments: variables and array elements by address (ByRef),
// others into temps.
void EvalArgs(Frame& f, const ExprList& args, ArgList* list);
// The value an object stands for where a plain value is needed (its default
// member), or the value itself.
Value Dereference(Runtime& rt, Value v);

}  // namespace script
