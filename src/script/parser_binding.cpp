// Names: declared while the text is read, and bound to their storage once
// all of it has been read (a procedure may use a global declared after it).
#include "script/builtins.h"
#include "script/parser_internal.h"
#include "text/case_fold.h"
#include "text/compare.h"

namespace script {

Parser::Scope* Parser::NewScope(Procedure* proc, ClassDef* cls) {
    scopes_.push_back(std::make_unique<Scope>());
    scopes_.back()->proc = proc;
    scopes_.back()->cls = cls;
    return scopes_.back().get();
}

void Parser::Track(NameRef* ref, std::string shown) {
    ref->shown = std::move(shown);
    ref->name = text::LowerCase(ref->shown);
    scope_->refs.push_back(ref);
}

// Declares the name just taken in the current scope; a second
// declaration is an error, reported at the name.
void Parser::Declare(const std::string& shown, bool isConst) {
    const Token& at = Previous();
    const std::string lname = text::LowerCase(shown);
    if (InRunningProcedure()) {
        const int local = LocalIn(outer_.proc, lname);
        const int made = outer_.frame->FindExecLocal(lname);
        if ((local >= 0 && local < outer_.proc->implicitFrom) ||
            (made >= 0 && outer_.frame->ExecLocalAt(made)->declared) ||
            !execDeclared_.emplace(lname, isConst).second) {
            FailAt(kErrNameRedefined, at);
        }
        return;
    }
    if (scope_->proc) {
        if (scope_->locals.count(lname)) FailAt(kErrNameRedefined, at);
        const int index = scope_->proc->LocalCount();
        scope_->locals[lname] = index;
        scope_->proc->localNames.push_back(lname);
        scope_->proc->localConst.push_back(isConst);
    } else if (!declared_.insert(lname).second) {
        FailAt(kErrNameRedefined, at);
    }
}

void Parser::Resolve() {
    // The text compiled: its declarations now join the running call.
    for (const auto& [name, isConst] : execDeclared_) {
        if (LocalIn(outer_.proc, name) >= 0) continue;
        const int made = outer_.frame->FindExecLocal(name);
        if (made < 0) {
            outer_.frame->AddExecLocal(name, isConst, true);
        } else {
            ExecLocal* existing = outer_.frame->ExecLocalAt(made);
            existing->isConst = isConst;
            existing->declared = true;
        }
    }
    for (auto& scope : scopes_) {
        if (scope->proc) scope->proc->implicitFrom = scope->proc->LocalCount();
        for (NameRef* ref : scope->refs) {
            Bind(*scope, ref);
            if (ref->slot >= 0) ref->global = &rt_.globals[ref->slot];
        }
    }
    for (auto& scope : scopes_) {
        if (scope->proc) scope->proc->Settle();
    }
    CompileNumeric();
    unit_->declaredNames.assign(declared_.begin(), declared_.end());
    for (const std::string& name : constants_) unit_->constantNames.push_back(name);
}

// A name is, in this order: a variable of the running procedure (or its
// result), a member of the running class, a script global, a library
// function or constant, or a variable the procedure uses without declaring.
void Parser::Bind(Scope& scope, NameRef* ref) {
    if (BindInProcedure(scope, ref) || BindInClass(scope, ref)) return;
    BindGlobal(scope, ref);
}

bool Parser::BindInProcedure(Scope& scope, NameRef* ref) {
    const std::string& lname = ref->name;
    Procedure* proc = scope.proc;
    const Procedure* running = proc ? proc : scope.outer ? scope.outer->proc : nullptr;
    if (!running) return false;
    if (proc) {
        auto it = scope.locals.find(lname);
        if (it != scope.locals.end()) {
            ref->kind = NameRef::Kind::kLocal;
            ref->local = it->second;
            ref->isConst = proc->localConst[it->second];
            return true;
        }
    } else if (const int local = LocalIn(running, lname); local >= 0) {
        ref->kind = local < running->implicitFrom ? NameRef::Kind::kLocal : NameRef::Kind::kDynamic;
        ref->local = local;
        ref->slot = rt_.GlobalSlotFor(lname, ref->shown);
        return true;
    }
    if (running->resultSlot >= 0 && !ref->hasArgs &&
        text::EqualsNoCase(running->name, ref->shown)) {
        ref->kind = NameRef::Kind::kLocal;
        ref->local = running->resultSlot;
        return true;
    }
    return !proc && BindExecLocal(scope, ref, false);
}

bool Parser::BindInClass(const Scope& scope, NameRef* ref) {
    const ClassDef* cls = scope.cls ? scope.cls : scope.outer ? scope.outer->cls : nullptr;
    const int member = cls ? cls->Find(ref->name) : -1;
    if (member < 0) return false;
    const ClassMember& m = cls->members[member];
    ref->member = member;
    if (m.field >= 0) {
        ref->kind = NameRef::Kind::kField;
        ref->local = m.field;
    } else {
        ref->kind = NameRef::Kind::kMember;
    }
    return true;
}

void Parser::BindGlobal(Scope& scope, NameRef* ref) {
    const std::string& lname = ref->name;
    const bool user = UserGlobal(lname);
    // A variable may not share its name with a class: the script's own
    // text says both, so it is refused before anything runs.
    if (user && IsClass(lname)) {
        if (auto it = assigned_.find(ref); it != assigned_.end()) {
            FailAt(kErrNameRedefined, *it->second);
        }
    }
    if (!user) {
        if (const Builtin* b = FindBuiltin(lname)) {
            ref->kind = NameRef::Kind::kBuiltin;
            ref->builtin = b;
            return;
        }
        if (FindConstant(lname, &ref->constant)) {
            ref->kind = NameRef::Kind::kConstant;
            return;
        }
    }
    // A name Execute uses first inside a procedure, as any name a
    // procedure uses without declaring it, is a variable of that call.
    if (!scope.proc && !user && !ref->hasArgs && BindExecLocal(scope, ref, true)) return;
    ref->slot = rt_.GlobalSlotFor(lname, ref->shown);
    if (scope.proc && !user) {
        // Unknown here: a global if one exists by the time it runs, else a
        // variable of this call.
        ref->kind = NameRef::Kind::kDynamic;
        ref->local = ImplicitLocal(scope, lname);
        return;
    }
    ref->kind = NameRef::Kind::kGlobal;
    ref->isConst = constants_.count(lname) > 0;
}

// The slot of a name the procedure uses without declaring it.
int Parser::ImplicitLocal(Scope& scope, const std::string& lname) {
    auto it = scope.implicit.find(lname);
    if (it != scope.implicit.end()) return it->second;
    const int local = scope.proc->LocalCount();
    scope.implicit[lname] = local;
    scope.proc->localNames.push_back(lname);
    scope.proc->localConst.push_back(false);
    return local;
}

// Binds a name to a variable Execute made in the running call; with
// create, makes it when there is none yet.
bool Parser::BindExecLocal(const Scope& scope, NameRef* ref, bool create) {
    if (!scope.outer || !scope.outer->proc || !scope.outer->frame) return false;
    Frame& frame = *scope.outer->frame;
    int local = frame.FindExecLocal(ref->name);
    if (local < 0) {
        // Under Option Explicit an undeclared name stays an error.
        if (!create || rt_.optionExplicit || unit_->optionExplicit) return false;
        local = frame.AddExecLocal(ref->name, false, false);
    }
    ref->kind = NameRef::Kind::kExecLocal;
    ref->local = local;
    ref->isConst = frame.ExecLocalAt(local)->isConst;
    return true;
}

bool Parser::IsClass(const std::string& lname) const {
    for (const auto& c : unit_->classes) {
        if (text::EqualsNoCase(c->name, lname)) return true;
    }
    const int slot = rt_.FindGlobal(lname);
    return slot >= 0 && rt_.globals[slot].cls;
}

bool Parser::UserGlobal(const std::string& lname) const {
    if (declared_.count(lname)) return true;
    const int slot = rt_.FindGlobal(lname);
    return slot >= 0 && (rt_.globals[slot].declared || rt_.globals[slot].exists);
}

int Parser::LocalIn(const Procedure* p, const std::string& lname) {
    for (int i = 0; i < p->LocalCount(); ++i) {
        if (p->localNames[i] == lname) return i;
    }
    return -1;
}

void Parser::CompileNumeric() {
    for (NumericExpr* e : numeric_) e->Compile();
    for (AssignStmt* s : assigns_) {
        if (!s->isSet && IsNumericTarget(s->target) && IsNumericValue(s->value)) {
            auto* n = Make<NumericAssign>();
            if (n->Compile(s->target, s->value)) s->numeric = n;
        }
        s->Settle();
    }
    for (ForStmt* loop : forLoops_) {
        loop->numericBody = !loop->body.empty();
        for (const Stmt* s : loop->body) {
            auto* assign = dynamic_cast<const AssignStmt*>(s);
            if (!assign || !assign->numeric) loop->numericBody = false;
        }
    }
}

}  // namespace script
