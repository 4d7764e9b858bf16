// The state a running script sees: global slots, procedure frames, class
// definitions and instances, the Err state and the host.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "script/ast.h"
#include "script/errors.h"
#include "script/host.h"
#include "script/small_list.h"
#include "script/value.h"

namespace script {

class Runtime;

// Arguments as the callee sees them: pointers, so ByRef parameters can write
// through to the caller's variables.
struct Args {
    Value* const* items = nullptr;
    size_t count = 0;
    Value& operator[](size_t i) const { return *items[i]; }
};

// A COM-style "parameter not found" marks an omitted argument (f a, , c).
constexpr int32_t kMissingArgument = static_cast<int32_t>(0x80020004u);
inline bool IsMissing(const Value& v) {
    return v.type() == Type::Error && v.AsErrorCode() == kMissingArgument;
}

// Every object the engine makes. Member names arrive lower-cased; an empty
// name is the default member.
class ScriptObject : public Object {
  public:
    virtual Value Get(Runtime& rt, std::string_view name, Args args) = 0;
    virtual void Put(Runtime& rt, std::string_view name, Args args, Value v, bool isSet);
    // The items For Each visits; false when the object is not a collection.
    // rt is the script that asks: an outside object's items may take long to
    // come, and a stop request to rt ends the wait.
    virtual bool Items(Runtime& rt, std::vector<Value>* items);
    // A script class's instance, whose members calls may reach directly.
    virtual class Instance* AsInstance() { return nullptr; }
};

// A parameter's name is among the procedure's localNames; what a call
// needs of it is how it is passed. Kept to a byte: a call compares the
// count of its arguments with the count of these.
struct Param {
    bool byRef = true;
};

// A Dim with bounds: the array is made when the declaration takes effect.
struct ArrayDecl {
    int slot = -1;
    std::vector<int32_t> upper;
};

struct Procedure : CompileCounted {
    enum class Kind { kSub, kFunction, kPropertyGet, kPropertyLet, kPropertySet };
    Kind kind = Kind::kSub;
    std::string name;
    std::vector<Param> params;
    std::vector<std::string> localNames;  // lower-cased, parameters first
    std::vector<bool> localConst;
    int resultSlot = -1;  // Function and Property Get
    // Locals from here on are implicit: names used without a declaration,
    // which stand for a global of the name when one exists.
    int implicitFrom = 0;
    std::vector<ArrayDecl> arrays;
    Block body;
    ClassDef* owner = nullptr;
    bool isPublic = true;
    bool isDefault = false;
    // The frame a call makes, fixed once every name is bound (Settle): its
    // variables, and those made empty at the call, which are all but a
    // result that comes last (that one is the value the call gives).
    int frameSize = 0;
    int madeSize = 0;
    size_t paramCount = 0;
    // The body's statement when it has only one, the usual case, run
    // without a loop.
    const Stmt* onlyStmt = nullptr;
    int LocalCount() const { return static_cast<int>(localNames.size()); }
    void Settle() {
        frameSize = LocalCount();
        madeSize = frameSize - (resultSlot >= 0 && resultSlot == frameSize - 1);
        paramCount = params.size();
        onlyStmt = body.size() == 1 ? body.front() : nullptr;
    }
};

struct ClassMember {
    std::string name;
    bool isPublic = true;
    int field = -1;               // a variable of each instance
    std::vector<int32_t> upper;   // bounds of an array field
    bool isArray = false;         // declared with (), maybe dynamic
    Procedure* method = nullptr;  // Sub or Function
    Procedure* get = nullptr;
    Procedure* let = nullptr;
    Procedure* set = nullptr;
};

struct NameHash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

struct ClassDef : CompileCounted {
    // Unique to each class made, for as long as the program runs: a class
    // that ends may leave its address to a new one, so addresses cannot be
    // kept to recognise a class later.
    const uint64_t serial = NextSerial();
    std::string name;
    std::vector<ClassMember> members;
    // Lower-cased name to member; looked up by string_view without copying.
    std::unordered_map<std::string, int, NameHash, std::equal_to<>> index;
    int fieldCount = 0;
    Procedure* initialize = nullptr;
    Procedure* terminate = nullptr;
    int defaultMember = -1;
    int Find(std::string_view lname) const {
        auto it = index.find(lname);
        return it == index.end() ? -1 : it->second;
    }

  private:
    static uint64_t NextSerial() {
        static uint64_t last = 0;
        return ++last;
    }
};

struct GlobalSlot {
    // What the flags below make of the slot, worked out whenever they change
    // (Settle), so that reading or writing a variable tests one flag: a
    // variable that exists (plain), and one that may be written (writable).
    bool plain = false;
    bool writable = false;
    Value value;
    std::string name;  // as first written
    const Procedure* proc = nullptr;
    const ClassDef* cls = nullptr;
    std::shared_ptr<Unit> owner;  // keeps proc and cls alive
    bool exists = false;          // assigned, declared or read at global level
    bool declared = false;        // Dim, Const, Sub, Function or Class
    bool isConst = false;
    // A variable that exists: reading it needs no check.
    bool IsPlainVariable() const { return plain; }
    void Settle() {
        plain = exists && !proc && !cls;
        writable = plain && !isConst;
    }
};

// A variable that Execute made inside a running procedure (Dim, or a name
// first used there): it belongs to that call and ends with it.
struct ExecLocal {
    std::string name;  // lower-cased
    Value value;
    bool isConst = false;
    bool declared = false;  // by Dim or Const, not just used
};

struct Frame {
    Runtime& rt;
    Value** slots = nullptr;  // the procedure's locals (ByRef ones point elsewhere)
    class Instance* me = nullptr;
    const Procedure* proc = nullptr;
    bool resumeNext = false;
    // What few frames need, made for the first that does: most frames are
    // calls that have neither, and one owner is one test as a call ends.
    struct Extras {
        // The objects of the enclosing With blocks.
        std::vector<Value> with;
        // The variables Execute made; a deque keeps addresses put.
        std::deque<ExecLocal> execLocals;
    };
    std::unique_ptr<Extras> extras;
    explicit Frame(Runtime& r) : rt(r) {}

    Extras& MadeExtras() {
        if (!extras) extras = std::make_unique<Extras>();
        return *extras;
    }

    // The object of the With block depth levels out.
    const Value& WithObject(int depth) const {
        if (!extras || depth < 0 || depth >= static_cast<int>(extras->with.size())) {
            Throw(kErrInternal);
        }
        return extras->with[depth];
    }

    // The variable Execute made at index local, or null when there is none.
    ExecLocal* ExecLocalAt(int local) {
        if (!extras || local < 0 || local >= static_cast<int>(extras->execLocals.size())) {
            return nullptr;
        }
        return &extras->execLocals[local];
    }
    int FindExecLocal(std::string_view lname) const {
        if (!extras) return -1;
        for (size_t i = 0; i < extras->execLocals.size(); ++i) {
            if (extras->execLocals[i].name == lname) return static_cast<int>(i);
        }
        return -1;
    }
    int AddExecLocal(std::string lname, bool isConst, bool declared) {
        std::deque<ExecLocal>& made = MadeExtras().execLocals;
        made.push_back(ExecLocal{std::move(lname), Value(), isConst, declared});
        return static_cast<int>(made.size()) - 1;
    }
};

class Instance : public ScriptObject {
  public:
    Instance(Runtime& rt, const ClassDef* cls, std::shared_ptr<Unit> unit);
    std::string TypeName() const override;
    Instance* AsInstance() override { return this; }
    Value Get(Runtime& rt, std::string_view name, Args args) override;
    void Put(Runtime& rt, std::string_view name, Args args, Value v, bool isSet) override;

    const ClassDef* cls;
    std::vector<Value> fields;
    // Runs a member for a caller inside the class (private members allowed).
    Value Invoke(Runtime& rt, int member, Args args, bool inside);
    void Assign(Runtime& rt, int member, Args args, Value v, bool isSet, bool inside);

  protected:
    bool Finalize() override;

  private:
    std::shared_ptr<Runtime*> runtime_;  // null once the engine is gone
    bool terminated_ = false;
    std::shared_ptr<Unit> unit_;
};

struct ErrState {
    int number = 0;
    std::string description;
    std::string source;
    void Clear() { *this = ErrState(); }
};

class Runtime {
    Host ownHost_;  // first: host may refer to it

  public:
    explicit Runtime(Host* host);
    ~Runtime();

    Host& host;
    // Where CreateObject and GetObject go for classes the engine lacks.
    class ObjectProvider* objects = nullptr;
    std::deque<GlobalSlot> globals;
    std::unordered_map<std::string, int> globalIndex;
    ErrState err;
    bool optionExplicit = false;
    std::shared_ptr<Runtime*> self;
    Ref<ScriptObject> errObject;
    Ref<ScriptObject> wscriptObject;
    uint32_t rndSeed = 0x50000;
    double lastRnd = 0;

    // The slot for a lower-cased name, made on first use.
    int GlobalSlotFor(const std::string& lname, std::string_view shown);
    int FindGlobal(const std::string& lname) const;

    // The one door into running script code, for the engine's own calls and
    // for anything outside that calls a script object (an automation client,
    // a host callback). The stack guard's base and the interrupt flag belong
    // to the outermost entry: an inner one measured from its own place would
    // let a script that calls back into the engine through its host recurse
    // without bound, and clearing the flag there would lose a stop meant for
    // the running script.
    class Entry {
      public:
        explicit Entry(Runtime& rt) : rt_(rt) {
            if (rt_.entries_++ == 0) {
                rt_.SetStackBase();
                rt_.interrupt = false;
            }
        }
        ~Entry() { --rt_.entries_; }
        Entry(const Entry&) = delete;
        Entry& operator=(const Entry&) = delete;

      private:
        Runtime& rt_;
    };

    // Stack use is measured, not guessed: deep recursion of any kind ends in
    // "Out of stack space" long before the thread's stack runs out.
    void SetStackBase();
    // The depth is read from a local's address, not from the frame address:
    // asking for the frame address gives the function a frame pointer, and
    // for such frames MinGW's GCC writes Windows unwind data that places
    // the saved XMM registers wrongly, so that an error unwinding through
    // them (every script error raised inside a procedure) hands its catcher
    // and the catcher's callers a garbage XMM6.
    void CheckStack() const {
        const char probe = 0;
        const auto here = reinterpret_cast<uintptr_t>(&probe);
        if (here < stackFloor_) Throw(kErrOutOfStack);
    }
    // How deep the stack may grow below its base.
    void SetStackBudget(size_t bytes) {
        stackBudget_ = bytes;
        SetStackFloor();
    }

    // Every kTurnsPerKeepGoing loop turns or calls the host is asked
    // whether to go on, so that a script that never ends leaves its program
    // alive and stoppable. A stop may also be set from any thread: it ends
    // the script with error 18 at that ask, within microseconds, and a call
    // waiting on another thread looks at it at once. Cleared when the next
    // top-level call starts. A turn counts down and nothing more: calls and
    // loop turns are the hot path.
    std::atomic<bool> interrupt{false};
    static constexpr unsigned kTurnsPerKeepGoing = 1024;
    mutable unsigned turnsToKeepGoing = kTurnsPerKeepGoing;
    void CheckInterrupt() const {
        if (--turnsToKeepGoing == 0) AskHostToGoOn();
    }
    void AskHostToGoOn() const;

    // Runs a compiled unit's statements: hoists its declarations first.
    void Declare(const std::shared_ptr<Unit>& unit);

  private:
    void SetStackFloor() {
        stackFloor_ = stackBase_ > stackBudget_ ? stackBase_ - stackBudget_ : 0;
    }
    uintptr_t stackBase_ = 0;
    // Enough for a few thousand levels of an ordinary procedure; the
    // programs that run scripts give their thread a larger stack than this.
    size_t stackBudget_ = 6 * 1024 * 1024;
    uintptr_t stackFloor_ = 0;  // the lowest address the stack may reach
    int entries_ = 0;
};

// A procedure's variables for one call, parameters first: each slot points
// at its own value, at the caller's variable for a ByRef parameter, or, for
// a function's result, at the value the call gives (RunProcedure).
// Most procedures have a few variables: they live in the native frame of
// the call, as calls are the hot path of recursive scripts. They are made
// in order, each once, an argument straight from what its expression gives
// (Make), so that a value is not made empty to be overwritten at once; a
// failure while making one leaves the ones before it to the destructor.
// kMayGrow: a frame of more than kInline variables is put on the heap;
// without it the caller sees that the frame fits, and the variables'
// places are known without being stored.
template <bool kMayGrow>
class BasicLocals {
  public:
    static constexpr int kInline = 8;
    // For proc's variables. A function's result, when it is the last, is
    // not made here: its slot is pointed at the call's result.
    explicit BasicLocals(const Procedure& proc) : end_(proc.madeSize) {
        if constexpr (kMayGrow) {
            const int count = proc.frameSize;
            if (count > kInline) {
                // One block: the values, then the slots.
                heap_ = ::operator new(count*(sizeof(Value) + sizeof(Value*)));
                values_ = static_cast<Value*>(heap_);
                slots_ = reinterpret_cast<Value**>(values_ + count);
            } else {
                heap_ = nullptr;
                values_ = std::launder(reinterpret_cast<Value*>(inline_));
                slots_ = inlineSlots_;
            }
        }
    }
    ~BasicLocals() {
        std::destroy_n(values(), made_);
        if constexpr (kMayGrow) {
            if (heap_) ::operator delete(heap_);
        }
    }
    BasicLocals(const BasicLocals&) = delete;
    BasicLocals& operator=(const BasicLocals&) = delete;

    // The next variable, from what make() gives.
    template <typename MakeValue>
    void Make(MakeValue make) {
        Value* v = values() + made_;
        ::new (v) Value(make());
        slots()[made_++] = v;
    }
    // The next variable, a ByRef parameter that stands for the caller's.
    void Lend(Value* to) {
        ::new (values() + made_) Value();
        slots()[made_++] = to;
    }
    // The variables after the parameters, Empty.
    void MakeRest() {
        for (; made_ < end_; ++made_) {
            ::new (values() + made_) Value();
            slots()[made_] = values() + made_;
        }
    }
    Value* values() {
        if constexpr (kMayGrow) return values_;
        return std::launder(reinterpret_cast<Value*>(inline_));
    }
    Value** slots() {
        if constexpr (kMayGrow) return slots_;
        return inlineSlots_;
    }

  private:
    int end_;  // the variables made: all but a last one for the result
    int made_ = 0;
    // Set only when kMayGrow: the places of the variables and the slots.
    Value* values_;
    Value** slots_;
    void* heap_;
    alignas(Value) unsigned char inline_[kInline * sizeof(Value)];
    Value* inlineSlots_[kInline];
};
using Locals = BasicLocals<true>;
using FrameLocals = BasicLocals<false>;
// Calls a procedure with the arguments given; me is the instance for class
// members. Returns the function result (Empty for a Sub).
Value CallProcedure(Runtime& rt, const Procedure& proc, Instance* me, Args args);
// Arrays are values: before a write through v, v gets its own copy of an
// array it shares (unless the array is locked by a running For Each or a
// ByRef element).
Array* OwnArray(Value* v);
// Applies arguments to a value that takes none itself: an array element, or
// the default member of an object (m.SubMatches(0), obj.List(2)).
Value IndexValue(Runtime& rt, const Value& v, Args args);
// Runs statements with the frame's error handling. A failure leaving a
// statement is placed at the statement's start.
Flow ExecBlock(Frame& f, const Block& block);
// Runs run(); a failure leaving it is placed at statement s, as ExecBlock
// places the failures of its statements.
template <typename Run>
inline auto RunPlaced(const Stmt* s, Run run) -> decltype(run()) {
    try {
        return run();
    } catch (ScriptError& e) {
        e.PlaceAt(s->line, s->column);
        throw;
    } catch (const std::bad_alloc&) {
        ScriptError e{kErrOutOfMemory, ErrorText(kErrOutOfMemory), {}};
        e.PlaceAt(s->line, s->column);
        throw e;
    }
}

// A block of one statement, the usual body of a loop or a branch, run
// without a second call.
inline Flow RunBlock(Frame& f, const Block& block) {
    if (block.size() != 1 || f.resumeNext) return ExecBlock(f, block);
    const Stmt* s = block.front();
    return RunPlaced(s, [&] { return s->Exec(f); });
}

// Runs a procedure's body over its slots and gives its result. A
// function's result variable is the value the call gives, made where the
// caller wants it, so that it is not moved out at the end. Inline: it is
// the inside of every call.
[[gnu::always_inline]] inline Value RunProcedure(Runtime& rt, const Procedure& proc, Instance* me,
                                                 Value** slots) {
    Value result;
    if (proc.resultSlot >= 0) slots[proc.resultSlot] = &result;
    Ref<Instance> keep(me);  // the instance must outlive its own method
    Frame frame(rt);
    frame.slots = slots;
    frame.me = me;
    frame.proc = &proc;
    if (const Stmt* s = proc.onlyStmt) {
        RunPlaced(s, [&] { return s->Exec(frame); });
    } else {
        ExecBlock(frame, proc.body);
    }
    return result;
}

// Evaluates a unit compiled from an expression; a failure no statement
// placed (one of a procedure it called) is placed at the expression's start.
inline Value EvalUnit(Frame& f, const Unit& unit) {
    try {
        return unit.expr->Eval(f);
    } catch (ScriptError& e) {
        e.PlaceAt(unit.exprLine, unit.exprColumn);
        throw;
    }
}
// Records a caught error in Err.
void SetErr(Runtime& rt, const ScriptError& e);

}  // namespace script
