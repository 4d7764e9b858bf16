// The compiler of regular expressions: the pattern's text becomes a tree of
// nodes, and the tree the instructions the matcher (regexp.cpp) runs.
#include <memory>

#include "script/convert.h"
#include "script/errors.h"
#include "script/regexp.h"
#include "text/case_fold.h"
#include "text/char_class.h"
#include "text/hex.h"
#include "text/utf8.h"

namespace script {
namespace {

// Counted repetition copies its operand; past this the pattern is refused.
constexpr size_t kMaxProgram = 200'000;
// A class holds a flag for each UTF-16 unit.
constexpr int kUnits = 0x10000;

// The parsed pattern, before it becomes instructions.
struct Node {
    enum Kind {
        kChar,
        kAny,
        kClass,
        kBol,
        kEol,
        kWordB,
        kNotWordB,
        kBackref,
        kGroup,
        kNonCapture,
        kLook,
        kConcat,
        kAlt,
        kRepeat
    };
    Kind kind;
    char16_t c = 0;
    int index = 0;  // class, group or back-reference number
    bool negative = false;
    int min = 0, max = -1;
    bool greedy = true;
    std::vector<std::unique_ptr<Node>> kids;
};

}  // namespace

class RegexCompiler {
  public:
    RegexCompiler(std::u16string_view p, Regex* re) : p_(p), re_(re) {}

    void Compile() {
        std::unique_ptr<Node> root = Alternation(0);
        if (pos_ < p_.size()) Throw(kErrRegExpSyntax);  // an unmatched ')'
        Emit({Regex::Op::kSave, false, 0, 0});
        Gen(*root);
        Emit({Regex::Op::kSave, false, 0, 1});
        Emit({Regex::Op::kMatch});
        re_->groups_ = groups_;
    }

  private:
    std::unique_ptr<Node> Make(Node::Kind k) {
        auto n = std::make_unique<Node>();
        n->kind = k;
        return n;
    }

    std::unique_ptr<Node> Alternation(int depth) {
        if (depth > 500) Throw(kErrOutOfStack);
        auto first = Sequence(depth);
        if (pos_ >= p_.size() || p_[pos_] != '|') return first;
        auto alt = Make(Node::kAlt);
        alt->kids.push_back(std::move(first));
        while (pos_ < p_.size() && p_[pos_] == '|') {
            ++pos_;
            alt->kids.push_back(Sequence(depth));
        }
        return alt;
    }

    std::unique_ptr<Node> Sequence(int depth) {
        auto seq = Make(Node::kConcat);
        while (pos_ < p_.size() && p_[pos_] != '|' && p_[pos_] != ')') {
            auto atom = Atom(depth);
            atom = Quantified(std::move(atom));
            seq->kids.push_back(std::move(atom));
        }
        return seq;
    }

    bool ReadCount(int* out) {
        if (pos_ >= p_.size() || !text::IsAsciiDigit(p_[pos_])) return false;
        long v = 0;
        while (pos_ < p_.size() && text::IsAsciiDigit(p_[pos_])) {
            v = v * 10 + (p_[pos_++] - '0');
            if (v > 100000) Throw(kErrRegExpSyntax);
        }
        *out = static_cast<int>(v);
        return true;
    }

    std::unique_ptr<Node> Quantified(std::unique_ptr<Node> atom) {
        while (pos_ < p_.size()) {
            int min, max;
            const size_t start = pos_;
            const char c = p_[pos_];
            if (c == '*') {
                min = 0, max = -1, ++pos_;
            } else if (c == '+') {
                min = 1, max = -1, ++pos_;
            } else if (c == '?') {
                min = 0, max = 1, ++pos_;
            } else if (c == '{') {
                ++pos_;
                if (!ReadCount(&min)) {
                    pos_ = start;  // a lone '{' is a literal
                    return atom;
                }
                max = min;
                if (pos_ < p_.size() && p_[pos_] == ',') {
                    ++pos_;
                    if (!ReadCount(&max)) max = -1;
                }
                if (pos_ >= p_.size() || p_[pos_] != '}') {
                    pos_ = start;
                    return atom;
                }
                ++pos_;
                if (max >= 0 && max < min) Throw(kErrRegExpQuantifier);
            } else {
                return atom;
            }
            if (atom->kind == Node::kBol || atom->kind == Node::kEol ||
                atom->kind == Node::kWordB || atom->kind == Node::kNotWordB) {
                Throw(kErrRegExpQuantifier);
            }
            auto rep = Make(Node::kRepeat);
            rep->min = min;
            rep->max = max;
            if (pos_ < p_.size() && p_[pos_] == '?') {
                rep->greedy = false;
                ++pos_;
            }
            rep->kids.push_back(std::move(atom));
            atom = std::move(rep);
        }
        return atom;
    }

    int NewClass(std::vector<bool> set) {
        re_->classes_.push_back(std::move(set));
        return static_cast<int>(re_->classes_.size()) - 1;
    }

    static void AddShorthand(char16_t kind, std::vector<bool>* set) {
        for (int c = 0; c < kUnits; ++c) {
            const char16_t ch = static_cast<char16_t>(c);
            bool in = false;
            switch (kind | 0x20) {
                case 'd':
                    in = text::IsAsciiDigit(ch);
                    break;
                case 'w':
                    // ASCII alone, as in VBScript, whatever the script of
                    // the text; the word boundaries take the same.
                    in = text::IsNameChar(ch);
                    break;
                case 's':
                    in = text::IsRegExpSpace(ch);
                    break;
            }
            if (text::IsAsciiUpper(kind)) in = !in;
            if (in) (*set)[c] = true;
        }
    }

    // The value of the hex digits that follow, consumed; -1 (and nothing
    // consumed) when they are not all there.
    int HexValue(size_t digits) {
        const int v = text::ReadHex(p_, pos_, digits);
        if (v >= 0) pos_ += digits;
        return v;
    }

    // An escaped character (after '\'); shorthand classes return -1 and
    // fill *shorthand.
    int Escaped(char16_t* shorthand) {
        if (pos_ >= p_.size()) Throw(kErrRegExpSyntax);
        const char16_t c = p_[pos_++];
        switch (c) {
            case 'd':
            case 'D':
            case 'w':
            case 'W':
            case 's':
            case 'S':
                *shorthand = c;
                return -1;
            case 'n':
                return '\n';
            case 'r':
                return '\r';
            case 't':
                return '\t';
            case 'f':
                return '\f';
            case 'v':
                return '\v';
            case 'x': {
                const int v = HexValue(2);
                return v < 0 ? 'x' : v;
            }
            case 'u': {
                const int v = HexValue(4);
                return v < 0 ? 'u' : v;
            }
            case 'c':
                if (pos_ < p_.size() && text::IsAsciiLetter(p_[pos_])) {
                    return (p_[pos_++] | 0x20) - 'a' + 1;
                }
                return 'c';
            case '0':
                return 0;
            default:
                return c;
        }
    }

    std::unique_ptr<Node> Atom(int depth) {
        const char16_t c = p_[pos_++];
        switch (c) {
            case '.':
                return Make(Node::kAny);
            case '^':
                return Make(Node::kBol);
            case '$':
                return Make(Node::kEol);
            case '*':
            case '+':
            case '?':
                Throw(kErrRegExpQuantifier);
            case '(':
                return Group(depth);
            case '[':
                return Class();
            case '\\':
                return Escape();
            default: {
                auto n = Make(Node::kChar);
                n->c = c;
                return n;
            }
        }
    }

    std::unique_ptr<Node> Group(int depth) {
        std::unique_ptr<Node> n;
        if (pos_ + 1 < p_.size() && p_[pos_] == '?') {
            const char16_t k = p_[pos_ + 1];
            if (k == ':') {
                n = Make(Node::kNonCapture);
            } else if (k == '=' || k == '!') {
                n = Make(Node::kLook);
                n->negative = k == '!';
            } else {
                Throw(kErrRegExpSyntax);
            }
            pos_ += 2;
        } else {
            n = Make(Node::kGroup);
            n->index = ++groups_;
        }
        n->kids.push_back(Alternation(depth + 1));
        if (pos_ >= p_.size() || p_[pos_] != ')') Throw(kErrRegExpParen);
        ++pos_;
        return n;
    }

    std::unique_ptr<Node> Class() {
        std::vector<bool> set(kUnits, false);
        bool negate = false;
        if (pos_ < p_.size() && p_[pos_] == '^') {
            negate = true;
            ++pos_;
        }
        bool first = true;
        while (true) {
            if (pos_ >= p_.size()) Throw(kErrRegExpBracket);
            if (p_[pos_] == ']' && !first) {
                ++pos_;
                break;
            }
            first = false;
            int lo = ClassChar(&set);
            if (lo < 0) continue;
            if (pos_ + 1 < p_.size() && p_[pos_] == '-' && p_[pos_ + 1] != ']') {
                ++pos_;
                const int hi = ClassChar(&set);
                if (hi < 0) Throw(kErrRegExpRange);
                if (hi < lo) Throw(kErrRegExpRange);
                for (int ch = lo; ch <= hi; ++ch) set[ch] = true;
            } else {
                set[lo] = true;
            }
        }
        if (re_->ignoreCase_) {
            // Every case of each member: a mapping never leaves the Basic
            // Multilingual Plane, and the fold joins the cases that share one
            // capital (final and medial sigma).
            for (int ch = 0; ch < kUnits; ++ch) {
                if (!set[ch]) continue;
                set[text::Lower(ch)] = true;
                set[text::Upper(ch)] = true;
                set[text::Fold(ch)] = true;
            }
        }
        if (negate) set.flip();
        auto n = Make(Node::kClass);
        n->index = NewClass(std::move(set));
        return n;
    }

    // One member of a [...] set; -1 after adding a shorthand class.
    int ClassChar(std::vector<bool>* set) {
        const char16_t c = p_[pos_++];
        if (c != '\\') return c;
        if (pos_ < p_.size() && p_[pos_] == 'b') {
            ++pos_;
            return '\b';
        }
        char16_t shorthand = 0;
        const int v = Escaped(&shorthand);
        if (v >= 0) return v;
        AddShorthand(shorthand, set);
        return -1;
    }

    std::unique_ptr<Node> Escape() {
        if (pos_ < p_.size()) {
            const char16_t c = p_[pos_];
            if (c == 'b' || c == 'B') {
                ++pos_;
                return Make(c == 'b' ? Node::kWordB : Node::kNotWordB);
            }
            if (c >= '1' && c <= '9') {
                int v = 0;
                while (pos_ < p_.size() && text::IsAsciiDigit(p_[pos_]) && v < 100) {
                    v = v * 10 + (p_[pos_++] - '0');
                }
                auto n = Make(Node::kBackref);
                n->index = v;
                return n;
            }
        }
        char16_t shorthand = 0;
        const int v = Escaped(&shorthand);
        if (v >= 0) {
            auto n = Make(Node::kChar);
            n->c = static_cast<char16_t>(v);
            return n;
        }
        std::vector<bool> set(kUnits, false);
        AddShorthand(shorthand, &set);
        auto n = Make(Node::kClass);
        n->index = NewClass(std::move(set));
        return n;
    }

    int Emit(Regex::Inst inst) {
        if (re_->prog_.size() >= kMaxProgram) Throw(kErrOutOfMemory);
        re_->prog_.push_back(inst);
        return static_cast<int>(re_->prog_.size()) - 1;
    }
    int Here() const { return static_cast<int>(re_->prog_.size()); }

    static bool CanBeEmpty(const Node& n) {
        switch (n.kind) {
            case Node::kChar:
            case Node::kAny:
            case Node::kClass:
                return false;
            case Node::kConcat:
                for (const auto& k : n.kids) {
                    if (!CanBeEmpty(*k)) return false;
                }
                return true;
            case Node::kAlt:
                for (const auto& k : n.kids) {
                    if (CanBeEmpty(*k)) return true;
                }
                return false;
            case Node::kGroup:
            case Node::kNonCapture:
                return CanBeEmpty(*n.kids[0]);
            case Node::kRepeat:
                return n.min == 0 || CanBeEmpty(*n.kids[0]);
            default:
                return true;
        }
    }

    void Gen(const Node& n) {
        using Op = Regex::Op;
        switch (n.kind) {
            case Node::kChar:
                Emit({Op::kChar, false, n.c});
                break;
            case Node::kAny:
                Emit({Op::kAny});
                break;
            case Node::kClass:
                Emit({Op::kClass, false, 0, n.index});
                break;
            case Node::kBol:
                Emit({Op::kBol});
                break;
            case Node::kEol:
                Emit({Op::kEol});
                break;
            case Node::kWordB:
                Emit({Op::kWordB});
                break;
            case Node::kNotWordB:
                Emit({Op::kNotWordB});
                break;
            case Node::kBackref:
                Emit({Op::kBackref, false, 0, n.index});
                break;
            case Node::kGroup:
                Emit({Op::kSave, false, 0, n.index * 2});
                Gen(*n.kids[0]);
                Emit({Op::kSave, false, 0, n.index * 2 + 1});
                break;
            case Node::kNonCapture:
                Gen(*n.kids[0]);
                break;
            case Node::kLook:
                GenLook(n);
                break;
            case Node::kConcat:
                for (const auto& k : n.kids) Gen(*k);
                break;
            case Node::kAlt:
                GenAlternation(n);
                break;
            case Node::kRepeat:
                GenRepeat(n);
                break;
        }
    }

    // The body runs as a program of its own, up to its own kMatch.
    void GenLook(const Node& n) {
        const int look = Emit({Regex::Op::kLook, n.negative});
        re_->prog_[look].x = Here();
        Gen(*n.kids[0]);
        Emit({Regex::Op::kMatch});
        re_->prog_[look].y = Here();
    }

    // Each alternative but the last: split to it or on to the next, and
    // jump past the others when it matched.
    void GenAlternation(const Node& n) {
        std::vector<int> jumps;
        for (size_t i = 0; i + 1 < n.kids.size(); ++i) {
            const int split = Emit({Regex::Op::kSplit});
            re_->prog_[split].x = Here();
            Gen(*n.kids[i]);
            jumps.push_back(Emit({Regex::Op::kJmp}));
            re_->prog_[split].y = Here();
        }
        Gen(*n.kids.back());
        for (int j : jumps) re_->prog_[j].x = Here();
    }

    void GenRepeat(const Node& n) {
        using Op = Regex::Op;
        const Node& body = *n.kids[0];
        for (int i = 0; i < n.min; ++i) Gen(body);
        if (n.max < 0) {
            // Loop: split to body or out; a body that can match nothing must
            // advance, or the loop would spin in place.
            const bool guard = CanBeEmpty(body);
            const int mark = guard ? re_->marks_++ : -1;
            const int split = Emit({Op::kSplit, !n.greedy});
            re_->prog_[split].x = Here();
            if (guard) Emit({Op::kMark, false, 0, mark});
            Gen(body);
            if (guard) Emit({Op::kProgress, false, 0, mark});
            Emit({Op::kJmp, false, 0, split});
            re_->prog_[split].y = Here();
        } else {
            std::vector<int> splits;
            for (int i = n.min; i < n.max; ++i) {
                const int split = Emit({Op::kSplit, !n.greedy});
                re_->prog_[split].x = Here();
                splits.push_back(split);
                Gen(body);
            }
            for (int s : splits) re_->prog_[s].y = Here();
        }
    }

    std::u16string_view p_;
    Regex* re_;
    size_t pos_ = 0;
    int groups_ = 0;
};

Regex::Regex(std::string_view pattern, bool ignoreCase, bool multiline)
    : ignoreCase_(ignoreCase), multiline_(multiline) {
    // Patterns, like subjects, are matched as UTF-16 units, as VBScript's are.
    const std::u16string units = text::utf8::ToUtf16(pattern);
    RegexCompiler(units, this).Compile();
}

}  // namespace script
