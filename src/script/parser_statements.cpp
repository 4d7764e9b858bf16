// Statements: blocks, the statement table, assignments and calls,
// declarations, branches and loops.
#include <algorithm>

#include "script/parser_internal.h"
#include "text/case_fold.h"

namespace script {
namespace {

// Keywords that cannot start a statement where they stand.
constexpr struct {
    Kw keyword;
    int error;
} kMisplaced[] = {
    {Kw::kProperty, kErrMustBeInClass},
    {Kw::kLoop, kErrLoopWithoutDo},
    {Kw::kNext, kErrUnexpectedNext},
};

// The comparisons of Case Is.
constexpr struct {
    Tok token;
    CompareOp op;
} kCaseComparisons[] = {
    {Tok::kEq, CompareOp::kEq}, {Tok::kNe, CompareOp::kNe}, {Tok::kLt, CompareOp::kLt},
    {Tok::kGt, CompareOp::kGt}, {Tok::kLe, CompareOp::kLe}, {Tok::kGe, CompareOp::kGe},
};

}  // namespace

bool Parser::AtTerminator(const Terminators& ends) const {
    if (Cur().kind != Tok::kIdent) return false;
    for (Kw k : ends) {
        if (Cur().keyword == k) return true;
    }
    return false;
}

void Parser::ParseBlock(Block* out, const Terminators& ends) {
    while (true) {
        rt_.CheckStack();
        if (Accept(Tok::kNewline) || Accept(Tok::kColon)) continue;
        if (Cur().kind == Tok::kEnd) return;
        if (AtTerminator(ends)) {
            // "End" closes a block only as End If/Sub/...; a bare End is an error.
            return;
        }
        ParseStatement(out);
        EndStatement();
    }
}

// Every statement made while parsing one starts where it starts; the
// statements nested in it (a one-line If's) have their own starts.
void Parser::ParseStatement(Block* out) {
    const Token* outer = statementStart_;
    statementStart_ = &Cur();
    ParseStatementKind(out);
    statementStart_ = outer;
}

void Parser::ParseStatementKind(Block* out) {
    // The statements a keyword starts; most handlers start after the keyword.
    static constexpr struct {
        Kw keyword;
        void (Parser::*parse)(Block* out);
        bool afterKeyword;
    } kStatements[] = {
        {Kw::kDim, &Parser::ParseDim, true},
        {Kw::kReDim, &Parser::ParseReDim, true},
        {Kw::kErase, &Parser::ParseErase, true},
        {Kw::kConst, &Parser::ParseConst, true},
        {Kw::kPublic, &Parser::ParseVisibility, false},
        {Kw::kPrivate, &Parser::ParseVisibility, false},
        {Kw::kIf, &Parser::ParseIf, true},
        {Kw::kFor, &Parser::ParseFor, true},
        {Kw::kDo, &Parser::ParseDo, true},
        {Kw::kWhile, &Parser::ParseWhile, true},
        {Kw::kSelect, &Parser::ParseSelect, true},
        {Kw::kExit, &Parser::ParseExit, true},
        {Kw::kSub, &Parser::ParseSubOrFunction, false},
        {Kw::kFunction, &Parser::ParseSubOrFunction, false},
        {Kw::kClass, &Parser::ParseClass, false},
        {Kw::kCall, &Parser::ParseCall, true},
        {Kw::kSet, &Parser::ParseSet, true},
        {Kw::kLet, &Parser::ParseLet, true},
        {Kw::kOn, &Parser::ParseOnError, true},
        {Kw::kOption, &Parser::ParseOption, true},
        {Kw::kWith, &Parser::ParseWith, true},
    };
    const Token& t = Cur();
    if (t.kind == Tok::kWithDot || t.kind == Tok::kDot) return ParseLet(out);
    if (t.kind != Tok::kIdent) Fail(kErrExpectedStatement);
    for (const auto& s : kStatements) {
        if (s.keyword != t.keyword) continue;
        if (s.afterKeyword) Advance();
        return (this->*s.parse)(out);
    }
    for (const auto& m : kMisplaced) {
        if (m.keyword == t.keyword) Fail(m.error);
    }
    if (IsReserved(t.keyword)) Fail(kErrExpectedStatement);
    ParseLet(out);
}

void Parser::ParseLineStatements(Block* out) {
    while (true) {
        if (Accept(Tok::kColon)) continue;
        if (Cur().kind == Tok::kNewline || Cur().kind == Tok::kEnd || IsKw(Kw::kElse)) return;
        if (IsKw(Kw::kEnd) && PeekTok().keyword == Kw::kIf) return;
        ParseStatement(out);
        if (!AtStatementEnd() && !(IsKw(Kw::kEnd) && PeekTok().keyword == Kw::kIf)) {
            Fail(kErrExpectedEndOfStatement);
        }
    }
}

const Target* Parser::AsTarget(const Expr* e) {
    auto* target = dynamic_cast<const Target*>(e);
    if (!target) Fail(kErrExpectedStatement);
    if (auto* name = dynamic_cast<const NameExpr*>(target)) {
        assigned_.emplace(&name->ref, statementStart_);
    }
    return target;
}

// An assignment or a call: what a statement without a keyword (or with Let)
// is.
void Parser::ParseLet(Block* out) {
    out->push_back(ParseCallOrAssign(false));
}

void Parser::ParseSet(Block* out) {
    out->push_back(ParseCallOrAssign(true));
}

void Parser::ParseCall(Block* out) {
    auto* s = Make<CallStmt>();
    s->call = Cur().kind == Tok::kWithDot ? ParseWithMember(nullptr) : ParseNameChain(nullptr);
    out->push_back(s);
}

const Stmt* Parser::ParseCallOrAssign(bool isSet) {
    ChainInfo info;
    const Expr* e = Cur().kind == Tok::kIdent ? ParseNameChain(&info) : ParseWithMember(&info);
    if (Cur().kind == Tok::kEq) {
        Advance();
        const Target* target = AsTarget(e);
        const Expr* value = ParseExpr();
        return MakeAssign(target, value, isSet);
    }
    if (isSet) Fail(kErrExpectedEqual);
    auto* s = Make<CallStmt>();
    if (AtStatementEnd()) {
        // f(x) as a statement passes (x), an expression: by value. More
        // than one argument in parentheses needs Call.
        const size_t argCount = ParenArgCount(e);
        if (!info.endsWithParens || argCount == 0) {
            s->call = e;
            return s;
        }
        if (argCount > 1) Fail(kErrParensOnSub);
    }
    // "name args": the arguments follow without parentheses; a trailing
    // parenthesised group belongs to the first argument.
    const Expr* callee = e;
    if (info.endsWithParens) {
        pos_ = info.lastParenPos;
        callee = info.beforeLastParen;
    }
    ExprList args;
    while (true) {
        if (Cur().kind == Tok::kComma) {
            args.push_back(nullptr);
        } else {
            args.push_back(ParseExpr());
        }
        if (!Accept(Tok::kComma)) break;
        if (AtStatementEnd()) args.push_back(nullptr);
    }
    s->call = WithArgs(callee, std::move(args));
    return s;
}

size_t Parser::ParenArgCount(const Expr* e) {
    if (auto* c = dynamic_cast<const CallExpr*>(e)) return c->args.size();
    if (auto* m = dynamic_cast<const MemberExpr*>(e)) return m->args.size();
    if (auto* ix = dynamic_cast<const IndexExpr*>(e)) return ix->args.size();
    return 0;
}

// The callee of a statement call, given its arguments.
const Expr* Parser::WithArgs(const Expr* callee, ExprList args) {
    if (auto* n = dynamic_cast<const NameExpr*>(callee)) {
        auto* c = Make<CallExpr>();
        c->ref.hasArgs = true;
        Track(&c->ref, n->ref.shown);
        c->TakeArgs(std::move(args));
        return c;
    }
    if (auto* m = dynamic_cast<const MemberExpr*>(callee)) {
        if (!m->args.empty()) Fail(kErrExpectedEndOfStatement);
        auto* copy = Make<MemberExpr>(*m);
        copy->args = std::move(args);
        return copy;
    }
    auto* ix = Make<IndexExpr>();
    ix->base = callee;
    ix->args = std::move(args);
    return ix;
}

const Stmt* Parser::MakeAssign(const Target* target, const Expr* value, bool isSet) {
    // x = x & y & z appends in place: follow the & chain down its left.
    auto* name = dynamic_cast<const NameExpr*>(target);
    if (!isSet && name) {
        ExprList parts;
        const Expr* left = value;
        while (auto* concat = dynamic_cast<const BinaryExpr*>(left)) {
            if (concat->op != BinaryOp::kConcat) break;
            parts.push_back(concat->right);
            left = concat->left;
        }
        auto* first = dynamic_cast<const NameExpr*>(left);
        if (!parts.empty() && first && first->ref.name == name->ref.name) {
            auto* s = Make<AppendStmt>();
            s->target = name;
            s->parts.assign(parts.rbegin(), parts.rend());
            return s;
        }
    }
    auto* s = Make<AssignStmt>();
    s->target = target;
    s->value = value;
    s->isSet = isSet;
    assigns_.push_back(s);
    return s;
}

void Parser::ParseErase(Block* out) {
    auto* s = Make<EraseStmt>();
    s->target = AsTarget(ParseNameChain(nullptr));
    out->push_back(s);
}

void Parser::ParseOption(Block*) {
    ExpectKw(Kw::kExplicit, kErrExpectedIdent);
    unit_->optionExplicit = true;
}

void Parser::ParseDim(Block* out) {
    do {
        const std::string shown = TakeName();
        Declare(shown, false);
        if (Accept(Tok::kLParen)) {
            auto* s = Make<DimArrayStmt>();
            if (!Accept(Tok::kRParen)) s->bounds = ParseBounds();
            s->target = AsTarget(MakeName(shown));
            out->push_back(s);
        }
    } while (Accept(Tok::kComma));
}

// Array bounds after '(', to the ')'.
ExprList Parser::ParseBounds() {
    ExprList bounds;
    do {
        bounds.push_back(ParseExpr());
    } while (Accept(Tok::kComma));
    Expect(Tok::kRParen, kErrExpectedRParen);
    return bounds;
}

void Parser::ParseReDim(Block* out) {
    const bool preserve = AcceptKw(Kw::kPreserve);
    do {
        const std::string shown = TakeName();
        Expect(Tok::kLParen, kErrExpectedLParen);
        auto* s = Make<DimArrayStmt>();
        s->bounds = ParseBounds();
        s->target = AsTarget(MakeName(shown));
        s->redim = true;
        s->preserve = preserve;
        out->push_back(s);
    } while (Accept(Tok::kComma));
}

void Parser::ParseConst(Block* out) {
    do {
        const std::string shown = TakeName();
        Declare(shown, true);
        Expect(Tok::kEq, kErrExpectedEqual);
        auto* s = Make<ConstStmt>();
        auto* n = static_cast<const NameExpr*>(MakeName(shown));
        s->target = n;
        s->value = ParseExpr();
        out->push_back(s);
        if (!scope_->proc && !InRunningProcedure()) constants_.insert(text::LowerCase(shown));
    } while (Accept(Tok::kComma));
}

void Parser::ParseVisibility(Block* out) {
    const bool isPublic = IsKw(Kw::kPublic);
    Advance();
    if (IsKw(Kw::kDefault)) {
        if (!isPublic) Fail(kErrDefaultNeedsPublic);
        Fail(kErrMustBeInClass);
    }
    if (IsKw(Kw::kSub) || IsKw(Kw::kFunction)) {
        if (scope_->proc) Fail(kErrExpectedStatement);
        ParseProcedure(nullptr, isPublic, false);
        return;
    }
    if (IsKw(Kw::kConst)) {
        Advance();
        ParseConst(out);
        return;
    }
    if (scope_->proc) Fail(kErrExpectedStatement);
    ParseDim(out);
}

void Parser::ParseIf(Block* out) {
    auto* s = Make<IfStmt>();
    s->conditions.push_back(ParseExpr());
    ExpectKw(Kw::kThen, kErrExpectedThen);
    s->blocks.emplace_back();
    if (!(Cur().kind == Tok::kNewline || Cur().kind == Tok::kEnd)) {
        ParseSingleLineIf(s);
        s->Settle();
        out->push_back(s);
        return;
    }
    ParseBlock(&s->blocks.back(), {Kw::kElseIf, Kw::kElse, Kw::kEnd});
    while (true) {
        if (AcceptKw(Kw::kElseIf)) {
            s->conditions.push_back(ParseExpr());
            ExpectKw(Kw::kThen, kErrExpectedThen);
            s->blocks.emplace_back();
            ParseBlock(&s->blocks.back(), {Kw::kElseIf, Kw::kElse, Kw::kEnd});
        } else if (AcceptKw(Kw::kElse)) {
            ParseBlock(&s->elseBlock, {Kw::kEnd});
            ExpectEnd(Kw::kIf, kErrExpectedIf);
            break;
        } else {
            ExpectEnd(Kw::kIf, kErrExpectedIf);
            break;
        }
    }
    s->Settle();
    out->push_back(s);
}

void Parser::ExpectEnd(Kw what, int err) {
    if (!AcceptKw(Kw::kEnd)) Fail(kErrExpectedEnd);
    if (!AcceptKw(what)) Fail(err);
}

void Parser::ParseSingleLineIf(IfStmt* s) {
    ++singleLineIf_;
    ParseLineStatements(&s->blocks.back());
    if (AcceptKw(Kw::kElse)) ParseLineStatements(&s->elseBlock);
    --singleLineIf_;
    // An optional End If may close a one-line If.
    if (IsKw(Kw::kEnd) && PeekTok().keyword == Kw::kIf) {
        Advance();
        Advance();
    }
}

void Parser::ParseFor(Block* out) {
    if (AcceptKw(Kw::kEach)) return ParseForEach(out);
    ++loopDepth_[1];
    auto* s = Make<ForStmt>();
    forLoops_.push_back(s);
    if (Cur().kind != Tok::kIdent || IsReserved(Cur().keyword)) Fail(kErrInvalidForVar);
    s->var = AsTarget(MakeName(TakeName()));
    Expect(Tok::kEq, kErrExpectedEqual);
    s->from = ParseExpr();
    ExpectKw(Kw::kTo, kErrExpectedTo);
    s->to = ParseExpr();
    if (AcceptKw(Kw::kStep)) s->step = ParseExpr();
    ParseForBody(&s->body);
    out->push_back(s);
    --loopDepth_[1];
}

void Parser::ParseForEach(Block* out) {
    ++loopDepth_[1];
    auto* s = Make<ForEachStmt>();
    s->var = AsTarget(MakeName(TakeName()));
    ExpectKw(Kw::kIn, kErrExpectedIn);
    s->group = ParseExpr();
    ParseForBody(&s->body);
    out->push_back(s);
    --loopDepth_[1];
}

// The rest of a For line, the body, and Next with the variable's name
// after it if it is given.
void Parser::ParseForBody(Block* body) {
    EndStatement();
    ParseBlock(body, {Kw::kNext});
    ExpectKw(Kw::kNext, kErrExpectedNext);
    if (Cur().kind == Tok::kIdent && !IsReserved(Cur().keyword)) Advance();
}

void Parser::ParseDo(Block* out) {
    ++loopDepth_[0];
    auto* s = Make<DoStmt>();
    if (IsKw(Kw::kWhile) || IsKw(Kw::kUntil)) {
        s->test = IsKw(Kw::kWhile) ? DoStmt::Test::kWhile : DoStmt::Test::kUntil;
        Advance();
        s->condition = ParseExpr();
    }
    if (!AtStatementEnd()) Fail(kErrExpectedWhileUntilEos);
    ParseBlock(&s->body, {Kw::kLoop});
    ExpectKw(Kw::kLoop, kErrExpectedLoop);
    if (IsKw(Kw::kWhile) || IsKw(Kw::kUntil)) {
        if (s->test != DoStmt::Test::kNone) Fail(kErrExpectedEndOfStatement);
        s->test = IsKw(Kw::kWhile) ? DoStmt::Test::kWhile : DoStmt::Test::kUntil;
        s->testFirst = false;
        Advance();
        s->condition = ParseExpr();
    }
    --loopDepth_[0];
    out->push_back(s);
}

void Parser::ParseWhile(Block* out) {
    auto* s = Make<DoStmt>();
    s->test = DoStmt::Test::kWhile;
    s->condition = ParseExpr();
    EndStatement();
    ParseBlock(&s->body, {Kw::kWend});
    ExpectKw(Kw::kWend, kErrExpectedWend);
    out->push_back(s);
}

void Parser::ParseSelect(Block* out) {
    ExpectKw(Kw::kCase, kErrExpectedCase);
    auto* s = Make<SelectStmt>();
    s->subject = ParseExpr();
    EndStatement();
    while (Accept(Tok::kNewline) || Accept(Tok::kColon)) {
    }
    while (AcceptKw(Kw::kCase)) {
        if (AcceptKw(Kw::kElse)) {
            s->hasElse = true;
            ParseBlock(&s->elseBlock, {Kw::kEnd});
            break;
        }
        CompiledList<CaseItem> items;
        do {
            items.push_back(ParseCaseItem());
        } while (Accept(Tok::kComma));
        s->cases.push_back(std::move(items));
        s->blocks.emplace_back();
        ParseBlock(&s->blocks.back(), {Kw::kCase, Kw::kEnd});
    }
    ExpectEnd(Kw::kSelect, kErrExpectedSelect);
    out->push_back(s);
}

// One test of a Case line: a value, a range (a To b) or Is and a comparison.
CaseItem Parser::ParseCaseItem() {
    CaseItem item;
    if (AcceptKw(Kw::kIs)) {
        item.kind = CaseItem::Kind::kIs;
        const auto* c = std::find_if(std::begin(kCaseComparisons), std::end(kCaseComparisons),
                                     [&](const auto& c) { return c.token == Cur().kind; });
        if (c == std::end(kCaseComparisons)) Fail(kErrSyntax);
        item.op = c->op;
        Advance();
        item.a = ParseExpr();
        return item;
    }
    item.a = ParseExpr();
    if (AcceptKw(Kw::kTo)) {
        item.kind = CaseItem::Kind::kRange;
        item.b = ParseExpr();
    }
    return item;
}

void Parser::ParseExit(Block* out) {
    Flow flow;
    if (AcceptKw(Kw::kDo)) {
        if (loopDepth_[0] == 0) FailAt(kErrInvalidExit, *statementStart_);
        flow = Flow::kExitDo;
    } else if (AcceptKw(Kw::kFor)) {
        if (loopDepth_[1] == 0) FailAt(kErrInvalidExit, *statementStart_);
        flow = Flow::kExitFor;
    } else if (IsKw(Kw::kSub) || IsKw(Kw::kFunction) || IsKw(Kw::kProperty)) {
        const Procedure* p = scope_->proc;
        const bool ok = p && ((IsKw(Kw::kSub) && p->kind == Procedure::Kind::kSub) ||
                              (IsKw(Kw::kFunction) && p->kind == Procedure::Kind::kFunction) ||
                              (IsKw(Kw::kProperty) && p->kind != Procedure::Kind::kSub &&
                               p->kind != Procedure::Kind::kFunction));
        if (!ok) FailAt(kErrInvalidExit, *statementStart_);
        Advance();
        flow = Flow::kExitProc;
    } else {
        FailAt(kErrInvalidExit, *statementStart_);
    }
    out->push_back(Make<ExitStmt>(flow));
}

void Parser::ParseOnError(Block* out) {
    if (!AcceptKw(Kw::kError)) Fail(kErrSyntax);
    auto* s = Make<OnErrorStmt>();
    if (AcceptKw(Kw::kResume)) {
        ExpectKw(Kw::kNext, kErrExpectedNext);
        s->resumeNext = true;
    } else if (AcceptKw(Kw::kGoTo)) {
        if (Cur().kind != Tok::kNumber || ToDouble(Cur().value) != 0) Fail(kErrSyntax);
        Advance();
    } else {
        Fail(kErrSyntax);
    }
    out->push_back(s);
}

void Parser::ParseWith(Block* out) {
    auto* s = Make<WithStmt>();
    s->object = ParseExpr();
    EndStatement();
    ++withDepth_;
    ParseBlock(&s->body, {Kw::kEnd});
    --withDepth_;
    ExpectEnd(Kw::kWith, kErrExpectedWith);
    out->push_back(s);
}

}  // namespace script
