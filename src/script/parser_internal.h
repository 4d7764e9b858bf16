// The parser's state and steps, shared by its files and by nothing else:
// parser.cpp (the entry points), parser_expressions.cpp,
// parser_statements.cpp, parser_procedures.cpp (Sub, Function, Property and
// Class) and parser_binding.cpp (declarations, and names bound to storage
// once the whole text is read).
#pragma once

#include <memory>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "script/convert.h"
#include "script/lexer.h"
#include "script/nodes.h"
#include "script/numeric_expr.h"
#include "script/parser.h"

namespace script {

[[noreturn]] void ThrowCompileError(int number, int line, int column);

struct ProcedureForm;

class Parser {
  public:
    Parser(Runtime& rt, std::vector<Token> tokens, CompileScope outer)
        : rt_(rt), t_(std::move(tokens)), outer_(outer), unit_(std::make_shared<Unit>()) {}

    std::shared_ptr<Unit> Expression();
    std::shared_ptr<Unit> Statements();

    // The token the parser stands on: where a fault it finds is reported.
    const Token& Cur() const { return t_[pos_]; }

  private:
    // The names one procedure (or the global level) declares, and the names
    // its code refers to, bound once the whole text has been read.
    struct Scope {
        Procedure* proc = nullptr;
        ClassDef* cls = nullptr;
        const CompileScope* outer = nullptr;  // for Eval/Execute inside running code
        std::unordered_map<std::string, int> locals;
        // Slots for names this procedure uses without declaring: used only
        // when no global of the name exists at run time.
        std::unordered_map<std::string, int> implicit;
        std::vector<NameRef*> refs;
    };

    // Where the last parenthesised argument list of a chain began, so that a
    // statement "f (1) + 2, 3" can be re-read with (1) + 2 as its first
    // argument.
    struct ChainInfo {
        size_t lastParenPos = 0;
        const Expr* beforeLastParen = nullptr;
        bool endsWithParens = false;
    };

    using Terminators = std::vector<Kw>;

    // ---- tokens ----
    const Token& Previous() const { return t_[pos_ > 0 ? pos_ - 1 : 0]; }
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
    std::string TakeName();
    std::string TakeMemberName();

    // Statements take the start of the statement being parsed.
    template <typename T, typename... A>
    T* Make(A&&... args) {
        T* n = unit_->Make<T>(std::forward<A>(args)...);
        if constexpr (std::is_base_of_v<Stmt, T>) {
            n->line = statementStart_->line;
            n->column = statementStart_->column;
        }
        return n;
    }

    // ---- expressions (parser_expressions.cpp) ----
    // A whole expression; arithmetic over numbers gets a program of its own
    // (numeric_expr.h), compiled once the names are bound.
    const Expr* ParseExpr() {
        const Expr* e = ParseRungs(0);
        if (!HasNumericShape(e)) return e;
        numeric_.push_back(Make<NumericExpr>(e));
        return numeric_.back();
    }
    const Expr* ParseRungs(size_t lowest);
    const Expr* ParseOperand(size_t lowest);
    const Expr* ParseSignedOperand();
    const Expr* ParsePrimary();
    const Expr* ParseParenthesised();
    const Expr* ParseWord();
    ExprList ParseArgList();
    const Expr* ParseNameChain(ChainInfo* info);
    const Expr* MakeName(const std::string& shown);
    const Expr* ParseWithMember(ChainInfo* info);
    void ParseMemberArgs(MemberExpr* m, ChainInfo* info);
    const Expr* ParsePostfix(const Expr* e, ChainInfo* info);
    void NoteParens(ChainInfo* info, const Expr* before);

    // ---- statements (parser_statements.cpp) ----
    void ParseBlock(Block* out, const Terminators& ends);
    bool AtTerminator(const Terminators& ends) const;
    void ParseStatement(Block* out);
    void ParseStatementKind(Block* out);
    void ParseLineStatements(Block* out);
    const Target* AsTarget(const Expr* e);
    const Stmt* ParseCallOrAssign(bool isSet);
    static size_t ParenArgCount(const Expr* e);
    const Expr* WithArgs(const Expr* callee, ExprList args);
    const Stmt* MakeAssign(const Target* target, const Expr* value, bool isSet);
    void ParseLet(Block* out);
    void ParseSet(Block* out);
    void ParseCall(Block* out);
    void ParseErase(Block* out);
    void ParseOption(Block* out);
    void ParseDim(Block* out);
    ExprList ParseBounds();
    void ParseReDim(Block* out);
    void ParseConst(Block* out);
    void ParseVisibility(Block* out);
    void ParseIf(Block* out);
    void ParseSingleLineIf(IfStmt* s);
    void ExpectEnd(Kw what, int err);
    void ParseFor(Block* out);
    void ParseForEach(Block* out);
    void ParseForBody(Block* body);
    void ParseDo(Block* out);
    void ParseWhile(Block* out);
    void ParseSelect(Block* out);
    CaseItem ParseCaseItem();
    void ParseExit(Block* out);
    void ParseOnError(Block* out);
    void ParseWith(Block* out);

    // ---- procedures and classes (parser_procedures.cpp) ----
    void ParseSubOrFunction(Block* out);
    void ParseProcedure(ClassDef* cls, bool isPublic, bool isDefault);
    const ProcedureForm& ParseProcedureForm();
    void ParseParams(Procedure* p);
    void AddClassMember(ClassDef* cls, Procedure* p, const Token& nameAt);
    void ParseClass(Block* out);
    void ParseClassMember(ClassDef* cls);
    void ParseFields(ClassDef* cls, bool isPublic);

    // ---- declaring and binding names (parser_binding.cpp) ----
    Scope* NewScope(Procedure* proc, ClassDef* cls);
    void Track(NameRef* ref, std::string shown);
    // Code that Execute runs inside a procedure, outside any Sub of its own:
    // what it declares belongs to the running call, not to the globals.
    bool InRunningProcedure() const { return !scope_->proc && outer_.proc && outer_.frame; }
    void Declare(const std::string& shown, bool isConst);
    void Resolve();
    void CompileNumeric();
    void Bind(Scope& scope, NameRef* ref);
    bool BindInProcedure(Scope& scope, NameRef* ref);
    bool BindInClass(const Scope& scope, NameRef* ref);
    void BindGlobal(Scope& scope, NameRef* ref);
    int ImplicitLocal(Scope& scope, const std::string& lname);
    bool BindExecLocal(const Scope& scope, NameRef* ref, bool create);
    bool IsClass(const std::string& lname) const;
    bool UserGlobal(const std::string& lname) const;
    static int LocalIn(const Procedure* p, const std::string& lname);

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
    // Compiled in Resolve, once names are bound: arithmetic over numbers,
    // assignments (of numbers, compiled), and the For loops whose bodies
    // are only those.
    std::vector<NumericExpr*> numeric_;
    std::vector<AssignStmt*> assigns_;
    std::vector<ForStmt*> forLoops_;
    const Token* statementStart_ = nullptr;
    bool topLevel_ = false;
    int singleLineIf_ = 0;
    int withDepth_ = 0;
    int loopDepth_[2] = {0, 0};  // Do, For
};

}  // namespace script
