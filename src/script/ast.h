// The compiled form of script text: a tree whose names are already bound to
// storage slots, evaluated directly. Nodes are owned by their Unit in one
// flat list, so no recursion is needed to free even a degenerate tree.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "script/compile_bytes.h"
#include "script/operators.h"
#include "script/value.h"

namespace script {

struct Frame;
struct Procedure;
struct ClassDef;
struct GlobalSlot;
struct Builtin;
struct ArgLocks;

enum class Flow { kNormal, kExitDo, kExitFor, kExitProc };

// Counted, so that the engine's cache knows what a compiled text holds.
struct Node : CompileCounted {
    virtual ~Node() = default;
};

// Where a name lives, decided once at compile time.
struct NameRef {
    enum class Kind {
        kUnresolved,
        kLocal,      // a slot of the current procedure frame
        kGlobal,     // a global slot
        kDynamic,    // a global if one exists when used, else an implicit local
        kExecLocal,  // a variable Execute made in the running procedure's frame
        kField,      // a variable of the class instance running the code (Me)
        kMember,     // a method or property of Me
        kBuiltin,    // a runtime library function
        kConstant,   // a named constant of the runtime library (vbCrLf)
    };
    Kind kind = Kind::kUnresolved;
    std::string name;              // lower-cased
    std::string shown;             // as written, for error texts
    int slot = -1;                 // global slot
    GlobalSlot* global = nullptr;  // that slot (their addresses never change)
    int local = -1;                // frame slot
    int member = -1;               // class member index
    const Builtin* builtin = nullptr;
    Value constant;        // kConstant
    bool isConst = false;  // a local constant
    bool hasArgs = false;  // written name(...): never the function's own result
};

// What an expression is, for the evaluators that read a literal or a
// variable in place instead of calling Eval on it and copying the result.
// kElement is name(leaf): an array element when the name holds an array.
enum class Leaf : uint8_t { kNone, kLiteral, kName, kElement };

struct Expr : Node {
    Leaf leaf = Leaf::kNone;
    // Whether ArgAddress may give storage: only a Target's may. A call
    // asks the others for nothing.
    bool lendable = false;
    virtual Value Eval(Frame& f) const = 0;
    // Storage this expression names, for ByRef passing; null if none.
    virtual Value* Address(Frame&) const { return nullptr; }
    // The same for a call argument, where an array element passed ByRef
    // must stay put until the call returns (locks keeps it so).
    virtual Value* ArgAddress(Frame& f, ArgLocks*) const { return Address(f); }
    // Runs as a statement: calls discard their result.
    virtual void Run(Frame& f) const { Eval(f); }
    // The expression as a condition (If, While, Until): Null is False, and
    // an object stands for its default value.
    virtual bool Test(Frame& f) const;
    virtual bool IsLiteral() const { return false; }
    // A bare name (a variable, constant or argument-less call).
    virtual bool IsName() const { return false; }
};

// Expressions that can stand on the left of "=" or Set.
struct Target : Expr {
    Target() { lendable = true; }
    virtual void Assign(Frame& f, Value v, bool isSet) const = 0;
};

struct Stmt : Node {
    // Where the statement starts, 1-based: a failure while it runs is
    // reported there.
    int line = 0;
    int column = 0;
    virtual Flow Exec(Frame& f) const = 0;
};

using Block = CompiledList<const Stmt*>;
using ExprList = CompiledList<const Expr*>;

// Everything one compile produced.
struct Unit {
    CompiledList<std::unique_ptr<Node>> nodes;
    CompiledList<std::unique_ptr<Procedure>> procedures;
    CompiledList<std::unique_ptr<ClassDef>> classes;
    Block body;                              // statements, when compiled as statements
    const Expr* expr = nullptr;              // the expression, when compiled as one
    int exprLine = 1, exprColumn = 1;        // ... and where it starts
    std::vector<std::string> declaredNames;  // global names declared (hoisted)
    std::vector<std::string> constantNames;  // ... of which constants
    bool optionExplicit = false;

    template <typename T, typename... A>
    T* Make(A&&... args) {
        auto node = std::make_unique<T>(std::forward<A>(args)...);
        T* raw = node.get();
        nodes.push_back(std::move(node));
        return raw;
    }
};

}  // namespace script
