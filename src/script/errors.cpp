#include "script/errors.h"

#include <algorithm>
#include <iterator>

namespace script {
namespace {

struct ErrorEntry {
    int number;
    const char* text;
};

constexpr ErrorEntry kErrors[] = {
    {kErrInvalidCall, "Invalid procedure call or argument"},
    {kErrOverflow, "Overflow"},
    {kErrOutOfMemory, "Out of memory"},
    {kErrSubscript, "Subscript out of range"},
    {kErrArrayLocked, "This array is fixed or temporarily locked"},
    {kErrDivisionByZero, "Division by zero"},
    {kErrUserInterrupt, "User interrupt occurred"},
    {kErrTypeMismatch, "Type mismatch"},
    {kErrOutOfStringSpace, "Out of string space"},
    {kErrCantPerform, "Can't perform requested operation"},
    {kErrOutOfStack, "Out of stack space"},
    {kErrNotDefined, "Sub or Function not defined"},
    // The file errors come from outside objects (the FileSystemObject
    // reports 53 with no text of its own) and from Err.Raise.
    {52, "Bad file name or number"},
    {53, "File not found"},
    {54, "Bad file mode"},
    {55, "File already open"},
    {57, "Device I/O error"},
    {58, "File already exists"},
    {61, "Disk full"},
    {62, "Input past end of file"},
    {67, "Too many files"},
    {68, "Device unavailable"},
    {70, "Permission denied"},
    {71, "Disk not ready"},
    {74, "Can't rename with different drive"},
    {75, "Path/File access error"},
    {76, "Path not found"},
    {430, "Class doesn't support Automation"},
    {440, "Automation error"},
    {446, "Object doesn't support named arguments"},
    {448, "Named argument not found"},
    {462, "The remote server machine does not exist or is unavailable"},
    {kErrInternal, "Internal error"},
    {kErrObjectNotSet, "Object variable not set"},
    {kErrForNotInitialized, "For loop not initialized"},
    {kErrInvalidNull, "Invalid use of Null"},
    {kErrObjectRequired, "Object required"},
    {kErrCantCreateObject, "ActiveX component can't create object"},
    {kErrFileOrClassNotFound, "File name or class name not found during Automation operation"},
    {kErrNoSuchMember, "Object doesn't support this property or method"},
    {kErrNoSuchAction, "Object doesn't support this action"},
    {kErrArgNotOptional, "Argument not optional"},
    {kErrWrongArgs, "Wrong number of arguments or invalid property assignment"},
    {kErrNotCollection, "Object not a collection"},
    {kErrKeyExists, "This key is already associated with an element of this collection"},
    {kErrUnsupportedType, "Variable uses an Automation type not supported in VBScript"},
    {kErrElementNotFound, "Element not found"},
    {kErrUndefinedVar, "Variable is undefined"},
    {kErrIllegalAssign, "Illegal assignment"},
    {kErrInvalidReference, "Invalid or unqualified reference"},
    {kErrClassNotDefined, "Class not defined"},
    {kErrException, "An exception occurred"},
    {kErrCompileOutOfMemory, "Out of memory"},
    {kErrSyntax, "Syntax error"},
    {kErrExpectedColon, "Expected ':'"},
    {kErrExpectedLParen, "Expected '('"},
    {kErrExpectedRParen, "Expected ')'"},
    {kErrExpectedRBracket, "Expected ']'"},
    {kErrExpectedIdent, "Expected identifier"},
    {kErrExpectedEqual, "Expected '='"},
    {kErrExpectedIf, "Expected 'If'"},
    {kErrExpectedTo, "Expected 'To'"},
    {kErrExpectedEnd, "Expected 'End'"},
    {kErrExpectedFunction, "Expected 'Function'"},
    {kErrExpectedSub, "Expected 'Sub'"},
    {kErrExpectedThen, "Expected 'Then'"},
    {kErrExpectedWend, "Expected 'Wend'"},
    {kErrExpectedLoop, "Expected 'Loop'"},
    {kErrExpectedNext, "Expected 'Next'"},
    {kErrExpectedCase, "Expected 'Case'"},
    {kErrExpectedSelect, "Expected 'Select'"},
    {kErrExpectedExpression, "Expected expression"},
    {kErrExpectedStatement, "Expected statement"},
    {kErrExpectedEndOfStatement, "Expected end of statement"},
    {kErrExpectedInteger, "Expected integer constant"},
    {kErrExpectedWhileUntil, "Expected 'While' or 'Until'"},
    {kErrExpectedWhileUntilEos, "Expected 'While', 'Until' or end of statement"},
    {kErrExpectedWith, "Expected 'With'"},
    {kErrIdentifierTooLong, "Identifier too long"},
    {kErrInvalidNumber, "Invalid number"},
    {kErrInvalidCharacter, "Invalid character"},
    {kErrUnterminatedString, "Unterminated string constant"},
    {kErrInvalidMe, "Invalid use of 'Me' keyword"},
    {kErrLoopWithoutDo, "'loop' without 'do'"},
    {kErrInvalidExit, "Invalid 'exit' statement"},
    {kErrInvalidForVar, "Invalid 'for' loop control variable"},
    {kErrNameRedefined, "Name redefined"},
    {kErrMustBeFirst, "Must be first statement on the line"},
    {kErrParensOnSub, "Cannot use parentheses when calling a Sub"},
    {kErrExpectedLiteral, "Expected literal constant"},
    {kErrExpectedIn, "Expected 'In'"},
    {kErrExpectedClass, "Expected 'Class'"},
    {kErrMustBeInClass, "Must be defined inside a Class"},
    {kErrExpectedLetSetGet, "Expected Let or Set or Get in property declaration"},
    {kErrExpectedProperty, "Expected 'Property'"},
    {kErrInconsistentArgs,
     "Number of arguments must be consistent across properties specification"},
    {kErrMultipleDefault, "Cannot have multiple default property/method in a Class"},
    {kErrInitTermArgs, "Class initialize or terminate do not have arguments"},
    {kErrPropertyNeedsArg, "Property set or let must have at least one argument"},
    {kErrUnexpectedNext, "Unexpected 'Next'"},
    {kErrDefaultNeedsPublic, "'Default' specification must also specify 'Public'"},
    {kErrDefaultOnlyGet, "'Default' specification can only be on Property Get"},
    {kErrRegExpExpected, "Regular expression object expected"},
    {kErrRegExpSyntax, "Syntax error in regular expression"},
    {kErrRegExpQuantifier, "Unexpected quantifier"},
    {kErrRegExpBracket, "Expected ']' in regular expression"},
    {kErrRegExpParen, "Expected ')' in regular expression"},
    {kErrRegExpRange, "Invalid range in character set"},
};

}  // namespace

std::string ErrorText(int number) {
    auto it = std::find_if(std::begin(kErrors), std::end(kErrors),
                           [number](const ErrorEntry& e) { return e.number == number; });
    if (it != std::end(kErrors)) return it->text;
    return "Unknown runtime error";
}

void Throw(int number) {
    throw ScriptError{number, ErrorText(number), {}};
}

void Throw(int number, std::string description) {
    throw ScriptError{number, std::move(description), {}};
}

void Throw(int number, std::string description, std::string source) {
    throw ScriptError{number, std::move(description), std::move(source)};
}

}  // namespace script
