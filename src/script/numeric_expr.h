// Arithmetic on numbers compiled to closures. Most of what loops and
// recursive procedures compute is + - * and comparisons over variables,
// literals and a(i), and assignments of the results: total = total + i * 2
// - 1, a(i) = i, sum = sum + a(i), n < 2. Walking such an expression node by
// node costs a virtual call and a 16-byte value per node, with tests of
// what each operand is; here it is compiled, once its names are bound, into
// nodes whose functions are chosen for their operands' kinds (a variable of
// the procedure, a global, a literal, another node), that compute on
// unboxed numbers (Integer, Long, Double) and make a value only for the
// result, or store it straight into its variable or element.
//
// A program reads only variables, literals and elements, which cannot fail
// or run code, so it can give up at any leaf that does not hold a number
// (Empty, a string, an object, a subscript out of range) and leave the
// whole expression or assignment to the tree it was compiled from, which
// then does what it always did. Its arithmetic is the number kernel's
// (number_kernel.h), as the tree's is, in the same order: the tree and the
// program cannot differ in a result, a type or an error.
#pragma once

#include <cstdint>
#include <vector>

#include "script/nodes.h"

namespace script {

// A node of a compiled program: an operator, an element a(i), or a lone
// leaf. Its operands that are variables or literals are read by the node
// itself, their kinds being template arguments of the function run points
// to, so that a node costs one call and no tests of what it reads from.
struct NumericNode {
    // kLocalElement is a(i) with a and i both the procedure's variables, an
    // operand of + - * read in place (sum = sum + a(i)); elsewhere an
    // element is a node of its own.
    enum class Kind : uint8_t { kLocal, kGlobal, kNumber, kNode, kLocalElement };
    struct Operand {
        Kind kind = Kind::kNumber;
        int local = 0;                      // kLocal: the procedure's variable
        int subscript = 0;                  // kLocalElement: the variable of i
        GlobalSlot* global = nullptr;       // kGlobal
        Number number{};                    // kNumber
        const NumericNode* node = nullptr;  // kNode
    };
    Number (*run)(const NumericNode& n, Frame& f) = nullptr;
    // For + - * with a procedure's variable on the left (x + a(i), n - 1,
    // i * 2), the usual value of an assignment: the node's value stored
    // into a variable by the same call; false, having changed nothing, when
    // an operand held no number. Null for every other node.
    bool (*runInto)(const NumericNode& n, Frame& f, Value* into) = nullptr;
    Operand a, b;
};

// A compiled expression.
class NumericProgram {
  public:
    // Compiles e: a leaf or operators over leaves, as HasNumericShape and
    // IsNumericValue accept. False when a name is bound where the program
    // cannot read it in place (a field, a variable Execute made, a name
    // settled at run time).
    bool Compile(const Expr* e);
    // The value, or type Empty when a leaf held no number: nothing has
    // changed, and the tree must evaluate. Only once compiled.
    Number Run(Frame& f) const { return root_->run(*root_, f); }
    // The node that gives the value. Only once compiled.
    const NumericNode& Root() const { return *root_; }
    // The procedure's variable the program is, when it is one alone (a(i) =
    // i, x = y), for an assignment to read in place; else -1.
    int LoneLocal() const { return loneLocal_; }

  private:
    CompiledList<NumericNode> nodes_;  // children before parents; never moved
    const NumericNode* root_ = nullptr;
    int loneLocal_ = -1;
};

struct NumericExpr : Expr {
    explicit NumericExpr(const Expr* t) : tree(t) {}
    // The expression as parsed: run when the program gives up, or when it
    // could not be compiled.
    const Expr* tree;

    Value Eval(Frame& f) const override;
    bool Test(Frame& f) const override;
    Value* ArgAddress(Frame&, ArgLocks*) const override { return nullptr; }

    // Builds the program once the names are bound.
    void Compile();

  private:
    NumericProgram program_;
    bool compiled_ = false;
    bool comparison_ = false;  // the result is a Boolean
};

// x = expr and a(i) = expr where expr is a number: the program, then a
// store straight into the variable or the element.
struct NumericAssign : Node {
    // False when the target is not a procedure's variable, a global one, or
    // a(leaf) of one, or the value cannot be compiled.
    bool Compile(const Target* target, const Expr* value);
    // Runs the assignment; false, having changed nothing, when a value is
    // not a number or the target is not what this stores into (not an
    // array, a subscript out of range, an array shared with another
    // variable, a global that became a constant): the statement must run
    // as a tree.
    bool Run(Frame& f) const { return run_(*this, f); }

  private:
    enum class Into : uint8_t { kLocal, kGlobal, kLocalElement, kGlobalElement };
    using Runner = bool (*)(const NumericAssign& a, Frame& f);
    // Run for one kind of target (and of subscript), chosen by Compile; V
    // is kLocal for a value that is a procedure's variable alone, read in
    // place, and kNode for the program.
    template <Into I, NumericNode::Kind S, NumericNode::Kind V>
    static bool RunInto(const NumericAssign& a, Frame& f);
    template <Into I, NumericNode::Kind S>
    Runner RunnerFor() const;
    template <Into I>
    Runner ElementRunner(NumericNode::Kind subscript) const;
    // Run for a procedure's variable whose value's node stores it itself.
    static bool RunStoredByNode(const NumericAssign& a, Frame& f);

    Runner run_ = nullptr;
    NumericProgram value_;
    Into into_ = Into::kLocal;
    int local_ = 0;
    GlobalSlot* global_ = nullptr;
    NumericNode::Operand subscript_;  // the element's: a variable or a number
};

// Whether e is an operator over numeric leaves that a program can compute;
// the parser wraps such an expression in a NumericExpr.
bool HasNumericShape(const Expr* e);
// Whether an assignment of e may be a NumericAssign: a leaf, or operators
// over leaves, down to one.
bool IsNumericValue(const Expr* e);
// Whether target can take a NumericAssign: a name, or a(leaf).
bool IsNumericTarget(const Expr* target);

}  // namespace script
