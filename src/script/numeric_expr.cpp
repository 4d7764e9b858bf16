// Compiling and running numeric programs (see numeric_expr.h).
#include "script/numeric_expr.h"

namespace script {
namespace {

using Kind = NumericNode::Kind;
using Operand = NumericNode::Operand;
using Run = Number (*)(const NumericNode&, Frame&);

// The most nodes an expression compiled may have: a longer one is rare,
// and stays a tree.
constexpr int kMaxNodes = 32;

bool IsNumberValue(const Value& v) {
    return NumberOf(v).type != Type::Empty;
}

bool IsNumberLiteral(const Expr* e) {
    return e->leaf == Leaf::kLiteral && IsNumberValue(static_cast<const Literal*>(e)->value);
}

const Expr* Unwrapped(const Expr* e) {
    while (true) {
        if (auto* p = dynamic_cast<const ParenExpr*>(e)) {
            e = p->inner;
        } else if (auto* n = dynamic_cast<const NumericExpr*>(e)) {
            e = n->tree;
        } else {
            return e;
        }
    }
}

// An operand of + - *: a number literal, a name, a(leaf), or more
// arithmetic. *budget counts the nodes left, which also bounds the
// recursion on a long chain of operators.
bool IsNumericOperand(const Expr* e, int* budget) {
    if (--*budget < 0) return false;
    e = Unwrapped(e);
    if (e->leaf == Leaf::kLiteral) return IsNumberLiteral(e);
    if (e->leaf == Leaf::kName || e->leaf == Leaf::kElement) return true;
    if (auto* u = dynamic_cast<const UnaryExpr*>(e)) {
        return u->op == UnaryOp::kNegate && IsNumericOperand(u->operand, budget);
    }
    if (auto* b = dynamic_cast<const BinaryExpr*>(e)) {
        return IsArithmetic(b->op) && IsNumericOperand(b->left, budget) &&
               IsNumericOperand(b->right, budget);
    }
    return false;
}

// The operators in an operand already found numeric (so of bounded size).
int CountOperators(const Expr* e) {
    e = Unwrapped(e);
    if (auto* u = dynamic_cast<const UnaryExpr*>(e)) return 1 + CountOperators(u->operand);
    if (auto* b = dynamic_cast<const BinaryExpr*>(e)) {
        return 1 + CountOperators(b->left) + CountOperators(b->right);
    }
    return 0;
}

// ---- running ----

// The assignment of a number over a value that holds a count, which it
// releases. Out of line, and true, so that a store ends in a jump to it and
// the stores in place need no frame.
[[gnu::noinline]] bool AssignOverCount(Value* v, const Value& number) {
    *v = number;
    return true;
}

// Stores number into v: in place when v holds no count. True.
[[gnu::always_inline]] inline bool Store(Value* v, const Value& number) {
    if (v->HoldsCount()) return AssignOverCount(v, number);
    v->OverwriteUncounted(number);
    return true;
}

// Whether v holds a number the kernel reads: an Integer, a Long or a Double.
[[gnu::always_inline]] inline bool IsKernelNumber(const Value& v) {
    constexpr uint32_t kKernelTypes = 1u << static_cast<int>(Type::Integer) |
                                      1u << static_cast<int>(Type::Long) |
                                      1u << static_cast<int>(Type::Double);
    const auto t = static_cast<uint32_t>(v.type());
    return t < 32 && ((kKernelTypes >> t) & 1) != 0;
}

inline Number GaveUp() {
    Number n;
    n.type = Type::Empty;
    n.whole = 0;
    return n;
}

// a(i) of a one-dimensional array from 0, i a whole number in range, as
// PlainElement in nodes.h reads it. AsArray alone tells an array: it is
// null for every other value.
[[gnu::always_inline]] inline Number ReadElement(const Value& array, const Number& at) {
    Array* a = array.AsArray();
    if (!a || (at.type != Type::Integer && at.type != Type::Long)) return GaveUp();
    const Value* item = FlatItem(a, at.whole);
    return item ? NumberOf(*item) : GaveUp();
}

[[gnu::always_inline]] inline Number ReadLocalElement(const Value& array, const Value& at) {
    return ReadElement(array, NumberOf(at));
}

template <Kind K>
[[gnu::always_inline]] inline Number Read(const Operand& o, Frame& f) {
    if constexpr (K == Kind::kLocal) {
        return NumberOf(*f.slots[o.local]);
    } else if constexpr (K == Kind::kGlobal) {
        return o.global->IsPlainVariable() ? NumberOf(o.global->value) : GaveUp();
    } else if constexpr (K == Kind::kNumber) {
        return o.number;
    } else if constexpr (K == Kind::kLocalElement) {
        return ReadLocalElement(*f.slots[o.local], *f.slots[o.subscript]);
    } else {
        return o.node->run(*o.node, f);
    }
}

// Operands are read left first, and the first that gives up ends the run:
// the tree would fail on it (or work it out) before reading the right one.
template <BinaryOp O, Kind L, Kind R>
Number RunBinary(const NumericNode& n, Frame& f) {
    const Number a = Read<L>(n.a, f);
    if (a.type == Type::Empty) return a;
    const Number b = Read<R>(n.b, f);
    if (b.type == Type::Empty) return b;
    return Compute<O>(a, b);
}

// The same, its value stored into a procedure's variable: one call does
// both, as Lua's arithmetic instructions name the register they write.
template <BinaryOp O, Kind R>
bool RunBinaryInto(const NumericNode& n, Frame& f, Value* into) {
    const Number r = RunBinary<O, Kind::kLocal, R>(n, f);
    if (r.type == Type::Empty) return false;
    return Store(into, ToValue(r));
}

template <Kind K>
Number RunNegate(const NumericNode& n, Frame& f) {
    const Number a = Read<K>(n.a, f);
    return a.type == Type::Empty ? a : Negated(a);
}

// a(i) of a one-dimensional array from 0 in a variable, i a whole number
// in range, as PlainElement in nodes.h reads it.
template <Kind A, Kind S>
Number RunElement(const NumericNode& n, Frame& f) {
    const Value* v;
    if constexpr (A == Kind::kLocal) {
        v = f.slots[n.a.local];
    } else {
        if (!n.a.global->IsPlainVariable()) return GaveUp();
        v = &n.a.global->value;
    }
    return ReadElement(*v, Read<S>(n.b, f));
}

template <Kind K>
Number RunLeaf(const NumericNode& n, Frame& f) {
    return Read<K>(n.a, f);
}

// ---- choosing the node's function ----

template <BinaryOp O, Kind L>
Run BinaryWithRight(Kind r) {
    if constexpr (IsArithmetic(O)) {
        if (r == Kind::kLocalElement) return &RunBinary<O, L, Kind::kLocalElement>;
    }
    switch (r) {
        case Kind::kLocal:
            return &RunBinary<O, L, Kind::kLocal>;
        case Kind::kGlobal:
            return &RunBinary<O, L, Kind::kGlobal>;
        case Kind::kNumber:
            return &RunBinary<O, L, Kind::kNumber>;
        default:
            return &RunBinary<O, L, Kind::kNode>;
    }
}

template <BinaryOp O>
Run BinaryOf(Kind l, Kind r) {
    if constexpr (IsArithmetic(O)) {
        if (l == Kind::kLocalElement) return BinaryWithRight<O, Kind::kLocalElement>(r);
    }
    switch (l) {
        case Kind::kLocal:
            return BinaryWithRight<O, Kind::kLocal>(r);
        case Kind::kGlobal:
            return BinaryWithRight<O, Kind::kGlobal>(r);
        case Kind::kNumber:
            return BinaryWithRight<O, Kind::kNumber>(r);
        default:
            return BinaryWithRight<O, Kind::kNode>(r);
    }
}

Run BinaryRun(BinaryOp op, Kind l, Kind r) {
    switch (op) {
        case BinaryOp::kAdd:
            return BinaryOf<BinaryOp::kAdd>(l, r);
        case BinaryOp::kSub:
            return BinaryOf<BinaryOp::kSub>(l, r);
        case BinaryOp::kMul:
            return BinaryOf<BinaryOp::kMul>(l, r);
        case BinaryOp::kEq:
            return BinaryOf<BinaryOp::kEq>(l, r);
        case BinaryOp::kNe:
            return BinaryOf<BinaryOp::kNe>(l, r);
        case BinaryOp::kLt:
            return BinaryOf<BinaryOp::kLt>(l, r);
        case BinaryOp::kGt:
            return BinaryOf<BinaryOp::kGt>(l, r);
        case BinaryOp::kLe:
            return BinaryOf<BinaryOp::kLe>(l, r);
        default:
            return BinaryOf<BinaryOp::kGe>(l, r);
    }
}

using StoreRun = bool (*)(const NumericNode&, Frame&, Value*);

template <BinaryOp O>
StoreRun BinaryStoreWithRight(Kind r) {
    switch (r) {
        case Kind::kLocal:
            return &RunBinaryInto<O, Kind::kLocal>;
        case Kind::kGlobal:
            return &RunBinaryInto<O, Kind::kGlobal>;
        case Kind::kNumber:
            return &RunBinaryInto<O, Kind::kNumber>;
        case Kind::kLocalElement:
            return &RunBinaryInto<O, Kind::kLocalElement>;
        default:
            return &RunBinaryInto<O, Kind::kNode>;
    }
}

// Only + - * with a procedure's variable on the left store by themselves:
// the usual x = x + y, without a function apiece for every other pair.
StoreRun BinaryStoreRun(BinaryOp op, Kind l, Kind r) {
    if (l != Kind::kLocal) return nullptr;
    switch (op) {
        case BinaryOp::kAdd:
            return BinaryStoreWithRight<BinaryOp::kAdd>(r);
        case BinaryOp::kSub:
            return BinaryStoreWithRight<BinaryOp::kSub>(r);
        case BinaryOp::kMul:
            return BinaryStoreWithRight<BinaryOp::kMul>(r);
        default:
            return nullptr;
    }
}

Run NegateRun(Kind k) {
    switch (k) {
        case Kind::kLocal:
            return &RunNegate<Kind::kLocal>;
        case Kind::kGlobal:
            return &RunNegate<Kind::kGlobal>;
        case Kind::kNumber:
            return &RunNegate<Kind::kNumber>;
        default:
            return &RunNegate<Kind::kNode>;
    }
}

Run LeafRun(Kind k) {
    switch (k) {
        case Kind::kLocal:
            return &RunLeaf<Kind::kLocal>;
        case Kind::kGlobal:
            return &RunLeaf<Kind::kGlobal>;
        default:
            return &RunLeaf<Kind::kNumber>;
    }
}

template <Kind A>
Run ElementWithSubscript(Kind s) {
    switch (s) {
        case Kind::kLocal:
            return &RunElement<A, Kind::kLocal>;
        case Kind::kGlobal:
            return &RunElement<A, Kind::kGlobal>;
        default:
            return &RunElement<A, Kind::kNumber>;
    }
}

// ---- compiling ----

int CountNodes(const Expr* e) {
    e = Unwrapped(e);
    if (e->leaf == Leaf::kElement) return 1;
    if (auto* u = dynamic_cast<const UnaryExpr*>(e)) return 1 + CountNodes(u->operand);
    if (auto* b = dynamic_cast<const BinaryExpr*>(e)) {
        return 1 + CountNodes(b->left) + CountNodes(b->right);
    }
    return 0;
}

Operand NumberOperand(const Value& v) {
    Operand o;
    o.kind = Kind::kNumber;
    o.number = NumberOf(v);
    return o;
}

// A name's operand: a procedure's variable, a global, or a library
// constant that is a number.
bool NameOperand(const NameRef& ref, Operand* out) {
    switch (ref.kind) {
        case NameRef::Kind::kLocal:
            out->kind = Kind::kLocal;
            out->local = ref.local;
            return true;
        case NameRef::Kind::kGlobal:
            if (!ref.global) return false;
            out->kind = Kind::kGlobal;
            out->global = ref.global;
            return true;
        case NameRef::Kind::kConstant:
            if (!IsNumberValue(ref.constant)) return false;
            *out = NumberOperand(ref.constant);
            return true;
        default:
            return false;
    }
}

// A subscript that is a variable or a whole number.
bool SubscriptOperand(const Expr* e, Operand* out) {
    e = Unwrapped(e);
    if (e->leaf == Leaf::kLiteral) {
        const Value& v = static_cast<const Literal*>(e)->value;
        if (v.type() != Type::Integer && v.type() != Type::Long) return false;
        *out = NumberOperand(v);
        return true;
    }
    return e->leaf == Leaf::kName && NameOperand(static_cast<const NameExpr*>(e)->ref, out);
}

class Builder {
  public:
    explicit Builder(CompiledList<NumericNode>* nodes) : nodes_(nodes) {}

    // An element may be read in place (kLocalElement) as an operand of + - *.
    bool Build(const Expr* e, Operand* out, bool elementInPlace = false) {
        e = Unwrapped(e);
        if (e->leaf == Leaf::kLiteral) {
            *out = NumberOperand(static_cast<const Literal*>(e)->value);
            return true;
        }
        if (e->leaf == Leaf::kName) return NameOperand(static_cast<const NameExpr*>(e)->ref, out);
        if (e->leaf == Leaf::kElement) {
            auto* c = static_cast<const CallExpr*>(e);
            Operand array, at;
            if (!NameOperand(c->ref, &array) || array.kind == Kind::kNumber) return false;
            if (!SubscriptOperand(c->args[0], &at)) return false;
            if (elementInPlace && array.kind == Kind::kLocal && at.kind == Kind::kLocal) {
                out->kind = Kind::kLocalElement;
                out->local = array.local;
                out->subscript = at.local;
                return true;
            }
            NumericNode* n = Add();
            if (!n) return false;
            n->run = array.kind == Kind::kLocal ? ElementWithSubscript<Kind::kLocal>(at.kind)
                                                : ElementWithSubscript<Kind::kGlobal>(at.kind);
            n->a = array;
            n->b = at;
            return Node(n, out);
        }
        if (auto* u = dynamic_cast<const UnaryExpr*>(e)) {
            Operand operand;
            if (!Build(u->operand, &operand)) return false;
            NumericNode* n = Add();
            if (!n) return false;
            n->run = NegateRun(operand.kind);
            n->a = operand;
            return Node(n, out);
        }
        auto* b = static_cast<const BinaryExpr*>(e);
        Operand left, right;
        const bool arithmetic = IsArithmetic(b->op);
        if (!Build(b->left, &left, arithmetic) || !Build(b->right, &right, arithmetic)) {
            return false;
        }
        NumericNode* n = Add();
        if (!n) return false;
        n->run = BinaryRun(b->op, left.kind, right.kind);
        n->runInto = BinaryStoreRun(b->op, left.kind, right.kind);
        n->a = left;
        n->b = right;
        return Node(n, out);
    }

    // The node that reads a lone leaf.
    NumericNode* LoneLeaf(const Operand& o) {
        NumericNode* n = Add();
        if (n) {
            n->run = LeafRun(o.kind);
            n->a = o;
        }
        return n;
    }

  private:
    // Room was reserved for every node: nodes never move, so that parents
    // may point at their children.
    NumericNode* Add() {
        if (nodes_->size() == nodes_->capacity()) return nullptr;
        return &nodes_->emplace_back();
    }

    static bool Node(const NumericNode* n, Operand* out) {
        out->kind = Kind::kNode;
        out->node = n;
        return true;
    }

    CompiledList<NumericNode>* nodes_;
};

}  // namespace

// A single operator over leaves (n - 1, i < 10, sum + a(i)) is left to its
// tree node, whose evaluators for one operator are as quick as a program:
// the program pays off from two operators on.
bool HasNumericShape(const Expr* e) {
    int budget = kMaxNodes;
    int operators = 1;
    if (auto* b = dynamic_cast<const BinaryExpr*>(e)) {
        if (!IsArithmetic(b->op) && !IsComparison(b->op)) return false;
        if (!IsNumericOperand(b->left, &budget) || !IsNumericOperand(b->right, &budget)) {
            return false;
        }
        operators += CountOperators(b->left) + CountOperators(b->right);
    } else if (auto* u = dynamic_cast<const UnaryExpr*>(e)) {
        if (u->op != UnaryOp::kNegate || !IsNumericOperand(u->operand, &budget)) return false;
        operators += CountOperators(u->operand);
    } else {
        return false;
    }
    return operators >= 2;
}

bool IsNumericValue(const Expr* e) {
    int budget = kMaxNodes;
    e = Unwrapped(e);
    if (auto* b = dynamic_cast<const BinaryExpr*>(e); b && IsComparison(b->op)) {
        return IsNumericOperand(b->left, &budget) && IsNumericOperand(b->right, &budget);
    }
    return IsNumericOperand(e, &budget);
}

bool IsNumericTarget(const Expr* target) {
    return target->leaf == Leaf::kName || target->leaf == Leaf::kElement;
}

bool NumericProgram::Compile(const Expr* e) {
    nodes_.clear();
    nodes_.reserve(static_cast<size_t>(CountNodes(e)) + 1);
    Builder build(&nodes_);
    Operand root;
    if (!build.Build(e, &root)) {
        root_ = nullptr;
        nodes_.clear();
        nodes_.shrink_to_fit();
        return false;
    }
    root_ = root.kind == Kind::kNode ? root.node : build.LoneLeaf(root);
    loneLocal_ = root.kind == Kind::kLocal ? root.local : -1;
    return root_ != nullptr;
}

void NumericExpr::Compile() {
    compiled_ = program_.Compile(tree);
    auto* b = dynamic_cast<const BinaryExpr*>(tree);
    comparison_ = b && IsComparison(b->op);
}

Value NumericExpr::Eval(Frame& f) const {
    if (compiled_) {
        const Number n = program_.Run(f);
        if (n.type != Type::Empty) return ToValue(n);
    }
    f.rt.CheckStack();
    return tree->Eval(f);
}

bool NumericExpr::Test(Frame& f) const {
    if (compiled_ && comparison_) {
        const Number n = program_.Run(f);
        if (n.type != Type::Empty) return n.whole != 0;
    }
    f.rt.CheckStack();
    return tree->Test(f);
}

namespace {

// The element to store into: a(i) of a one-dimensional array from 0 that
// is this variable's own (or locked in place), i in range; else null.
inline Value* ElementToWrite(Value* v, const Number& at) {
    Array* a = v->AsArray();
    if (!a || (at.type != Type::Integer && at.type != Type::Long)) return nullptr;
    if (a->RefCount() != 1 && a->locks == 0) return nullptr;
    return FlatItem(a, at.whole);
}

}  // namespace

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
