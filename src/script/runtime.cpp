#include "script/runtime.h"

#include <new>

#include "script/convert.h"
#include "script/nodes.h"
#include "text/case_fold.h"

namespace script {

void ScriptObject::Put(Runtime&, std::string_view, Args, Value, bool) {
    Throw(kErrNoSuchMember);
}

bool ScriptObject::Items(Runtime&, std::vector<Value>*) {
    return false;
}

Runtime::Runtime(Host* h) : host(h ? *h : ownHost_), self(std::make_shared<Runtime*>(this)) {
    SetStackBase();
}

Runtime::~Runtime() {
    // Instances outliving the engine must not call back into it.
    *self = nullptr;
}

void Runtime::AskHostToGoOn() const {
    turnsToKeepGoing = kTurnsPerKeepGoing;
    // The stop may come from the host's answer, or have come meanwhile.
    if (interrupt.load(std::memory_order_relaxed) || !host.KeepGoing() ||
        interrupt.load(std::memory_order_relaxed)) {
        Throw(kErrUserInterrupt);
    }
}

void Runtime::SetStackBase() {
    const char probe = 0;
    stackBase_ = reinterpret_cast<uintptr_t>(&probe);
    SetStackFloor();
}

int Runtime::GlobalSlotFor(const std::string& lname, std::string_view shown) {
    auto it = globalIndex.find(lname);
    if (it != globalIndex.end()) return it->second;
    const int slot = static_cast<int>(globals.size());
    globals.emplace_back();
    globals.back().name = std::string(shown);
    globalIndex.emplace(lname, slot);
    return slot;
}

int Runtime::FindGlobal(const std::string& lname) const {
    auto it = globalIndex.find(lname);
    return it == globalIndex.end() ? -1 : it->second;
}

void Runtime::Declare(const std::shared_ptr<Unit>& unit) {
    for (const std::string& name : unit->declaredNames) {
        GlobalSlot& g = globals[GlobalSlotFor(name, name)];
        g.declared = true;
        g.exists = true;
        g.Settle();
    }
    for (const std::string& name : unit->constantNames) {
        GlobalSlot& g = globals[GlobalSlotFor(name, name)];
        g.isConst = true;
        g.Settle();
    }
    for (const auto& p : unit->procedures) {
        if (p->owner) continue;
        GlobalSlot& g = globals[GlobalSlotFor(text::LowerCase(p->name), p->name)];
        g.name = p->name;
        g.proc = p.get();
        g.cls = nullptr;
        g.owner = unit;
        g.Settle();
    }
    for (const auto& c : unit->classes) {
        GlobalSlot& g = globals[GlobalSlotFor(text::LowerCase(c->name), c->name)];
        g.name = c->name;
        g.cls = c.get();
        g.proc = nullptr;
        g.owner = unit;
        g.Settle();
    }
    if (unit->optionExplicit) optionExplicit = true;
}

void SetErr(Runtime& rt, const ScriptError& e) {
    rt.err.number = e.number;
    rt.err.description = e.description;
    rt.err.source = e.source.empty() ? "Microsoft VBScript runtime error" : e.source;
}

Flow ExecBlock(Frame& f, const Block& block) {
    // The loop's own iterator names the failing statement in the handler.
    auto s = block.begin();
    try {
        for (; s != block.end(); ++s) {
            if (!f.resumeNext) {
                const Flow flow = (*s)->Exec(f);
                if (flow != Flow::kNormal) return flow;
                continue;
            }
            try {
                const Flow flow = (*s)->Exec(f);
                if (flow != Flow::kNormal) return flow;
            } catch (const ScriptError& e) {
                SetErr(f.rt, e);
            } catch (const std::bad_alloc&) {
                SetErr(f.rt, ScriptError{kErrOutOfMemory, ErrorText(kErrOutOfMemory), {}});
            }
        }
    } catch (ScriptError& e) {
        e.PlaceAt((*s)->line, (*s)->column);
        throw;
    } catch (const std::bad_alloc&) {
        ScriptError e{kErrOutOfMemory, ErrorText(kErrOutOfMemory), {}};
        e.PlaceAt((*s)->line, (*s)->column);
        throw e;
    }
    return Flow::kNormal;
}

namespace {

Ref<Array> MakeArray(const std::vector<int32_t>& upper) {
    Ref<Array> a(new Array);
    a->SetBounds(upper);
    size_t total = 1;
    for (int32_t u : upper) total *= static_cast<size_t>(u) + 1;
    a->items.resize(total);
    a->fixedSize = true;
    return a;
}

}  // namespace

Array* OwnArray(Value* v) {
    Array* a = v->AsArray();
    if (a->RefCount() > 1 && a->locks == 0) {
        Ref<Array> copy(new Array(*a));
        copy->locks = 0;
        *v = Value::Array(copy);
        return copy.Get();
    }
    return a;
}

Value IndexValue(Runtime& rt, const Value& v, Args args) {
    if (args.count == 0) return v;
    if (v.IsArray()) {
        std::vector<int32_t> subs(args.count);
        for (size_t i = 0; i < args.count; ++i) subs[i] = ToLong(args[i]);
        const int64_t at = v.AsArray()->Offset(subs.data(), subs.size());
        if (at < 0) Throw(kErrSubscript);
        return v.AsArray()->items[at];
    }
    if (v.IsObject() && v.AsObject()) {
        return static_cast<ScriptObject*>(v.AsObject())->Get(rt, {}, args);
    }
    Throw(kErrTypeMismatch);
}

Value CallProcedure(Runtime& rt, const Procedure& proc, Instance* me, Args args) {
    rt.CheckStack();
    rt.CheckInterrupt();
    if (args.count != proc.params.size()) {
        Throw(kErrWrongArgs, ErrorText(kErrWrongArgs) + ": '" + proc.name + "'");
    }
    Locals locals(proc);
    for (size_t i = 0; i < args.count; ++i) {
        if (IsMissing(*args.items[i])) Throw(kErrArgNotOptional);
        if (proc.params[i].byRef) {
            locals.Lend(args.items[i]);
        } else {
            locals.Make([&] { return *args.items[i]; });
        }
    }
    locals.MakeRest();
    return RunProcedure(rt, proc, me, locals.slots());
}

Instance::Instance(Runtime& rt, const ClassDef* c, std::shared_ptr<Unit> unit)
    : cls(c), fields(c->fieldCount), runtime_(rt.self), unit_(std::move(unit)) {
    for (const ClassMember& m : cls->members) {
        if (m.field < 0 || !m.isArray) continue;
        if (m.upper.empty()) {
            Ref<Array> a(new Array);
            fields[m.field] = Value::Array(a);
        } else {
            fields[m.field] = Value::Array(MakeArray(m.upper));
        }
    }
}

std::string Instance::TypeName() const {
    return cls->name;
}

bool Instance::Finalize() {
    Runtime* rt = *runtime_;
    if (!rt || !cls->terminate || terminated_) return true;
    // Alive while its terminator runs; errors there are ignored, as VBScript
    // ignores them. Terminate runs once even if the object is kept alive.
    terminated_ = true;
    refs_ = 1;
    // The last reference may go when no script runs (an automation client
    // releasing it later): the terminator then enters as any call does.
    Runtime::Entry entry(*rt);
    try {
        CallProcedure(*rt, *cls->terminate, this, Args{});
    } catch (...) {
    }
    return --refs_ == 0;
}

Value Instance::Invoke(Runtime& rt, int member, Args args, bool inside) {
    const ClassMember& m = cls->members[member];
    if (!m.isPublic && !inside) Throw(kErrNoSuchMember);
    if (m.field >= 0) return IndexValue(rt, fields[m.field], args);
    const Procedure* p = m.method ? m.method : m.get;
    if (!p) Throw(kErrNoSuchMember);
    if (p->params.empty() && args.count > 0) {
        return IndexValue(rt, CallProcedure(rt, *p, this, Args{}), args);
    }
    return CallProcedure(rt, *p, this, args);
}

void Instance::Assign(Runtime& rt, int member, Args args, Value v, bool isSet, bool inside) {
    const ClassMember& m = cls->members[member];
    if (!m.isPublic && !inside) Throw(kErrNoSuchMember);
    if (m.field >= 0) {
        Value& target = fields[m.field];
        if (args.count == 0) {
            target = std::move(v);
            return;
        }
        if (!target.IsArray()) Throw(kErrTypeMismatch);
        std::vector<int32_t> subs(args.count);
        for (size_t i = 0; i < args.count; ++i) subs[i] = ToLong(args[i]);
        Array* a = OwnArray(&target);
        const int64_t at = a->Offset(subs.data(), subs.size());
        if (at < 0) Throw(kErrSubscript);
        a->items[at] = std::move(v);
        return;
    }
    // An assignment without Set needs a Property Let: a property that only
    // takes objects is no place for a value. A Set with no Property Set
    // goes to the Property Let.
    const Procedure* p = isSet ? (m.set ? m.set : m.let) : m.let;
    if (!p) Throw(kErrNoSuchMember);
    SmallList<Value*, 4> all;
    all.Reserve(args.count + 1);
    for (size_t i = 0; i < args.count; ++i) all.EmplaceBack(args.items[i]);
    Value value = std::move(v);
    all.EmplaceBack(&value);
    CallProcedure(rt, *p, this, Args{all.data(), all.size()});
}

Value Instance::Get(Runtime& rt, std::string_view name, Args args) {
    int member = name.empty() ? cls->defaultMember : cls->Find(name);
    if (member < 0) Throw(kErrNoSuchMember);
    return Invoke(rt, member, args, false);
}

void Instance::Put(Runtime& rt, std::string_view name, Args args, Value v, bool isSet) {
    int member = name.empty() ? cls->defaultMember : cls->Find(name);
    if (member < 0) Throw(kErrNoSuchMember);
    Assign(rt, member, args, std::move(v), isSet, false);
}

}  // namespace script
