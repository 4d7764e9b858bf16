// Arithmetic on numbers compiled to a flat program. Most of what loops and
// recursive procedures compute is + - * and comparisons over variables,
// literals and a(i): total + i * 2 - 1, n - 1, sum + a(i), n < 2. Walking
// such an expression node by node costs a virtual call and a 16-byte value
// per node; here it is compiled, once its names are bound, into a postfix
// program over unboxed numbers (Integer, Long, Double) that one loop runs
// with no calls and no values made until the result.
//
// The program reads only variables, literals and elements, which cannot
// fail or run code, so it can give up at any leaf that does not hold a
// number (Empty, a string, an object, a subscript out of range) and leave
// the whole expression to the tree it was compiled from, which then does
// what it always did. Its arithmetic is the tree's fast path (Quick in
// eval_operators.cpp), step for step, in the same order: the tree and the
// program cannot differ in a result, a type or an error.
#pragma once

#include <cstdint>
#include <vector>

#include "script/nodes.h"

namespace script {

// A number on the program's stack: an Integer or a Long (in whole), a
// Double (in real), or a comparison's Boolean (whole is 0 or 1).
struct Number {
    Type type;
    union {
        int64_t whole;
        double real;
    };
};

struct NumericStep {
    enum class Op : uint8_t {
        kLocal,          // push the procedure's variable [local]
        kGlobal,         // push the global variable [global]
        kNumber,         // push [number]
        kLocalElement,   // replace the subscript on top by [local](subscript)
        kGlobalElement,  // the same for an array in [global]
        kNegate,
        kAdd,
        kSub,
        kMul,
        kAddNumber,  // the top op [number]: a literal right operand, one step
        kSubNumber,
        kMulNumber,
        kEq,
        kNe,
        kLt,
        kGt,
        kLe,
        kGe,
    };
    Op op;
    int local = 0;
    GlobalSlot* global = nullptr;
    Number number{};
};

struct NumericExpr : Expr {
    explicit NumericExpr(const Expr* t) : tree(t) {}
    // The expression as parsed: run when the program gives up, or when it
    // could not be compiled (a name it cannot read in place).
    const Expr* tree;

    Value Eval(Frame& f) const override;
    bool Test(Frame& f) const override;
    Value* ArgAddress(Frame&, ArgLocks*) const override { return nullptr; }

    // Builds the program once the names are bound.
    void Compile();

  private:
    // False when a leaf holds no number: the tree must evaluate.
    bool Run(Frame& f, Number* out) const;
    std::vector<NumericStep> steps_;
    bool comparison_ = false;  // the result is a Boolean
};

// Whether e is an operator over numeric leaves that a program can compute;
// the parser wraps such an expression in a NumericExpr.
bool HasNumericShape(const Expr* e);

}  // namespace script
