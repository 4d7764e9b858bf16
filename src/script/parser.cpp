#include "script/parser.h"

#include <array>
#include <span>
#include <type_traits>
#include <unordered_map>
#include <unordered_set>

#include "script/builtins.h"
#include "script/convert.h"
#include "script/lexer.h"
#include "script/nodes.h"

namespace script {
namespace {

[[noreturn]] void ThrowCompileError(int number, int line, int column) {
    ScriptError e{number, ErrorText(number), {}};
    e.PlaceAt(line, column);
    e.compilation = true;
    throw e;
}

// An infix operator: a symbol, or a keyword (token kIdent).
struct Operator {
    Tok token;
    Kw keyword;
    BinaryOp op;
};

constexpr Operator kImp[] = {{Tok::kIdent, Kw::kImp, BinaryOp::kImp}};
constexpr Operator kEqv[] = {{Tok::kIdent, Kw::kEqv, BinaryOp::kEqv}};
constexpr Operator kXor[] = {{Tok::kIdent, Kw::kXor, BinaryOp::kXor}};
constexpr Operator kOr[] = {{Tok::kIdent, Kw::kOr, BinaryOp::kOr}};
constexpr Operator kAnd[] = {{Tok::kIdent, Kw::kAnd, BinaryOp::kAnd}};
constexpr Operator kComparisons[] = {
    {Tok::kEq, Kw::kNone, BinaryOp::kEq},  {Tok::kNe, Kw::kNone, BinaryOp::kNe},
    {Tok::kLt, Kw::kNone, BinaryOp::kLt},  {Tok::kGt, Kw::kNone, BinaryOp::kGt},
    {Tok::kLe, Kw::kNone, BinaryOp::kLe},  {Tok::kGe, Kw::kNone, BinaryOp::kGe},
    {Tok::kIdent, Kw::kIs, BinaryOp::kIs},
};
constexpr Operator kConcat[] = {{Tok::kAmp, Kw::kNone, BinaryOp::kConcat}};
constexpr Operator kAdditive[] = {{Tok::kPlus, Kw::kNone, BinaryOp::kAdd},
                                  {Tok::kMinus, Kw::kNone, BinaryOp::kSub}};
constexpr Operator kMod[] = {{Tok::kIdent, Kw::kMod, BinaryOp::kMod}};
constexpr Operator kIntDiv[] = {{Tok::kBackslash, Kw::kNone, BinaryOp::kIntDiv}};
constexpr Operator kMultiplicative[] = {{Tok::kStar, Kw::kNone, BinaryOp::kMul},
                                        {Tok::kSlash, Kw::kNone, BinaryOp::kDiv}};
constexpr Operator kPower[] = {{Tok::kCaret, Kw::kNone, BinaryOp::kPow}};

// One level of VBScript's operator precedence.
struct Rung {
    enum class Kind {
        kInfix,        // left-associative binary operators; comparisons chain too
        kSignedRight,  // the same, with a sign allowed on the right operand
        kPrefix,       // Not, or the signs: see ParseOperand
    };
    Kind kind;
    std::span<const Operator> operators;
};

// Loosest first. Not binds looser than the comparisons (Not a = b is
// Not (a = b)); unary minus looser than ^ (-2^2 is -4).
constexpr Rung kRungs[] = {
    {Rung::Kind::kInfix, kImp},             // Imp
    {Rung::Kind::kInfix, kEqv},             // Eqv
    {Rung::Kind::kInfix, kXor},             // Xor
    {Rung::Kind::kInfix, kOr},              // Or
    {Rung::Kind::kInfix, kAnd},             // And
    {Rung::Kind::kPrefix, {}},              // Not
    {Rung::Kind::kInfix, kComparisons},     // = <> < > <= >= Is
    {Rung::Kind::kInfix, kConcat},          // &
    {Rung::Kind::kInfix, kAdditive},        // + -
    {Rung::Kind::kInfix, kMod},             // Mod
    {Rung::Kind::kInfix, kIntDiv},          // \ (whole division)
    {Rung::Kind::kInfix, kMultiplicative},  // * /
    {Rung::Kind::kPrefix, {}},              // unary - +
    {Rung::Kind::kSignedRight, kPower},     // ^
};
constexpr size_t kNotRung = 5;
constexpr size_t kSignRung = 12;
static_assert(kRungs[kNotRung].kind == Rung::Kind::kPrefix);
static_assert(kRungs[kSignRung].kind == Rung::Kind::kPrefix);

// kRungs turned around, for the parser's question after every operand: is
// this token an infix operator, and of which rung? Indexed by the token kind,
// or for keyword operators by the keyword.
struct Infix {
    const Operator* op = nullptr;
    size_t rung = 0;
};

using InfixIndex = std::array<Infix, 64>;  // more than there are tokens or keywords

constexpr InfixIndex MakeInfixIndex(bool keywords) {
    InfixIndex index{};
    for (size_t rung = 0; rung < std::size(kRungs); ++rung) {
        for (const Operator& op : kRungs[rung].operators) {
            if ((op.token == Tok::kIdent) != keywords) continue;
            const size_t at =
                keywords ? static_cast<size_t>(op.keyword) : static_cast<size_t>(op.token);
            index[at] = {&op, rung};
        }
    }
    return index;
}
constexpr InfixIndex kInfixTokens = MakeInfixIndex(false);
constexpr InfixIndex kInfixKeywords = MakeInfixIndex(true);

// The names one procedure (or the global level) declares, and the names its
// code refers to, bound once the whole text has been read.
struct Scope {
    Procedure* proc = nullptr;
    ClassDef* cls = nullptr;
    const CompileScope* outer = nullptr;  // for Eval/Execute inside running code
    std::unordered_map<std::string, int> locals;
    // Slots for names this procedure uses without declaring: used only when
    // no global of the name exists at run time.
    std::unordered_map<std::string, int> implicit;
    std::vector<NameRef*> refs;
};

class Parser {
  public:
    Parser(Runtime& rt, std::vector<Token> tokens, CompileScope outer)
        : rt_(rt), t_(std::move(tokens)), outer_(outer), unit_(std::make_shared<Unit>()) {}

    std::shared_ptr<Unit> Expression() {
        Scope* global = NewScope(nullptr, nullptr);
        global->outer = &outer_;
        scope_ = global;
        unit_->exprLine = Cur().line;
        unit_->exprColumn = Cur().column;
        unit_->expr = ParseExpr();
        if (Cur().kind != Tok::kEnd) Fail(kErrExpectedEndOfStatement);
        Resolve();
        return unit_;
    }

    std::shared_ptr<Unit> Statements() {
        Scope* global = NewScope(nullptr, nullptr);
        global->outer = &outer_;
        scope_ = global;
        topLevel_ = true;
        ParseBlock(&unit_->body, {});
        if (Cur().kind != Tok::kEnd) Unexpected();
        Resolve();
        return unit_;
    }

    // The token the parser stands on: where a fault it finds is reported.
    const Token& Cur() const { return t_[pos_]; }
    const Token& Previous() const { return t_[pos_ > 0 ? pos_ - 1 : 0]; }

  private:
    // ---- tokens ----
    const Token& PeekTok(size_t ahead = 1) const {
        return t_[std::min(pos_ + ahead, t_.size() - 1)];
    }
    void Advance() {
        if (pos_ + 1 < t_.size()) ++pos_;
    }
    bool IsKw(Kw k) const { return Cur().kind == Tok::kIdent && Cur().keyword == k; }
    bool AcceptKw(Kw k) {
        if (!IsKw(k)) return false;
        Advance();
        return true;
    }
    bool Accept(Tok k) {
        if (Cur().kind != k) return false;
        Advance();
        return true;
    }
    void Expect(Tok k, int err) {
        if (!Accept(k)) Fail(err);
    }
    void ExpectKw(Kw k, int err) {
        if (!AcceptKw(k)) Fail(err);
    }
    [[noreturn]] void Fail(int number) { Throw(number); }
    // For a fault found after the parser has moved on from its token.
    [[noreturn]] void FailAt(int number, const Token& at) {
        ThrowCompileError(number, at.line, at.column);
    }

    bool AtStatementEnd() const {
        const Tok k = Cur().kind;
        return k == Tok::kNewline || k == Tok::kColon || k == Tok::kEnd ||
               (singleLineIf_ > 0 && IsKw(Kw::kElse));
    }
    void EndStatement() {
        if (!AtStatementEnd()) Fail(kErrExpectedEndOfStatement);
    }
    // The text of a name that may be declared: not a reserved word.
    std::string TakeName() {
        if (Cur().kind != Tok::kIdent || IsReserved(Cur().keyword)) Fail(kErrExpectedIdent);
        std::string name = Cur().text;
        Advance();
        return name;
    }
    // Any word after '.', keywords included.
    std::string TakeMemberName() {
        if (Cur().kind != Tok::kIdent) Fail(kErrExpectedIdent);
        std::string name = Cur().text;
        Advance();
        return name;
    }

    template <typename T, typename... A>
    T* Make(A&&... args) {
        T* n = unit_->Make<T>(std::forward<A>(args)...);
        if constexpr (std::is_base_of_v<Stmt, T>) {
            n->line = statementStart_->line;
            n->column = statementStart_->column;
        }
        return n;
    }

    Scope* NewScope(Procedure* proc, ClassDef* cls) {
        scopes_.push_back(std::make_unique<Scope>());
        scopes_.back()->proc = proc;
        scopes_.back()->cls = cls;
        return scopes_.back().get();
    }

    void Track(NameRef* ref, std::string shown) {
        ref->shown = std::move(shown);
        ref->name = ToLower(ref->shown);
        scope_->refs.push_back(ref);
    }

    // ---- expressions ----
    const Expr* ParseExpr() { return ParseRungs(0); }

    // Parses operators of the given rung of kRungs and every tighter one, by
    // precedence climbing: recursion follows the text's nesting, not the
    // number of rungs.
    const Expr* ParseRungs(size_t lowest) {
        rt_.CheckStack();
        const Expr* e = ParseOperand(lowest);
        while (const Infix* infix = InfixAt()) {
            if (infix->rung < lowest) break;
            Advance();
            // Left associative: the right side holds only tighter operators.
            const Expr* right = kRungs[infix->rung].kind == Rung::Kind::kSignedRight
                                    ? ParseSignedOperand()
                                    : ParseRungs(infix->rung + 1);
            e = Make<BinaryExpr>(infix->op->op, e, right);
        }
        return e;
    }

    // An operand and the prefix operators before it. Not takes everything
    // from its rung on wherever it stands (1 + Not 0 = 1 is 1 + Not (0 = 1)).
    const Expr* ParseOperand(size_t lowest) {
        if (AcceptKw(Kw::kNot)) return Make<UnaryExpr>(UnaryOp::kNot, ParseRungs(kNotRung));
        if (lowest <= kSignRung) {
            if (Accept(Tok::kMinus)) {
                return Make<UnaryExpr>(UnaryOp::kNegate, ParseRungs(kSignRung));
            }
            if (Accept(Tok::kPlus)) return Make<UnaryExpr>(UnaryOp::kPlus, ParseRungs(kSignRung));
        }
        return ParsePrimary();
    }

    // The right side of ^ may carry its own sign: 2^-1.
    const Expr* ParseSignedOperand() {
        rt_.CheckStack();
        if (Accept(Tok::kMinus)) return Make<UnaryExpr>(UnaryOp::kNegate, ParseSignedOperand());
        if (Accept(Tok::kPlus)) return ParseSignedOperand();
        return ParseOperand(kSignRung + 1);
    }

    // The infix operator at the parser's token, and its rung; null if none.
    const Infix* InfixAt() const {
        const Token& t = Cur();
        const bool keyword = t.kind == Tok::kIdent;
        const size_t at = keyword ? static_cast<size_t>(t.keyword) : static_cast<size_t>(t.kind);
        const InfixIndex& index = keyword ? kInfixKeywords : kInfixTokens;
        return at < index.size() && index[at].op ? &index[at] : nullptr;
    }

    const Expr* ParsePrimary() {
        rt_.CheckStack();
        const Token& t = Cur();
        switch (t.kind) {
            case Tok::kNumber:
            case Tok::kDate: {
                const Expr* e = Make<Literal>(t.value);
                Advance();
                return e;
            }
            case Tok::kString: {
                const Expr* e = Make<Literal>(Value::String(t.text));
                Advance();
                return e;
            }
            case Tok::kLParen: {
                Advance();
                const Expr* e = ParseExpr();
                Expect(Tok::kRParen, kErrExpectedRParen);
                if (dynamic_cast<const Target*>(e)) e = Make<ParenExpr>(e);
                return ParsePostfix(e, nullptr);
            }
            case Tok::kWithDot:
            case Tok::kDot:
                return ParseWithMember(nullptr);
            case Tok::kIdent:
                break;
            default:
                Fail(kErrExpectedExpression);
        }
        switch (t.keyword) {
            case Kw::kTrue:
                Advance();
                return Make<Literal>(Value::Boolean(true));
            case Kw::kFalse:
                Advance();
                return Make<Literal>(Value::Boolean(false));
            case Kw::kEmpty:
                Advance();
                return Make<Literal>(Value());
            case Kw::kNull:
                Advance();
                return Make<Literal>(Value::Null());
            case Kw::kNothing:
                Advance();
                return Make<Literal>(Value::Object(nullptr));
            case Kw::kMe: {
                if (!scope_->cls && !(scope_->outer && scope_->outer->cls)) Fail(kErrInvalidMe);
                Advance();
                return ParsePostfix(Make<MeExpr>(), nullptr);
            }
            case Kw::kNew: {
                Advance();
                auto* n = Make<NewExpr>();
                Track(&n->ref, TakeName());
                return n;
            }
            default:
                if (IsReserved(t.keyword)) Fail(kErrExpectedExpression);
                return ParseNameChain(nullptr);
        }
    }

    // Where the last parenthesised argument list of a chain began, so that a
    // statement "f (1) + 2, 3" can be re-read with (1) + 2 as its first argument.
    struct ChainInfo {
        size_t lastParenPos = 0;
        const Expr* beforeLastParen = nullptr;
        bool endsWithParens = false;
    };

    std::vector<const Expr*> ParseArgList() {
        // At '(' already consumed; reads to ')'.
        std::vector<const Expr*> args;
        if (Accept(Tok::kRParen)) return args;
        while (true) {
            if (Cur().kind == Tok::kComma || Cur().kind == Tok::kRParen) {
                args.push_back(nullptr);
            } else {
                args.push_back(ParseExpr());
            }
            if (Accept(Tok::kComma)) continue;
            Expect(Tok::kRParen, kErrExpectedRParen);
            return args;
        }
    }

    const Expr* ParseNameChain(ChainInfo* info) {
        const std::string shown = TakeName();
        const Expr* e;
        if (Cur().kind == Tok::kLParen) {
            if (info) {
                info->lastParenPos = pos_;
                info->beforeLastParen = MakeName(shown);
            }
            Advance();
            auto* c = Make<CallExpr>();
            c->ref.hasArgs = true;
            Track(&c->ref, shown);
            c->args = ParseArgList();
            e = c;
            if (info) info->endsWithParens = true;
        } else {
            e = MakeName(shown);
        }
        return ParsePostfix(e, info);
    }

    const Expr* MakeName(const std::string& shown) {
        auto* n = Make<NameExpr>();
        Track(&n->ref, shown);
        return n;
    }

    const Expr* ParseWithMember(ChainInfo* info) {
        if (withDepth_ == 0) Fail(kErrInvalidReference);
        Advance();
        auto* m = Make<MemberExpr>();
        m->withDepth = withDepth_ - 1;
        m->shown = TakeMemberName();
        m->name = ToLower(m->shown);
        return ParseMemberArgs(m, info);
    }

    const Expr* ParseMemberArgs(MemberExpr* m, ChainInfo* info) {
        if (info) info->endsWithParens = false;
        if (Cur().kind == Tok::kLParen) {
            if (info) {
                info->lastParenPos = pos_;
                auto* bare = Make<MemberExpr>(*m);
                info->beforeLastParen = bare;
                info->endsWithParens = true;
            }
            Advance();
            m->args = ParseArgList();
        }
        return ParsePostfix(m, info);
    }

    const Expr* ParsePostfix(const Expr* e, ChainInfo* info) {
        while (true) {
            rt_.CheckStack();
            if (Cur().kind == Tok::kDot) {
                Advance();
                auto* m = Make<MemberExpr>();
                m->object = e;
                m->shown = TakeMemberName();
                m->name = ToLower(m->shown);
                if (info) info->endsWithParens = false;
                if (Cur().kind == Tok::kLParen) {
                    if (info) {
                        info->lastParenPos = pos_;
                        info->beforeLastParen = Make<MemberExpr>(*m);
                        info->endsWithParens = true;
                    }
                    Advance();
                    m->args = ParseArgList();
                }
                e = m;
            } else if (Cur().kind == Tok::kLParen && !Cur().spaceBefore) {
                if (info) {
                    info->lastParenPos = pos_;
                    info->beforeLastParen = e;
                    info->endsWithParens = true;
                }
                Advance();
                auto* ix = Make<IndexExpr>();
                ix->base = e;
                ix->args = ParseArgList();
                e = ix;
            } else {
                return e;
            }
        }
    }

    // ---- statements ----
    using Terminators = std::vector<Kw>;

    bool AtTerminator(const Terminators& ends) const {
        if (Cur().kind != Tok::kIdent) return false;
        for (Kw k : ends) {
            if (Cur().keyword == k) return true;
        }
        return false;
    }

    void ParseBlock(Block* out, const Terminators& ends) {
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

    void Unexpected() {
        switch (Cur().keyword) {
            case Kw::kLoop:
                Fail(kErrLoopWithoutDo);
            case Kw::kNext:
                Fail(kErrUnexpectedNext);
            default:
                Fail(kErrExpectedStatement);
        }
    }

    // Every statement made while parsing one starts where it starts; the
    // statements nested in it (a one-line If's) have their own starts.
    void ParseStatement(Block* out) {
        const Token* outer = statementStart_;
        statementStart_ = &Cur();
        ParseStatementKind(out);
        statementStart_ = outer;
    }

    void ParseStatementKind(Block* out) {
        const Token& t = Cur();
        if (t.kind == Tok::kWithDot || t.kind == Tok::kDot) {
            out->push_back(ParseCallOrAssign(false));
            return;
        }
        if (t.kind != Tok::kIdent) Fail(kErrExpectedStatement);
        switch (t.keyword) {
            case Kw::kDim:
                Advance();
                ParseDim(out);
                return;
            case Kw::kReDim:
                Advance();
                ParseReDim(out);
                return;
            case Kw::kErase: {
                Advance();
                auto* s = Make<EraseStmt>();
                s->target = AsTarget(ParseNameChain(nullptr));
                out->push_back(s);
                return;
            }
            case Kw::kConst:
                Advance();
                ParseConst(out);
                return;
            case Kw::kPublic:
            case Kw::kPrivate:
                ParseVisibility(out);
                return;
            case Kw::kIf:
                ParseIf(out);
                return;
            case Kw::kFor:
                ParseFor(out);
                return;
            case Kw::kDo:
                ParseDo(out);
                return;
            case Kw::kWhile:
                ParseWhile(out);
                return;
            case Kw::kSelect:
                ParseSelect(out);
                return;
            case Kw::kExit:
                ParseExit(out);
                return;
            case Kw::kSub:
            case Kw::kFunction:
                ParseProcedure(nullptr, true, false);
                return;
            case Kw::kClass:
                ParseClass();
                return;
            case Kw::kCall: {
                Advance();
                auto* s = Make<CallStmt>();
                s->call = Cur().kind == Tok::kWithDot ? ParseWithMember(nullptr)
                                                      : ParseNameChain(nullptr);
                out->push_back(s);
                return;
            }
            case Kw::kSet: {
                Advance();
                out->push_back(ParseCallOrAssign(true));
                return;
            }
            case Kw::kOn:
                ParseOnError(out);
                return;
            case Kw::kOption:
                Advance();
                if (!IsKw(Kw::kExplicit)) Fail(kErrExpectedIdent);
                Advance();
                unit_->optionExplicit = true;
                return;
            case Kw::kWith:
                ParseWith(out);
                return;
            case Kw::kLet:
                Advance();
                out->push_back(ParseCallOrAssign(false));
                return;
            case Kw::kProperty:
                Fail(kErrMustBeInClass);
            case Kw::kLoop:
                Fail(kErrLoopWithoutDo);
            case Kw::kNext:
                Fail(kErrUnexpectedNext);
            default:
                if (IsReserved(t.keyword)) Fail(kErrExpectedStatement);
                out->push_back(ParseCallOrAssign(false));
                return;
        }
    }

    const Target* AsTarget(const Expr* e) {
        auto* target = dynamic_cast<const Target*>(e);
        if (!target) Fail(kErrExpectedStatement);
        if (auto* name = dynamic_cast<const NameExpr*>(target))
            assigned_.emplace(&name->ref, statementStart_);
        return target;
    }

    const Stmt* ParseCallOrAssign(bool isSet) {
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
        std::vector<const Expr*> args;
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

    static size_t ParenArgCount(const Expr* e) {
        if (auto* c = dynamic_cast<const CallExpr*>(e)) return c->args.size();
        if (auto* m = dynamic_cast<const MemberExpr*>(e)) return m->args.size();
        if (auto* ix = dynamic_cast<const IndexExpr*>(e)) return ix->args.size();
        return 0;
    }

    // The callee of a statement call, given its arguments.
    const Expr* WithArgs(const Expr* callee, std::vector<const Expr*> args) {
        if (auto* n = dynamic_cast<const NameExpr*>(callee)) {
            auto* c = Make<CallExpr>();
            c->ref.hasArgs = true;
            Track(&c->ref, n->ref.shown);
            c->args = std::move(args);
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

    const Stmt* MakeAssign(const Target* target, const Expr* value, bool isSet) {
        // x = x & y & z appends in place: follow the & chain down its left.
        auto* name = dynamic_cast<const NameExpr*>(target);
        if (!isSet && name) {
            std::vector<const Expr*> parts;
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
        return s;
    }

    // Code that Execute runs inside a procedure, outside any Sub of its own:
    // what it declares belongs to the running call, not to the globals.
    bool InRunningProcedure() const { return !scope_->proc && outer_.proc && outer_.frame; }

    // Declares the name just taken in the current scope; a second
    // declaration is an error, reported at the name.
    void Declare(const std::string& shown, bool isConst) {
        const Token& at = Previous();
        const std::string lname = ToLower(shown);
        if (InRunningProcedure()) {
            const int local = LocalIn(outer_.proc, lname);
            const int made = outer_.frame->FindExecLocal(lname);
            if ((local >= 0 && local < outer_.proc->implicitFrom) ||
                (made >= 0 && (*outer_.frame->execLocals)[made].declared) ||
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

    void ParseDim(Block* out) {
        do {
            const std::string shown = TakeName();
            Declare(shown, false);
            if (Accept(Tok::kLParen)) {
                std::vector<const Expr*> bounds;
                if (!Accept(Tok::kRParen)) {
                    do {
                        bounds.push_back(ParseExpr());
                    } while (Accept(Tok::kComma));
                    Expect(Tok::kRParen, kErrExpectedRParen);
                }
                auto* s = Make<DimArrayStmt>();
                s->target = AsTarget(MakeName(shown));
                s->bounds = std::move(bounds);
                out->push_back(s);
            }
        } while (Accept(Tok::kComma));
    }

    void ParseReDim(Block* out) {
        const bool preserve = AcceptKw(Kw::kPreserve);
        do {
            const std::string shown = TakeName();
            Expect(Tok::kLParen, kErrExpectedLParen);
            std::vector<const Expr*> bounds;
            do {
                bounds.push_back(ParseExpr());
            } while (Accept(Tok::kComma));
            Expect(Tok::kRParen, kErrExpectedRParen);
            auto* s = Make<DimArrayStmt>();
            s->target = AsTarget(MakeName(shown));
            s->bounds = std::move(bounds);
            s->redim = true;
            s->preserve = preserve;
            out->push_back(s);
        } while (Accept(Tok::kComma));
    }

    void ParseConst(Block* out) {
        do {
            const std::string shown = TakeName();
            Declare(shown, true);
            Expect(Tok::kEq, kErrExpectedEqual);
            auto* s = Make<ConstStmt>();
            auto* n = static_cast<const NameExpr*>(MakeName(shown));
            s->target = n;
            s->value = ParseExpr();
            out->push_back(s);
            if (!scope_->proc && !InRunningProcedure()) constants_.insert(ToLower(shown));
        } while (Accept(Tok::kComma));
    }

    void ParseVisibility(Block* out) {
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

    void ParseIf(Block* out) {
        Advance();
        auto* s = Make<IfStmt>();
        s->conditions.push_back(ParseExpr());
        ExpectKw(Kw::kThen, kErrExpectedThen);
        s->blocks.emplace_back();
        if (!(Cur().kind == Tok::kNewline || Cur().kind == Tok::kEnd)) {
            ParseSingleLineIf(s);
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
        out->push_back(s);
    }

    void ExpectEnd(Kw what, int err) {
        if (!AcceptKw(Kw::kEnd)) Fail(kErrExpectedEnd);
        if (!AcceptKw(what)) Fail(err);
    }

    void ParseSingleLineIf(IfStmt* s) {
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

    void ParseLineStatements(Block* out) {
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

    void ParseFor(Block* out) {
        Advance();
        ++loopDepth_[1];
        if (AcceptKw(Kw::kEach)) {
            auto* s = Make<ForEachStmt>();
            s->var = AsTarget(MakeName(TakeName()));
            ExpectKw(Kw::kIn, kErrExpectedIn);
            s->group = ParseExpr();
            EndStatement();
            ParseBlock(&s->body, {Kw::kNext});
            ExpectKw(Kw::kNext, kErrExpectedNext);
            if (Cur().kind == Tok::kIdent && !IsReserved(Cur().keyword)) Advance();
            out->push_back(s);
        } else {
            auto* s = Make<ForStmt>();
            if (Cur().kind != Tok::kIdent || IsReserved(Cur().keyword)) Fail(kErrInvalidForVar);
            s->var = AsTarget(MakeName(TakeName()));
            Expect(Tok::kEq, kErrExpectedEqual);
            s->from = ParseExpr();
            ExpectKw(Kw::kTo, kErrExpectedTo);
            s->to = ParseExpr();
            if (AcceptKw(Kw::kStep)) s->step = ParseExpr();
            EndStatement();
            ParseBlock(&s->body, {Kw::kNext});
            ExpectKw(Kw::kNext, kErrExpectedNext);
            if (Cur().kind == Tok::kIdent && !IsReserved(Cur().keyword)) Advance();
            out->push_back(s);
        }
        --loopDepth_[1];
    }

    void ParseDo(Block* out) {
        Advance();
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

    void ParseWhile(Block* out) {
        Advance();
        auto* s = Make<DoStmt>();
        s->test = DoStmt::Test::kWhile;
        s->condition = ParseExpr();
        EndStatement();
        ParseBlock(&s->body, {Kw::kWend});
        ExpectKw(Kw::kWend, kErrExpectedWend);
        out->push_back(s);
    }

    void ParseSelect(Block* out) {
        Advance();
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
            std::vector<CaseItem> items;
            do {
                CaseItem item;
                if (AcceptKw(Kw::kIs)) {
                    item.kind = CaseItem::Kind::kIs;
                    switch (Cur().kind) {
                        case Tok::kEq:
                            item.op = CompareOp::kEq;
                            break;
                        case Tok::kNe:
                            item.op = CompareOp::kNe;
                            break;
                        case Tok::kLt:
                            item.op = CompareOp::kLt;
                            break;
                        case Tok::kGt:
                            item.op = CompareOp::kGt;
                            break;
                        case Tok::kLe:
                            item.op = CompareOp::kLe;
                            break;
                        case Tok::kGe:
                            item.op = CompareOp::kGe;
                            break;
                        default:
                            Fail(kErrSyntax);
                    }
                    Advance();
                    item.a = ParseExpr();
                } else {
                    item.a = ParseExpr();
                    if (AcceptKw(Kw::kTo)) {
                        item.kind = CaseItem::Kind::kRange;
                        item.b = ParseExpr();
                    }
                }
                items.push_back(item);
            } while (Accept(Tok::kComma));
            s->cases.push_back(std::move(items));
            s->blocks.emplace_back();
            ParseBlock(&s->blocks.back(), {Kw::kCase, Kw::kEnd});
        }
        ExpectEnd(Kw::kSelect, kErrExpectedSelect);
        out->push_back(s);
    }

    void ParseExit(Block* out) {
        Advance();
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

    void ParseOnError(Block* out) {
        Advance();
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

    void ParseWith(Block* out) {
        Advance();
        auto* s = Make<WithStmt>();
        s->object = ParseExpr();
        EndStatement();
        ++withDepth_;
        ParseBlock(&s->body, {Kw::kEnd});
        --withDepth_;
        ExpectEnd(Kw::kWith, kErrExpectedWith);
        out->push_back(s);
    }

    // ---- procedures and classes ----
    void ParseProcedure(ClassDef* cls, bool isPublic, bool isDefault) {
        if (scope_->proc || (!topLevel_ && !cls)) Fail(kErrExpectedStatement);
        if (singleLineIf_ || withDepth_ || loopDepth_[0] || loopDepth_[1]) {
            Fail(kErrExpectedStatement);
        }
        auto proc = std::make_unique<Procedure>();
        Procedure* p = proc.get();
        Kw endKw;
        int endErr;
        if (AcceptKw(Kw::kSub)) {
            p->kind = Procedure::Kind::kSub;
            endKw = Kw::kSub;
            endErr = kErrExpectedSub;
        } else if (AcceptKw(Kw::kFunction)) {
            p->kind = Procedure::Kind::kFunction;
            endKw = Kw::kFunction;
            endErr = kErrExpectedFunction;
        } else {
            ExpectKw(Kw::kProperty, kErrExpectedProperty);
            if (AcceptKw(Kw::kGet)) {
                p->kind = Procedure::Kind::kPropertyGet;
            } else if (AcceptKw(Kw::kLet)) {
                p->kind = Procedure::Kind::kPropertyLet;
            } else if (AcceptKw(Kw::kSet)) {
                p->kind = Procedure::Kind::kPropertySet;
            } else {
                Fail(kErrExpectedLetSetGet);
            }
            endKw = Kw::kProperty;
            endErr = kErrExpectedProperty;
        }
        const Token& nameAt = Cur();
        p->name = TakeName();
        p->owner = cls;
        p->isPublic = isPublic;
        p->isDefault = isDefault;
        Scope* saved = scope_;
        scope_ = NewScope(p, cls);
        if (Accept(Tok::kLParen)) {
            if (!Accept(Tok::kRParen)) {
                do {
                    Param param;
                    if (AcceptKw(Kw::kByVal)) {
                        param.byRef = false;
                    } else {
                        AcceptKw(Kw::kByRef);
                    }
                    param.name = TakeName();
                    Declare(param.name, false);
                    if (Accept(Tok::kLParen)) Expect(Tok::kRParen, kErrExpectedRParen);
                    p->params.push_back(std::move(param));
                } while (Accept(Tok::kComma));
                Expect(Tok::kRParen, kErrExpectedRParen);
            }
        }
        const bool returns =
            p->kind == Procedure::Kind::kFunction || p->kind == Procedure::Kind::kPropertyGet;
        if (returns) {
            p->resultSlot = p->LocalCount();
            p->localNames.push_back({});  // not reachable by name: see Resolve
            p->localConst.push_back(false);
        }
        if ((p->kind == Procedure::Kind::kPropertyLet ||
             p->kind == Procedure::Kind::kPropertySet) &&
            p->params.empty()) {
            Fail(kErrPropertyNeedsArg);
        }
        EndStatement();
        const bool savedTop = topLevel_;
        topLevel_ = false;
        ParseBlock(&p->body, {Kw::kEnd});
        topLevel_ = savedTop;
        ExpectEnd(endKw, endErr);
        scope_ = saved;
        if (cls) {
            AddClassMember(cls, p, nameAt);
        } else {
            const std::string lname = ToLower(p->name);
            if (!declared_.insert(lname).second) FailAt(kErrNameRedefined, nameAt);
        }
        unit_->procedures.push_back(std::move(proc));
    }

    void AddClassMember(ClassDef* cls, Procedure* p, const Token& nameAt) {
        const std::string lname = ToLower(p->name);
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
        const bool clash =
            *place || m.field >= 0 ||
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

    void ParseClass() {
        if (scope_->proc || !topLevel_) Fail(kErrExpectedStatement);
        Advance();
        auto def = std::make_unique<ClassDef>();
        ClassDef* cls = def.get();
        cls->name = TakeName();
        const std::string lname = ToLower(cls->name);
        if (!declared_.insert(lname).second) FailAt(kErrNameRedefined, Previous());
        EndStatement();
        while (true) {
            if (Accept(Tok::kNewline) || Accept(Tok::kColon)) continue;
            if (IsKw(Kw::kEnd)) break;
            if (Cur().kind == Tok::kEnd) Fail(kErrExpectedEnd);
            bool isPublic = true, isDefault = false, hasVisibility = false;
            if (IsKw(Kw::kPublic) || IsKw(Kw::kPrivate)) {
                isPublic = IsKw(Kw::kPublic);
                hasVisibility = true;
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
            } else if (IsKw(Kw::kDim) || hasVisibility) {
                if (isDefault) Fail(kErrExpectedProperty);
                AcceptKw(Kw::kDim);
                ParseFields(cls, isPublic);
            } else if (IsKw(Kw::kConst)) {
                Fail(kErrExpectedStatement);
            } else {
                Fail(kErrExpectedStatement);
            }
            EndStatement();
        }
        ExpectEnd(Kw::kClass, kErrExpectedClass);
        unit_->classes.push_back(std::move(def));
    }

    void ParseFields(ClassDef* cls, bool isPublic) {
        do {
            const std::string shown = TakeName();
            const std::string lname = ToLower(shown);
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

    // ---- binding names ----
    void Resolve() {
        // The text compiled: its declarations now join the running call.
        for (const auto& [name, isConst] : execDeclared_) {
            if (LocalIn(outer_.proc, name) >= 0) continue;
            const int made = outer_.frame->FindExecLocal(name);
            if (made < 0) {
                outer_.frame->AddExecLocal(name, isConst, true);
            } else {
                (*outer_.frame->execLocals)[made].isConst = isConst;
                (*outer_.frame->execLocals)[made].declared = true;
            }
        }
        for (auto& scope : scopes_) {
            if (scope->proc) scope->proc->implicitFrom = scope->proc->LocalCount();
            for (NameRef* ref : scope->refs) Bind(*scope, ref);
        }
        unit_->declaredNames.assign(declared_.begin(), declared_.end());
        for (const std::string& name : constants_) unit_->constantNames.push_back(name);
    }

    // Binds a name to a variable Execute made in the running call; with
    // create, makes it when there is none yet.
    bool BindExecLocal(const Scope& scope, NameRef* ref, bool create) {
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
        ref->isConst = (*frame.execLocals)[local].isConst;
        return true;
    }

    bool IsClass(const std::string& lname) const {
        for (const auto& c : unit_->classes) {
            if (EqualsNoCase(c->name, lname)) return true;
        }
        const int slot = rt_.FindGlobal(lname);
        return slot >= 0 && rt_.globals[slot].cls;
    }

    bool UserGlobal(const std::string& lname) const {
        if (declared_.count(lname)) return true;
        const int slot = rt_.FindGlobal(lname);
        return slot >= 0 && (rt_.globals[slot].declared || rt_.globals[slot].exists);
    }

    int LocalIn(const Procedure* p, const std::string& lname) const {
        for (int i = 0; i < p->LocalCount(); ++i) {
            if (p->localNames[i] == lname) return i;
        }
        return -1;
    }

    void Bind(Scope& scope, NameRef* ref) {
        const std::string& lname = ref->name;
        Procedure* proc = scope.proc;
        const Procedure* runningProc = proc ? proc : scope.outer ? scope.outer->proc : nullptr;
        const ClassDef* cls = scope.cls ? scope.cls : scope.outer ? scope.outer->cls : nullptr;
        if (runningProc) {
            if (proc) {
                auto it = scope.locals.find(lname);
                if (it != scope.locals.end()) {
                    ref->kind = NameRef::Kind::kLocal;
                    ref->local = it->second;
                    ref->isConst = proc->localConst[it->second];
                    return;
                }
            } else {
                const int local = LocalIn(runningProc, lname);
                if (local >= 0) {
                    ref->kind = local < runningProc->implicitFrom ? NameRef::Kind::kLocal
                                                                  : NameRef::Kind::kDynamic;
                    ref->local = local;
                    ref->slot = rt_.GlobalSlotFor(lname, ref->shown);
                    return;
                }
            }
            if (runningProc->resultSlot >= 0 && !ref->hasArgs &&
                EqualsNoCase(runningProc->name, ref->shown)) {
                ref->kind = NameRef::Kind::kLocal;
                ref->local = runningProc->resultSlot;
                return;
            }
            if (!proc && BindExecLocal(scope, ref, false)) return;
        }
        if (cls) {
            const int member = cls->Find(lname);
            if (member >= 0) {
                const ClassMember& m = cls->members[member];
                ref->member = member;
                if (m.field >= 0) {
                    ref->kind = NameRef::Kind::kField;
                    ref->local = m.field;
                } else {
                    ref->kind = NameRef::Kind::kMember;
                }
                return;
            }
        }
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
        if (!proc && !user && !ref->hasArgs && BindExecLocal(scope, ref, true)) return;
        ref->slot = rt_.GlobalSlotFor(lname, ref->shown);
        if (proc && !user) {
            // Unknown here: a global if one exists by the time it runs, else a
            // variable of this call.
            auto it = scope.implicit.find(lname);
            int local;
            if (it == scope.implicit.end()) {
                local = proc->LocalCount();
                scope.implicit[lname] = local;
                proc->localNames.push_back(lname);
                proc->localConst.push_back(false);
            } else {
                local = it->second;
            }
            ref->kind = NameRef::Kind::kDynamic;
            ref->local = local;
            return;
        }
        ref->kind = NameRef::Kind::kGlobal;
        ref->isConst = constants_.count(lname) > 0;
    }

    Runtime& rt_;
    std::vector<Token> t_;
    size_t pos_ = 0;
    CompileScope outer_;
    std::shared_ptr<Unit> unit_;
    std::vector<std::unique_ptr<Scope>> scopes_;
    Scope* scope_ = nullptr;
    std::unordered_set<std::string> declared_;   // global names this text declares
    std::unordered_set<std::string> constants_;  // ... of which constants
    // Names declared by code that Execute runs inside a procedure, and
    // whether each is a constant.
    std::unordered_map<std::string, bool> execDeclared_;
    // Names assigned to (x = ..., For x), with the statements' starts.
    std::unordered_map<const NameRef*, const Token*> assigned_;
    const Token* statementStart_ = nullptr;
    bool topLevel_ = false;
    int singleLineIf_ = 0;
    int withDepth_ = 0;
    int loopDepth_[2] = {0, 0};  // Do, For
};

// Every failure out of the compiler is a compilation error, placed where
// the lexer or the parser found it.
std::shared_ptr<Unit> Compile(Runtime& rt, std::string_view text, CompileScope scope,
                              std::shared_ptr<Unit> (Parser::*parse)()) {
    LexResult lexed = Lex(text);
    if (lexed.errorNumber) {
        ThrowCompileError(lexed.errorNumber, lexed.errorLine, lexed.errorColumn);
    }
    Parser parser(rt, std::move(lexed.tokens), scope);
    try {
        return (parser.*parse)();
    } catch (ScriptError& e) {
        e.PlaceAt(parser.Cur().line, parser.Cur().column);
        e.compilation = true;
        throw;
    }
}

}  // namespace

std::shared_ptr<Unit> CompileExpression(Runtime& rt, std::string_view text, CompileScope scope) {
    return Compile(rt, text, scope, &Parser::Expression);
}

std::shared_ptr<Unit> CompileStatements(Runtime& rt, std::string_view text, CompileScope scope) {
    return Compile(rt, text, scope, &Parser::Statements);
}

}  // namespace script
