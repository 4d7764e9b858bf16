// Expressions: operators by precedence, operands, names and their chains of
// members, indexes and argument lists.
#include <array>
#include <span>

#include "script/parser_internal.h"
#include "text/case_fold.h"

namespace script {
namespace {

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

// The infix operator at a token, and its rung; null if none.
const Infix* InfixAt(const Token& t) {
    const bool keyword = t.kind == Tok::kIdent;
    const size_t at = keyword ? static_cast<size_t>(t.keyword) : static_cast<size_t>(t.kind);
    const InfixIndex& index = keyword ? kInfixKeywords : kInfixTokens;
    return at < index.size() && index[at].op ? &index[at] : nullptr;
}

// The value a literal keyword stands for; false for other words.
bool LiteralKeyword(Kw keyword, Value* value) {
    switch (keyword) {
        case Kw::kTrue:
            *value = Value::Boolean(true);
            return true;
        case Kw::kFalse:
            *value = Value::Boolean(false);
            return true;
        case Kw::kEmpty:
            *value = Value();
            return true;
        case Kw::kNull:
            *value = Value::Null();
            return true;
        case Kw::kNothing:
            *value = Value::Object(nullptr);
            return true;
        default:
            return false;
    }
}

}  // namespace

// Parses operators of the given rung of kRungs and every tighter one, by
// precedence climbing: recursion follows the text's nesting, not the number
// of rungs.
const Expr* Parser::ParseRungs(size_t lowest) {
    rt_.CheckStack();
    const Expr* e = ParseOperand(lowest);
    while (const Infix* infix = InfixAt(Cur())) {
        if (infix->rung < lowest) break;
        Advance();
        // Left associative: the right side holds only tighter operators.
        const Expr* right = kRungs[infix->rung].kind == Rung::Kind::kSignedRight
                                ? ParseSignedOperand()
                                : ParseRungs(infix->rung + 1);
        e = MakeBinaryExpr(*unit_, infix->op->op, e, right);
    }
    return e;
}

// An operand and the prefix operators before it. Not takes everything from
// its rung on wherever it stands (1 + Not 0 = 1 is 1 + Not (0 = 1)).
const Expr* Parser::ParseOperand(size_t lowest) {
    if (AcceptKw(Kw::kNot)) return Make<UnaryExpr>(UnaryOp::kNot, ParseRungs(kNotRung));
    if (lowest <= kSignRung) {
        if (Accept(Tok::kMinus)) return Make<UnaryExpr>(UnaryOp::kNegate, ParseRungs(kSignRung));
        if (Accept(Tok::kPlus)) return Make<UnaryExpr>(UnaryOp::kPlus, ParseRungs(kSignRung));
    }
    return ParsePrimary();
}

// The right side of ^ may carry its own sign: 2^-1.
const Expr* Parser::ParseSignedOperand() {
    rt_.CheckStack();
    if (Accept(Tok::kMinus)) return Make<UnaryExpr>(UnaryOp::kNegate, ParseSignedOperand());
    if (Accept(Tok::kPlus)) return ParseSignedOperand();
    return ParseOperand(kSignRung + 1);
}

const Expr* Parser::ParsePrimary() {
    rt_.CheckStack();
    const Token& t = Cur();
    switch (t.kind) {
        case Tok::kNumber:
        case Tok::kDate:
            Advance();
            return Make<Literal>(t.value);
        case Tok::kString:
            Advance();
            return Make<Literal>(Value::String(t.text));
        case Tok::kLParen:
            return ParseParenthesised();
        case Tok::kWithDot:
        case Tok::kDot:
            return ParseWithMember(nullptr);
        case Tok::kIdent:
            return ParseWord();
        default:
            Fail(kErrExpectedExpression);
    }
}

// (expr), then any members or indexes after it. A parenthesised variable
// is a value, so it passes ByVal.
const Expr* Parser::ParseParenthesised() {
    Advance();
    const Expr* e = ParseExpr();
    Expect(Tok::kRParen, kErrExpectedRParen);
    if (dynamic_cast<const Target*>(e)) e = Make<ParenExpr>(e);
    return ParsePostfix(e, nullptr);
}

// A word as an operand: a literal keyword, Me, New Class, or a name.
const Expr* Parser::ParseWord() {
    const Token& t = Cur();
    if (Value v; LiteralKeyword(t.keyword, &v)) {
        Advance();
        return Make<Literal>(std::move(v));
    }
    if (t.keyword == Kw::kMe) {
        if (!scope_->cls && !(scope_->outer && scope_->outer->cls)) Fail(kErrInvalidMe);
        Advance();
        return ParsePostfix(Make<MeExpr>(), nullptr);
    }
    if (t.keyword == Kw::kNew) {
        Advance();
        auto* n = Make<NewExpr>();
        Track(&n->ref, TakeName());
        return n;
    }
    if (IsReserved(t.keyword)) Fail(kErrExpectedExpression);
    return ParseNameChain(nullptr);
}

ExprList Parser::ParseArgList() {
    // At '(' already consumed; reads to ')'.
    ExprList args;
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

// A parenthesised list starts at the parser's token; before is the chain
// without it.
void Parser::NoteParens(ChainInfo* info, const Expr* before) {
    info->lastParenPos = pos_;
    info->beforeLastParen = before;
    info->endsWithParens = true;
}

const Expr* Parser::ParseNameChain(ChainInfo* info) {
    const std::string shown = TakeName();
    if (Cur().kind != Tok::kLParen) return ParsePostfix(MakeName(shown), info);
    if (info) NoteParens(info, MakeName(shown));
    Advance();
    auto* c = Make<CallExpr>();
    c->ref.hasArgs = true;
    Track(&c->ref, shown);
    c->TakeArgs(ParseArgList());
    // a(i) is read in place when i is a literal or a variable; not a(b(i)),
    // so that reading in place never recurses.
    if (c->args.size() == 1 && c->args[0] &&
        (c->args[0]->leaf == Leaf::kLiteral || c->args[0]->leaf == Leaf::kName)) {
        c->leaf = Leaf::kElement;
    }
    return ParsePostfix(c, info);
}

const Expr* Parser::MakeName(const std::string& shown) {
    auto* n = Make<NameExpr>();
    Track(&n->ref, shown);
    return n;
}

const Expr* Parser::ParseWithMember(ChainInfo* info) {
    if (withDepth_ == 0) Fail(kErrInvalidReference);
    Advance();
    auto* m = Make<MemberExpr>();
    m->withDepth = withDepth_ - 1;
    m->shown = TakeMemberName();
    m->name = text::LowerCase(m->shown);
    ParseMemberArgs(m, info);
    return ParsePostfix(m, info);
}

// A member's arguments, if it has any: a.b(1).
void Parser::ParseMemberArgs(MemberExpr* m, ChainInfo* info) {
    if (info) info->endsWithParens = false;
    if (Cur().kind != Tok::kLParen) return;
    if (info) NoteParens(info, Make<MemberExpr>(*m));
    Advance();
    m->args = ParseArgList();
}

// Members (.name) and indexes ((args) right after the text before) that
// follow an operand.
const Expr* Parser::ParsePostfix(const Expr* e, ChainInfo* info) {
    while (true) {
        rt_.CheckStack();
        if (Cur().kind == Tok::kDot) {
            Advance();
            auto* m = Make<MemberExpr>();
            m->object = e;
            m->shown = TakeMemberName();
            m->name = text::LowerCase(m->shown);
            ParseMemberArgs(m, info);
            e = m;
        } else if (Cur().kind == Tok::kLParen && !Cur().spaceBefore) {
            if (info) NoteParens(info, e);
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

}  // namespace script
