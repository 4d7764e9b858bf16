// Sub, Function and Property definitions, and classes with their members.
#include "script/parser_internal.h"
#include "text/case_fold.h"

namespace script {

// How a procedure's header starts, what it is, and how it must end.
struct ProcedureForm {
    Kw keyword;   // Sub, Function or Property
    Kw accessor;  // after Property: Get, Let or Set
    Procedure::Kind kind;
    bool returns;     // a value, through the procedure's own name
    bool takesValue;  // the value assigned, as its last parameter
    Kw end;
    int endError;
};

namespace {

constexpr ProcedureForm kProcedureForms[] = {
    {Kw::kSub, Kw::kNone, Procedure::Kind::kSub, false, false, Kw::kSub, kErrExpectedSub},
    {Kw::kFunction, Kw::kNone, Procedure::Kind::kFunction, true, false, Kw::kFunction,
     kErrExpectedFunction},
    {Kw::kProperty, Kw::kGet, Procedure::Kind::kPropertyGet, true, false, Kw::kProperty,
     kErrExpectedProperty},
    {Kw::kProperty, Kw::kLet, Procedure::Kind::kPropertyLet, false, true, Kw::kProperty,
     kErrExpectedProperty},
    {Kw::kProperty, Kw::kSet, Procedure::Kind::kPropertySet, false, true, Kw::kProperty,
     kErrExpectedProperty},
};

}  // namespace

void Parser::ParseSubOrFunction(Block*) {
    ParseProcedure(nullptr, true, false);
}

void Parser::ParseProcedure(ClassDef* cls, bool isPublic, bool isDefault) {
    if (scope_->proc || (!topLevel_ && !cls) || singleLineIf_ || withDepth_ || loopDepth_[0] ||
        loopDepth_[1]) {
        Fail(kErrExpectedStatement);
    }
    auto proc = std::make_unique<Procedure>();
    Procedure* p = proc.get();
    const ProcedureForm& form = ParseProcedureForm();
    p->kind = form.kind;
    const Token& nameAt = Cur();
    p->name = TakeName();
    p->owner = cls;
    p->isPublic = isPublic;
    p->isDefault = isDefault;
    Scope* saved = scope_;
    scope_ = NewScope(p, cls);
    ParseParams(p);
    if (form.returns) {
        p->resultSlot = p->LocalCount();
        p->localNames.push_back({});  // not reachable by name: see Resolve
        p->localConst.push_back(false);
    }
    if (form.takesValue && p->params.empty()) Fail(kErrPropertyNeedsArg);
    EndStatement();
    const bool savedTop = topLevel_;
    topLevel_ = false;
    ParseBlock(&p->body, {Kw::kEnd});
    topLevel_ = savedTop;
    ExpectEnd(form.end, form.endError);
    scope_ = saved;
    if (cls) {
        AddClassMember(cls, p, nameAt);
    } else if (!declared_.insert(text::LowerCase(p->name)).second) {
        FailAt(kErrNameRedefined, nameAt);
    }
    unit_->procedures.push_back(std::move(proc));
}

// Sub, Function, or Property and Get, Let or Set.
const ProcedureForm& Parser::ParseProcedureForm() {
    const Kw keyword = Cur().keyword;
    if (keyword == Kw::kSub || keyword == Kw::kFunction) {
        Advance();
    } else {
        ExpectKw(Kw::kProperty, kErrExpectedProperty);
    }
    const Kw accessor = keyword == Kw::kProperty ? Cur().keyword : Kw::kNone;
    for (const ProcedureForm& form : kProcedureForms) {
        if (form.keyword != keyword || form.accessor != accessor) continue;
        if (accessor != Kw::kNone) Advance();
        return form;
    }
    Fail(kErrExpectedLetSetGet);
}

// (ByVal a, ByRef b, c()): a parameter is ByRef unless it says ByVal.
void Parser::ParseParams(Procedure* p) {
    if (!Accept(Tok::kLParen) || Accept(Tok::kRParen)) return;
    do {
        Param param;
        if (AcceptKw(Kw::kByVal)) {
            param.byRef = false;
        } else {
            AcceptKw(Kw::kByRef);
        }
        Declare(TakeName(), false);
        if (Accept(Tok::kLParen)) Expect(Tok::kRParen, kErrExpectedRParen);
        p->params.push_back(std::move(param));
    } while (Accept(Tok::kComma));
    Expect(Tok::kRParen, kErrExpectedRParen);
}

void Parser::AddClassMember(ClassDef* cls, Procedure* p, const Token& nameAt) {
    const std::string lname = text::LowerCase(p->name);
    if (lname == "class_initialize" || lname == "class_terminate") {
        if (!p->params.empty()) FailAt(kErrInitTermArgs, nameAt);
        (lname == "class_initialize" ? cls->initialize : cls->terminate) = p;
    }
    int index = cls->Find(lname);
    if (index < 0) {
        index = static_cast<int>(cls->members.size());
        cls->members.emplace_back();
        cls->members.back().name = p->name;
        cls->index[lname] = index;
    }
    ClassMember& m = cls->members[index];
    Procedure** place = nullptr;
    switch (p->kind) {
        case Procedure::Kind::kSub:
        case Procedure::Kind::kFunction:
            place = &m.method;
            break;
        case Procedure::Kind::kPropertyGet:
            place = &m.get;
            break;
        case Procedure::Kind::kPropertyLet:
            place = &m.let;
            break;
        case Procedure::Kind::kPropertySet:
            place = &m.set;
            break;
    }
    const bool clash = *place || m.field >= 0 ||
                       (p->kind == Procedure::Kind::kSub || p->kind == Procedure::Kind::kFunction
                            ? (m.get || m.let || m.set)
                            : m.method != nullptr);
    if (clash) FailAt(kErrNameRedefined, nameAt);
    *place = p;
    m.isPublic = p->isPublic;
    if (p->isDefault) {
        if (cls->defaultMember >= 0) FailAt(kErrMultipleDefault, nameAt);
        cls->defaultMember = index;
    }
}

void Parser::ParseClass(Block*) {
    if (scope_->proc || !topLevel_) Fail(kErrExpectedStatement);
    Advance();
    auto def = std::make_unique<ClassDef>();
    ClassDef* cls = def.get();
    cls->name = TakeName();
    if (!declared_.insert(text::LowerCase(cls->name)).second) FailAt(kErrNameRedefined, Previous());
    EndStatement();
    while (true) {
        if (Accept(Tok::kNewline) || Accept(Tok::kColon)) continue;
        if (IsKw(Kw::kEnd)) break;
        if (Cur().kind == Tok::kEnd) Fail(kErrExpectedEnd);
        ParseClassMember(cls);
        EndStatement();
    }
    ExpectEnd(Kw::kClass, kErrExpectedClass);
    unit_->classes.push_back(std::move(def));
}

// One declaration in a class: Public (maybe Default) or Private, then a
// Sub, Function, Property, or fields; Dim declares public fields.
void Parser::ParseClassMember(ClassDef* cls) {
    const bool hasVisibility = IsKw(Kw::kPublic) || IsKw(Kw::kPrivate);
    const bool isPublic = !IsKw(Kw::kPrivate);
    bool isDefault = false;
    if (hasVisibility) {
        Advance();
        if (AcceptKw(Kw::kDefault)) {
            if (!isPublic) Fail(kErrDefaultNeedsPublic);
            isDefault = true;
        }
    }
    if (IsKw(Kw::kSub) || IsKw(Kw::kFunction) || IsKw(Kw::kProperty)) {
        const Token& procedureAt = Cur();
        ParseProcedure(cls, isPublic, isDefault);
        if (isDefault && procedureAt.keyword == Kw::kProperty &&
            unit_->procedures.back()->kind != Procedure::Kind::kPropertyGet) {
            FailAt(kErrDefaultOnlyGet, procedureAt);
        }
        return;
    }
    if (!hasVisibility && !IsKw(Kw::kDim)) Fail(kErrExpectedStatement);
    if (isDefault) Fail(kErrExpectedProperty);
    AcceptKw(Kw::kDim);
    ParseFields(cls, isPublic);
}

void Parser::ParseFields(ClassDef* cls, bool isPublic) {
    do {
        const std::string shown = TakeName();
        const std::string lname = text::LowerCase(shown);
        if (cls->Find(lname) >= 0) FailAt(kErrNameRedefined, Previous());
        ClassMember m;
        m.name = shown;
        m.isPublic = isPublic;
        m.field = cls->fieldCount++;
        if (Accept(Tok::kLParen)) {
            m.isArray = true;
            if (!Accept(Tok::kRParen)) {
                do {
                    if (Cur().kind != Tok::kNumber) Fail(kErrExpectedInteger);
                    m.upper.push_back(ToLong(Cur().value));
                    Advance();
                } while (Accept(Tok::kComma));
                Expect(Tok::kRParen, kErrExpectedRParen);
            }
        }
        cls->index[lname] = static_cast<int>(cls->members.size());
        cls->members.push_back(std::move(m));
    } while (Accept(Tok::kComma));
}

}  // namespace script
