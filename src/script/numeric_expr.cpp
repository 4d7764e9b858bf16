// Compiling and running numeric programs (see numeric_expr.h).
#include "script/numeric_expr.h"

#include <cmath>

namespace script {
namespace {

using Op = NumericStep::Op;

// Bounds on what is compiled: a longer expression is rare and stays a tree,
// and the run keeps its stack in a fixed array.
constexpr int kMaxNodes = 32;
constexpr int kMaxStack = 16;

bool IsNumberLiteral(const Expr* e) {
    if (e->leaf != Leaf::kLiteral) return false;
    const Type t = static_cast<const Literal*>(e)->value.type();
    return t == Type::Integer || t == Type::Long || t == Type::Double;
}

Op ArithmeticOp(BinaryOp op) {
    switch (op) {
        case BinaryOp::kAdd:
            return Op::kAdd;
        case BinaryOp::kSub:
            return Op::kSub;
        default:
            return Op::kMul;
    }
}

Op WithNumber(Op op) {
    switch (op) {
        case Op::kAdd:
            return Op::kAddNumber;
        case Op::kSub:
            return Op::kSubNumber;
        default:
            return Op::kMulNumber;
    }
}

bool IsArithmetic(BinaryOp op) {
    return op == BinaryOp::kAdd || op == BinaryOp::kSub || op == BinaryOp::kMul;
}

bool IsComparison(BinaryOp op) {
    return op == BinaryOp::kEq || op == BinaryOp::kNe || op == BinaryOp::kLt ||
           op == BinaryOp::kGt || op == BinaryOp::kLe || op == BinaryOp::kGe;
}

Op ComparisonOp(BinaryOp op) {
    switch (op) {
        case BinaryOp::kEq:
            return Op::kEq;
        case BinaryOp::kNe:
            return Op::kNe;
        case BinaryOp::kLt:
            return Op::kLt;
        case BinaryOp::kGt:
            return Op::kGt;
        case BinaryOp::kLe:
            return Op::kLe;
        default:
            return Op::kGe;
    }
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

// Emits e's steps; false when a name is bound where a program cannot read
// it in place (a field, a variable Execute made, a name settled at run
// time) or the stack would outgrow its array.
class Emitter {
  public:
    explicit Emitter(std::vector<NumericStep>* out) : out_(out) {}

    bool Operand(const Expr* e) {
        e = Unwrapped(e);
        if (e->leaf == Leaf::kLiteral) {
            return Push(NumberStep(static_cast<const Literal*>(e)->value));
        }
        if (e->leaf == Leaf::kName) return Name(static_cast<const NameExpr*>(e)->ref);
        if (e->leaf == Leaf::kElement) {
            auto* c = static_cast<const CallExpr*>(e);
            if (!Operand(c->args[0])) return false;
            NumericStep s;
            if (c->ref.kind == NameRef::Kind::kLocal) {
                s.op = Op::kLocalElement;
                s.local = c->ref.local;
            } else if (c->ref.kind == NameRef::Kind::kGlobal && c->ref.global) {
                s.op = Op::kGlobalElement;
                s.global = c->ref.global;
            } else {
                return false;
            }
            out_->push_back(s);
            return true;
        }
        if (auto* u = dynamic_cast<const UnaryExpr*>(e)) {
            if (!Operand(u->operand)) return false;
            out_->push_back(NumericStep{Op::kNegate});
            return true;
        }
        auto* b = static_cast<const BinaryExpr*>(e);
        if (!Operand(b->left)) return false;
        const Expr* right = Unwrapped(b->right);
        if (right->leaf == Leaf::kLiteral) {
            NumericStep s = NumberStep(static_cast<const Literal*>(right)->value);
            s.op = WithNumber(ArithmeticOp(b->op));
            out_->push_back(s);
            return true;
        }
        if (!Operand(b->right)) return false;
        return Apply(ArithmeticOp(b->op));
    }

    bool Apply(Op op) {
        out_->push_back(NumericStep{op});
        --depth_;
        return true;
    }

  private:
    static NumericStep NumberStep(const Value& v) {
        NumericStep s{Op::kNumber};
        s.number.type = v.type();
        if (v.type() == Type::Double) {
            s.number.real = v.AsDouble();
        } else {
            s.number.whole = v.type() == Type::Integer ? v.AsInteger() : v.AsLong();
        }
        return s;
    }

    bool Name(const NameRef& ref) {
        NumericStep s;
        switch (ref.kind) {
            case NameRef::Kind::kLocal:
                s.op = Op::kLocal;
                s.local = ref.local;
                return Push(s);
            case NameRef::Kind::kGlobal:
                if (!ref.global) return false;
                s.op = Op::kGlobal;
                s.global = ref.global;
                return Push(s);
            case NameRef::Kind::kConstant: {
                const Type t = ref.constant.type();
                if (t != Type::Integer && t != Type::Long && t != Type::Double) return false;
                return Push(NumberStep(ref.constant));
            }
            default:
                return false;
        }
    }

    bool Push(const NumericStep& s) {
        if (++depth_ > kMaxStack) return false;
        out_->push_back(s);
        return true;
    }

    std::vector<NumericStep>* out_;
    int depth_ = 0;
};

// A value on the stack, when it is a number the program computes with.
inline bool Load(const Value& v, Number* n) {
    const Type t = v.type();
    if (t == Type::Long) {
        n->whole = v.AsLong();
    } else if (t == Type::Integer) {
        n->whole = v.AsInteger();
    } else if (t == Type::Double) {
        n->real = v.AsDouble();
    } else {
        return false;
    }
    n->type = t;
    return true;
}

// a(i) of a one-dimensional array from 0, i a whole number in range; *at
// holds i and receives the element. As PlainElement in nodes.h.
inline bool LoadElement(const Value& v, Number* at) {
    if (!v.IsArray() || at->type == Type::Double) return false;
    const Array* a = v.AsArray();
    if (a->upper.size() != 1 || !a->lower.empty() || at->whole < 0 || at->whole > a->upper[0]) {
        return false;
    }
    return Load(a->items[static_cast<size_t>(at->whole)], at);
}

inline double AsReal(const Number& n) {
    return n.type == Type::Double ? n.real : static_cast<double>(n.whole);
}

// a = a op b, widened as Quick widens: Integer, then Long (once a Long took
// part), then Double; a Double that overflows is error 6.
template <Op O>
inline void Arithmetic(Number& a, const Number& b) {
    if (a.type != Type::Double && b.type != Type::Double) {
        int64_t r;
        if constexpr (O == Op::kAdd) r = a.whole + b.whole;
        if constexpr (O == Op::kSub) r = a.whole - b.whole;
        if constexpr (O == Op::kMul) r = a.whole * b.whole;
        const bool isLong = a.type == Type::Long || b.type == Type::Long;
        if (!isLong && r >= INT16_MIN && r <= INT16_MAX) {
            a.type = Type::Integer;
            a.whole = r;
        } else if (r >= INT32_MIN && r <= INT32_MAX) {
            a.type = Type::Long;
            a.whole = r;
        } else {
            a.type = Type::Double;
            a.real = static_cast<double>(r);
        }
        return;
    }
    const double x = AsReal(a), y = AsReal(b);
    double r;
    if constexpr (O == Op::kAdd) r = x + y;
    if constexpr (O == Op::kSub) r = x - y;
    if constexpr (O == Op::kMul) r = x * y;
    if (!std::isfinite(r)) Throw(kErrOverflow);
    a.type = Type::Double;
    a.real = r;
}

template <Op O, typename T>
inline bool Holds(T x, T y) {
    if constexpr (O == Op::kEq) return x == y;
    if constexpr (O == Op::kNe) return x != y;
    if constexpr (O == Op::kLt) return x < y;
    if constexpr (O == Op::kGt) return x > y;
    if constexpr (O == Op::kLe) return x <= y;
    return x >= y;
}

template <Op O>
inline void Comparison(Number& a, const Number& b) {
    const bool r = a.type != Type::Double && b.type != Type::Double
                       ? Holds<O>(a.whole, b.whole)
                       : Holds<O>(AsReal(a), AsReal(b));
    a.type = Type::Boolean;
    a.whole = r;
}

Value ToValue(const Number& n) {
    switch (n.type) {
        case Type::Integer:
            return Value::Integer(static_cast<int16_t>(n.whole));
        case Type::Long:
            return Value::Long(static_cast<int32_t>(n.whole));
        case Type::Double:
            return Value::Double(n.real);
        default:
            return Value::Boolean(n.whole != 0);
    }
}

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

void NumericExpr::Compile() {
    Emitter emit(&steps_);
    bool ok;
    auto* b = dynamic_cast<const BinaryExpr*>(tree);
    if (b && IsComparison(b->op)) {
        comparison_ = true;
        ok = emit.Operand(b->left) && emit.Operand(b->right) && emit.Apply(ComparisonOp(b->op));
    } else {
        ok = emit.Operand(tree);
    }
    if (!ok) steps_.clear();
    steps_.shrink_to_fit();
}

bool NumericExpr::Run(Frame& f, Number* out) const {
    if (steps_.empty()) return false;
    Number stack[kMaxStack];
    Number* top = stack;  // one past the top
    for (const NumericStep& s : steps_) {
        switch (s.op) {
            case Op::kLocal:
                if (!Load(*f.slots[s.local], top)) return false;
                ++top;
                break;
            case Op::kGlobal:
                if (!s.global->IsPlainVariable() || !Load(s.global->value, top)) return false;
                ++top;
                break;
            case Op::kNumber:
                *top++ = s.number;
                break;
            case Op::kLocalElement:
                if (!LoadElement(*f.slots[s.local], top - 1)) return false;
                break;
            case Op::kGlobalElement:
                if (!s.global->IsPlainVariable() || !LoadElement(s.global->value, top - 1)) {
                    return false;
                }
                break;
            case Op::kNegate: {
                // The edges widen in the general rules.
                Number& n = top[-1];
                if (n.type == Type::Double) {
                    n.real = -n.real;
                } else if ((n.type == Type::Integer && n.whole == INT16_MIN) ||
                           (n.type == Type::Long && n.whole == INT32_MIN)) {
                    return false;
                } else {
                    n.whole = -n.whole;
                }
                break;
            }
            case Op::kAdd:
                --top;
                Arithmetic<Op::kAdd>(top[-1], *top);
                break;
            case Op::kSub:
                --top;
                Arithmetic<Op::kSub>(top[-1], *top);
                break;
            case Op::kMul:
                --top;
                Arithmetic<Op::kMul>(top[-1], *top);
                break;
            case Op::kAddNumber:
                Arithmetic<Op::kAdd>(top[-1], s.number);
                break;
            case Op::kSubNumber:
                Arithmetic<Op::kSub>(top[-1], s.number);
                break;
            case Op::kMulNumber:
                Arithmetic<Op::kMul>(top[-1], s.number);
                break;
            case Op::kEq:
                --top;
                Comparison<Op::kEq>(top[-1], *top);
                break;
            case Op::kNe:
                --top;
                Comparison<Op::kNe>(top[-1], *top);
                break;
            case Op::kLt:
                --top;
                Comparison<Op::kLt>(top[-1], *top);
                break;
            case Op::kGt:
                --top;
                Comparison<Op::kGt>(top[-1], *top);
                break;
            case Op::kLe:
                --top;
                Comparison<Op::kLe>(top[-1], *top);
                break;
            case Op::kGe:
                --top;
                Comparison<Op::kGe>(top[-1], *top);
                break;
        }
    }
    *out = stack[0];
    return true;
}

Value NumericExpr::Eval(Frame& f) const {
    Number n;
    if (Run(f, &n)) return ToValue(n);
    f.rt.CheckStack();
    return tree->Eval(f);
}

bool NumericExpr::Test(Frame& f) const {
    Number n;
    if (comparison_ && Run(f, &n)) return n.whole != 0;
    f.rt.CheckStack();
    return tree->Test(f);
}

}  // namespace script
