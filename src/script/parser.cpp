// The compiler's entry points: lexes the text, parses it (the parser's other
// files hold its parts) and turns every failure into a placed compilation
// error.
#include "script/parser.h"

#include "script/parser_internal.h"

namespace script {

void ThrowCompileError(int number, int line, int column) {
    ScriptError e{number, ErrorText(number), {}};
    e.PlaceAt(line, column);
    e.compilation = true;
    throw e;
}

std::shared_ptr<Unit> Parser::Expression() {
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

std::shared_ptr<Unit> Parser::Statements() {
    Scope* global = NewScope(nullptr, nullptr);
    global->outer = &outer_;
    scope_ = global;
    topLevel_ = true;
    ParseBlock(&unit_->body, {});
    Resolve();
    return unit_;
}

// The text of a name that may be declared: not a reserved word.
std::string Parser::TakeName() {
    if (Cur().kind != Tok::kIdent || IsReserved(Cur().keyword)) Fail(kErrExpectedIdent);
    std::string name = Cur().text;
    Advance();
    return name;
}

// Any word after '.', keywords included.
std::string Parser::TakeMemberName() {
    if (Cur().kind != Tok::kIdent) Fail(kErrExpectedIdent);
    std::string name = Cur().text;
    Advance();
    return name;
}

namespace {

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
