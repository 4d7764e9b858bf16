#include "script/lexer.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "script/convert.h"
#include "script/dates.h"
#include "script/errors.h"
#include "text/case_fold.h"
#include "text/char_class.h"
#include "text/compare.h"
#include "text/hex.h"

namespace script {
namespace {

constexpr size_t kMaxIdentifier = 255;

struct KeywordEntry {
    const char* text;
    Kw keyword;
};

constexpr KeywordEntry kKeywords[] = {
    {"and", Kw::kAnd},
    {"byref", Kw::kByRef},
    {"byval", Kw::kByVal},
    {"call", Kw::kCall},
    {"case", Kw::kCase},
    {"class", Kw::kClass},
    {"const", Kw::kConst},
    {"default", Kw::kDefault},
    {"dim", Kw::kDim},
    {"do", Kw::kDo},
    {"each", Kw::kEach},
    {"else", Kw::kElse},
    {"elseif", Kw::kElseIf},
    {"empty", Kw::kEmpty},
    {"end", Kw::kEnd},
    {"eqv", Kw::kEqv},
    {"erase", Kw::kErase},
    {"error", Kw::kError},
    {"exit", Kw::kExit},
    {"explicit", Kw::kExplicit},
    {"false", Kw::kFalse},
    {"for", Kw::kFor},
    {"function", Kw::kFunction},
    {"get", Kw::kGet},
    {"goto", Kw::kGoTo},
    {"if", Kw::kIf},
    {"imp", Kw::kImp},
    {"in", Kw::kIn},
    {"is", Kw::kIs},
    {"let", Kw::kLet},
    {"loop", Kw::kLoop},
    {"me", Kw::kMe},
    {"mod", Kw::kMod},
    {"new", Kw::kNew},
    {"next", Kw::kNext},
    {"not", Kw::kNot},
    {"nothing", Kw::kNothing},
    {"null", Kw::kNull},
    {"on", Kw::kOn},
    {"option", Kw::kOption},
    {"or", Kw::kOr},
    {"preserve", Kw::kPreserve},
    {"private", Kw::kPrivate},
    {"property", Kw::kProperty},
    {"public", Kw::kPublic},
    {"redim", Kw::kReDim},
    {"resume", Kw::kResume},
    {"select", Kw::kSelect},
    {"set", Kw::kSet},
    {"step", Kw::kStep},
    {"sub", Kw::kSub},
    {"then", Kw::kThen},
    {"to", Kw::kTo},
    {"true", Kw::kTrue},
    {"until", Kw::kUntil},
    {"wend", Kw::kWend},
    {"while", Kw::kWhile},
    {"with", Kw::kWith},
    {"xor", Kw::kXor},
};

Kw LookupKeyword(std::string_view word) {
    if (word.size() < 2 || word.size() > 8) return Kw::kNone;
    char lower[9];
    for (size_t i = 0; i < word.size(); ++i) lower[i] = text::AsciiLower(word[i]);
    const std::string_view key(lower, word.size());
    for (const auto& k : kKeywords) {
        if (key == k.text) return k.keyword;
    }
    return Kw::kNone;
}

using text::IsAsciiDigit;
using text::IsAsciiLetter;
using text::IsNameChar;
using text::IsScriptBlank;

class Lexer {
  public:
    explicit Lexer(std::string_view src) : src_(src) {}

    LexResult Run() {
        LexResult out;
        // Most texts are short expressions: room for them up front saves
        // growing the vector token by token.
        out.tokens.reserve(16);
        while (!error_) {
            const bool space = SkipBlanks();
            if (error_) break;
            if (pos_ >= src_.size()) break;
            Token t;
            t.line = line_;
            t.column = Column();
            t.spaceBefore = space || out.tokens.empty() || out.tokens.back().kind == Tok::kNewline;
            if (Next(&t, out.tokens)) out.tokens.push_back(std::move(t));
        }
        if (error_) {
            out.tokens.clear();
            out.errorNumber = error_;
            out.errorLine = line_;
            out.errorColumn = Column();
        }
        Token end;
        end.line = line_;
        end.column = Column();
        out.tokens.push_back(std::move(end));
        return out;
    }

  private:
    int Column() const { return static_cast<int>(pos_ - lineStart_) + 1; }
    void NewLine() {
        ++line_;
        lineStart_ = pos_;
    }

    // Blanks, line continuations and comments; true when any were skipped.
    bool SkipBlanks() {
        const size_t start = pos_;
        while (pos_ < src_.size()) {
            const char c = src_[pos_];
            if (IsScriptBlank(c) || c == '\0') {
                ++pos_;
            } else if (c == '_' && (pos_ + 1 >= src_.size() || !IsNameChar(src_[pos_ + 1]))) {
                // A continuation is '_' followed by nothing but blanks to the end of line.
                size_t p = pos_ + 1;
                while (p < src_.size() && IsScriptBlank(src_[p])) ++p;
                if (p < src_.size() && src_[p] == '\r') ++p;
                if (p < src_.size() && src_[p] == '\n') {
                    pos_ = p + 1;
                    NewLine();
                } else if (p >= src_.size()) {
                    pos_ = p;
                } else {
                    error_ = kErrInvalidCharacter;
                    return false;
                }
            } else {
                break;
            }
        }
        return pos_ != start;
    }

    void SkipComment() {
        while (pos_ < src_.size() && src_[pos_] != '\n' && src_[pos_] != '\r') ++pos_;
    }

    bool Next(Token* t, const std::vector<Token>& previous) {
        const char c = src_[pos_];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && pos_ + 1 < src_.size() && src_[pos_ + 1] == '\n') ++pos_;
            ++pos_;
            NewLine();
            t->kind = Tok::kNewline;
            return true;
        }
        if (c == '\'') {
            SkipComment();
            return Fail(0);
        }
        if (IsAsciiLetter(c)) return Identifier(t);
        if (c == '[') return BracketIdentifier(t);
        if (IsAsciiDigit(c) ||
            (c == '.' && pos_ + 1 < src_.size() && IsAsciiDigit(src_[pos_ + 1]) &&
             !AfterName(previous, t->spaceBefore))) {
            return Number(t);
        }
        if (c == '"') return String(t);
        if (c == '#') return DateLiteral(t);
        if (c == '&') return Ampersand(t);
        if (c == '.') {
            return Simple(t, AfterName(previous, t->spaceBefore) ? Tok::kDot : Tok::kWithDot, 1);
        }
        return Symbol(t);
    }

    // & concatenates, unless it starts an &H, &O or & octal literal.
    bool Ampersand(Token* t) {
        const char r = Peek(1);
        if (r == 'h' || r == 'H') return Radix(t, 16, 2);
        if (r == 'o' || r == 'O') return Radix(t, 8, 2);
        if (IsAsciiDigit(r)) return Radix(t, 8, 1);
        return Simple(t, Tok::kAmp, 1);
    }

    // Operators and punctuation.
    bool Symbol(Token* t) {
        switch (src_[pos_]) {
            case ':':
                return Simple(t, Tok::kColon, 1);
            case '(':
                return Simple(t, Tok::kLParen, 1);
            case ')':
                return Simple(t, Tok::kRParen, 1);
            case ',':
                return Simple(t, Tok::kComma, 1);
            case '+':
                return Simple(t, Tok::kPlus, 1);
            case '-':
                return Simple(t, Tok::kMinus, 1);
            case '*':
                return Simple(t, Tok::kStar, 1);
            case '/':
                return Simple(t, Tok::kSlash, 1);
            case '\\':
                return Simple(t, Tok::kBackslash, 1);
            case '^':
                return Simple(t, Tok::kCaret, 1);
            case '=':
                return Simple(t, Tok::kEq, 1);
            case '<':
                if (Peek(1) == '>') return Simple(t, Tok::kNe, 2);
                if (Peek(1) == '=') return Simple(t, Tok::kLe, 2);
                return Simple(t, Tok::kLt, 1);
            case '>':
                if (Peek(1) == '=') return Simple(t, Tok::kGe, 2);
                return Simple(t, Tok::kGt, 1);
            default:
                return Fail(kErrInvalidCharacter);
        }
    }

    // A '.' right after a name, ')' or ']' reads a member; elsewhere it
    // starts a With member (or a number like .5).
    static bool AfterName(const std::vector<Token>& previous, bool space) {
        if (space || previous.empty()) return false;
        const Token& p = previous.back();
        return p.kind == Tok::kIdent || p.kind == Tok::kRParen;
    }

    char Peek(size_t ahead) const { return pos_ + ahead < src_.size() ? src_[pos_ + ahead] : '\0'; }

    bool Simple(Token* t, Tok kind, size_t length) {
        t->kind = kind;
        pos_ += length;
        return true;
    }

    // Ends the token with no result; number 0 is a comment, not an error.
    bool Fail(int number) {
        error_ = number;
        return false;
    }

    bool Identifier(Token* t) {
        const size_t start = pos_;
        while (pos_ < src_.size() && IsNameChar(src_[pos_])) ++pos_;
        const std::string_view word = src_.substr(start, pos_ - start);
        if (word.size() > kMaxIdentifier) return Fail(kErrIdentifierTooLong);
        t->kind = Tok::kIdent;
        t->keyword = LookupKeyword(word);
        if (t->keyword == Kw::kNone && text::EqualsNoCase(word, "rem")) {
            SkipComment();
            return Fail(0);
        }
        t->text = std::string(word);
        // Type characters (x$, n%, n&) are not VBScript; neither is '!'.
        return true;
    }

    bool BracketIdentifier(Token* t) {
        const size_t start = ++pos_;
        while (pos_ < src_.size() && src_[pos_] != ']' && src_[pos_] != '\n' &&
               src_[pos_] != '\r') {
            ++pos_;
        }
        if (pos_ >= src_.size() || src_[pos_] != ']') return Fail(kErrExpectedRBracket);
        t->kind = Tok::kIdent;
        t->text = std::string(src_.substr(start, pos_ - start));
        if (t->text.size() > kMaxIdentifier) return Fail(kErrIdentifierTooLong);
        ++pos_;
        return true;
    }

    bool Number(Token* t) {
        const size_t start = pos_;
        bool isFloat = false;
        while (pos_ < src_.size() && IsAsciiDigit(src_[pos_])) ++pos_;
        if (pos_ < src_.size() && src_[pos_] == '.') {
            isFloat = true;
            ++pos_;
            while (pos_ < src_.size() && IsAsciiDigit(src_[pos_])) ++pos_;
        }
        if (pos_ < src_.size() && (src_[pos_] == 'e' || src_[pos_] == 'E')) {
            size_t p = pos_ + 1;
            if (p < src_.size() && (src_[p] == '+' || src_[p] == '-')) ++p;
            if (p < src_.size() && IsAsciiDigit(src_[p])) {
                isFloat = true;
                while (p < src_.size() && IsAsciiDigit(src_[p])) ++p;
                pos_ = p;
            } else {
                return Fail(kErrInvalidNumber);
            }
        }
        if (pos_ < src_.size() && IsAsciiLetter(src_[pos_]))
            return Fail(kErrExpectedEndOfStatement);
        const std::string_view text = src_.substr(start, pos_ - start);
        double d = 0;
        const auto res = std::from_chars(text.data(), text.data() + text.size(), d);
        if (res.ec == std::errc::result_out_of_range) {
            // Only a negative exponent can underflow; anything else is too big.
            if (text.find("e-") == std::string_view::npos &&
                text.find("E-") == std::string_view::npos) {
                return Fail(kErrOverflow);
            }
            d = 0;
        } else if (res.ec != std::errc()) {
            return Fail(kErrInvalidNumber);
        }
        if (!std::isfinite(d)) return Fail(kErrOverflow);
        t->kind = Tok::kNumber;
        if (!isFloat && d <= 32767) {
            t->value = Value::Integer(static_cast<int16_t>(d));
        } else if (!isFloat && d <= 2147483647.0) {
            t->value = Value::Long(static_cast<int32_t>(d));
        } else {
            t->value = Value::Double(d);
        }
        return true;
    }

    // &H and &O literals: up to 16 bits is an Integer bit pattern (&HFFFF is
    // -1), up to 32 a Long; a trailing '&' asks for a Long.
    bool Radix(Token* t, int radix, size_t prefix) {
        pos_ += prefix;
        uint32_t v = 0;
        const size_t digits = text::ReadRadixDigits(src_.substr(pos_), radix, &v);
        pos_ += digits;
        // A digit left over is one too many for 32 bits; a letter ends an
        // octal literal, but a digit 8 or 9 spoils it.
        const int next = pos_ < src_.size() ? text::HexDigitValue(src_[pos_]) : -1;
        if (next >= 0 && next < radix) return Fail(kErrOverflow);
        if (radix == 8 && (next == 8 || next == 9)) return Fail(kErrSyntax);
        if (digits == 0) return Fail(kErrSyntax);
        bool forceLong = false;
        if (pos_ < src_.size() && src_[pos_] == '&') {
            forceLong = true;
            ++pos_;
        }
        t->kind = Tok::kNumber;
        if (!forceLong && v <= 0xFFFF) {
            t->value = Value::Integer(static_cast<int16_t>(static_cast<uint16_t>(v)));
        } else {
            t->value = Value::Long(static_cast<int32_t>(static_cast<uint32_t>(v)));
        }
        return true;
    }

    bool String(Token* t) {
        ++pos_;
        std::string text;
        while (true) {
            const size_t quote = src_.find_first_of("\"\r\n", pos_);
            if (quote == std::string_view::npos || src_[quote] != '"') {
                // Found where the line ends, as a script host reports it.
                pos_ = quote == std::string_view::npos ? src_.size() : quote;
                return Fail(kErrUnterminatedString);
            }
            text.append(src_.data() + pos_, quote - pos_);
            pos_ = quote + 1;
            if (pos_ < src_.size() && src_[pos_] == '"') {
                text += '"';
                ++pos_;
            } else {
                break;
            }
        }
        t->kind = Tok::kString;
        t->text = std::move(text);
        return true;
    }

    bool DateLiteral(Token* t) {
        const size_t close = src_.find_first_of("#\r\n", pos_ + 1);
        if (close == std::string_view::npos || src_[close] != '#') return Fail(kErrSyntax);
        const std::string_view text = src_.substr(pos_ + 1, close - pos_ - 1);
        double serial = 0;
        // Date literals are always read month first, whatever the locale, as
        // VBScript reads them (a script means the same everywhere); a
        // literal without a year would depend on the clock, so it is refused.
        if (!ParseDate(text, text::DateOrder::kMonthDayYear, -1, &serial)) {
            return Fail(kErrSyntax);
        }
        t->kind = Tok::kDate;
        t->value = Value::Date(serial);
        pos_ = close + 1;
        return true;
    }

    std::string_view src_;
    size_t pos_ = 0;
    size_t lineStart_ = 0;
    int line_ = 1;
    int error_ = 0;
};

}  // namespace

bool IsReserved(Kw keyword) {
    switch (keyword) {
        case Kw::kNone:
        case Kw::kDefault:
        case Kw::kError:
        case Kw::kExplicit:
        case Kw::kGet:
        case Kw::kGoTo:
        case Kw::kLet:
        case Kw::kPreserve:
        case Kw::kProperty:
        case Kw::kResume:
        case Kw::kStep:
            return false;
        default:
            return true;
    }
}

LexResult Lex(std::string_view source) {
    return Lexer(source).Run();
}

}  // namespace script
