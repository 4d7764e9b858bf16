// VBScript's error numbers and texts, and the internal way a failure travels
// from deep inside an evaluation back to the statement that handles it.
#pragma once

#include <string>

namespace script {

enum ErrorNumber : int {
    kErrInvalidCall = 5,
    kErrOverflow = 6,
    kErrOutOfMemory = 7,
    kErrSubscript = 9,
    kErrArrayLocked = 10,
    kErrDivisionByZero = 11,
    kErrUserInterrupt = 18,
    kErrTypeMismatch = 13,
    kErrOutOfStringSpace = 14,
    kErrCantPerform = 17,
    kErrOutOfStack = 28,
    kErrNotDefined = 35,
    kErrInternal = 51,
    kErrObjectNotSet = 91,
    kErrForNotInitialized = 92,
    kErrInvalidNull = 94,
    kErrObjectRequired = 424,
    kErrCantCreateObject = 429,
    kErrFileOrClassNotFound = 432,
    kErrNoSuchMember = 438,
    kErrNoSuchAction = 445,
    kErrArgNotOptional = 449,
    kErrWrongArgs = 450,
    kErrNotCollection = 451,
    kErrKeyExists = 457,
    kErrUnsupportedType = 458,
    kErrNoAutomationObject = 429,
    kErrUndefinedVar = 500,
    kErrIllegalAssign = 501,
    kErrInvalidReference = 505,
    kErrClassNotDefined = 506,
    kErrException = 507,
    kErrCompileOutOfMemory = 1001,
    kErrSyntax = 1002,
    kErrExpectedColon = 1003,
    kErrExpectedLParen = 1005,
    kErrExpectedRParen = 1006,
    kErrExpectedRBracket = 1007,
    kErrExpectedIdent = 1010,
    kErrExpectedEqual = 1011,
    kErrExpectedIf = 1012,
    kErrExpectedTo = 1013,
    kErrExpectedEnd = 1014,
    kErrExpectedFunction = 1015,
    kErrExpectedSub = 1016,
    kErrExpectedThen = 1017,
    kErrExpectedWend = 1018,
    kErrExpectedLoop = 1019,
    kErrExpectedNext = 1020,
    kErrExpectedCase = 1021,
    kErrExpectedSelect = 1022,
    kErrExpectedExpression = 1023,
    kErrExpectedStatement = 1024,
    kErrExpectedEndOfStatement = 1025,
    kErrExpectedInteger = 1026,
    kErrExpectedWhileUntil = 1027,
    kErrExpectedWhileUntilEos = 1028,
    kErrExpectedWith = 1029,
    kErrIdentifierTooLong = 1030,
    kErrInvalidNumber = 1031,
    kErrInvalidCharacter = 1032,
    kErrUnterminatedString = 1033,
    kErrInvalidMe = 1037,
    kErrLoopWithoutDo = 1038,
    kErrInvalidExit = 1039,
    kErrInvalidForVar = 1040,
    kErrNameRedefined = 1041,
    kErrMustBeFirst = 1042,
    kErrParensOnSub = 1044,
    kErrExpectedLiteral = 1045,
    kErrExpectedIn = 1046,
    kErrExpectedClass = 1047,
    kErrMustBeInClass = 1048,
    kErrExpectedLetSetGet = 1049,
    kErrExpectedProperty = 1050,
    kErrInconsistentArgs = 1051,
    kErrMultipleDefault = 1052,
    kErrInitTermArgs = 1053,
    kErrPropertyNeedsArg = 1054,
    kErrUnexpectedNext = 1055,
    kErrDefaultNeedsPublic = 1057,
    kErrDefaultOnlyGet = 1058,
    kErrRegExpExpected = 5016,
    kErrElementNotFound = 32811,
    kErrRegExpSyntax = 5017,
    kErrRegExpQuantifier = 5018,
    kErrRegExpBracket = 5019,
    kErrRegExpParen = 5020,
    kErrRegExpRange = 5021,
};

// The text VBScript shows for an error number; "Unknown runtime error" for
// numbers it has no text for.
std::string ErrorText(int number);

// Raised inside the engine and caught at the boundary or by On Error; it
// never leaves the library.
struct ScriptError {
    int number;
    std::string description;
    std::string source;
    // Where it happened, 1-based, in the text the failing code was compiled
    // from; 0 until a statement (or the compiler) places it.
    int line = 0;
    int column = 0;
    bool compilation = false;  // the compiler refused the text

    // The innermost place wins: a statement inside a block, or inside a
    // procedure the failing statement called, has placed it already.
    void PlaceAt(int atLine, int atColumn) {
        if (line != 0) return;
        line = atLine;
        column = atColumn;
    }
};

[[noreturn]] void Throw(int number);
[[noreturn]] void Throw(int number, std::string description);
// A failure an outside object reported, with its own text and Err.Source.
[[noreturn]] void Throw(int number, std::string description, std::string source);

}  // namespace script
