// Compiling numeric programs and running their nodes (see numeric_expr.h);
// the assignments are in numeric_assign.cpp.
#include "script/numeric_expr.h"

#include "script/numeric_run.h"

namespace script {
namespace {

using namespace numeric_run;
using Run = Number (*)(const NumericNode&, Frame&);

// The most nodes an expression compiled may have: a longer one is rare,
// and stays a tree.
constexpr int kMaxNodes = 32;

bool IsNumberLiteral(const Expr* e) {
    return e->leaf == Leaf::kLiteral && IsKernelNumber(static_cast<const Literal*>(e)->value);
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

}  // namespace script
