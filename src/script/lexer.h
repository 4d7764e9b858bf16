// Splits script text into tokens. Keywords come out as identifiers tagged
// with their keyword, because several (Property, Step, Error...) are only
// keywords in some places and any of them may follow a "." as a member name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "script/value.h"

namespace script {

enum class Tok {
    kEnd,
    kNewline,  // a line break or ':' ends a statement
    kColon,
    kIdent,
    kNumber,
    kString,
    kDate,
    kLParen,
    kRParen,
    kComma,
    kDot,      // a '.' directly after a name, ')' or ']': member access
    kWithDot,  // a '.' after a blank or at a statement start: a With member
    kPlus,
    kMinus,
    kStar,
    kSlash,
    kBackslash,
    kCaret,
    kAmp,
    kEq,
    kNe,
    kLt,
    kGt,
    kLe,
    kGe,
};

enum class Kw {
    kNone,
    kAnd,
    kByRef,
    kByVal,
    kCall,
    kCase,
    kClass,
    kConst,
    kDefault,
    kDim,
    kDo,
    kEach,
    kElse,
    kElseIf,
    kEmpty,
    kEnd,
    kEqv,
    kErase,
    kError,
    kExit,
    kExplicit,
    kFalse,
    kFor,
    kFunction,
    kGet,
    kGoTo,
    kIf,
    kImp,
    kIn,
    kIs,
    kLet,
    kLoop,
    kMe,
    kMod,
    kNew,
    kNext,
    kNot,
    kNothing,
    kNull,
    kOn,
    kOption,
    kOr,
    kPreserve,
    kPrivate,
    kProperty,
    kPublic,
    kReDim,
    kResume,
    kSelect,
    kSet,
    kStep,
    kSub,
    kThen,
    kTo,
    kTrue,
    kUntil,
    kWend,
    kWhile,
    kWith,
    kXor,
};

struct Token {
    Tok kind = Tok::kEnd;
    Kw keyword = Kw::kNone;
    std::string text;  // identifier as written, or the string literal's bytes
    Value value;       // number and date literals
    int line = 1;      // where it starts, 1-based; a column counts bytes
    int column = 1;
    bool spaceBefore = false;
};

// True for keywords that can never name a variable or procedure.
bool IsReserved(Kw keyword);

struct LexResult {
    std::vector<Token> tokens;  // ends with kEnd
    int errorNumber = 0;        // a compile error number, 0 when none
    int errorLine = 0;          // where the lexer stopped on it
    int errorColumn = 0;
};

LexResult Lex(std::string_view source);

}  // namespace script
