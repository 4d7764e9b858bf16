// The matcher of regular expressions: runs the compiled program
// (regexp_compile.cpp) over a text, backtracking on its own stack.
#include "script/regexp.h"

#include "script/convert.h"
#include "script/errors.h"
#include "text/case_fold.h"
#include "text/char_class.h"

namespace script {
namespace {

// Past this many steps a search gives up rather than run on for minutes.
constexpr long kStepBudget = 20'000'000;
// Past this many choices still open, a search is out of memory.
constexpr size_t kMaxBacktrack = 10'000'000;

bool IsLineBreak(char16_t c) {
    return c == '\n' || c == '\r';
}

}  // namespace

// One search's machine: a program counter and a position, and a stack of
// the choices not taken and of the capture values to restore when
// backtracking past where they were set.
class RegexMatcher {
  public:
    RegexMatcher(const Regex& re, std::u16string_view text, long* steps)
        : re_(re), text_(text), steps_(steps), markBase_((re.groups_ + 1) * 2) {}

    // Runs the program from pc at pos up to a kMatch; *caps holds the
    // captures (and the loops' marks), as they are at the match.
    bool Run(int pc, size_t pos, Regex::Captures* caps) {
        caps_ = caps;
        stack_.clear();
        stack_.push_back({pc, static_cast<int64_t>(pos), 0});
        while (!stack_.empty()) {
            const Entry e = stack_.back();
            stack_.pop_back();
            if (e.pc < 0) {
                (*caps_)[e.slot] = e.pos;
                continue;
            }
            pc = e.pc;
            pos = static_cast<size_t>(e.pos);
            while (true) {
                if (++*steps_ > kStepBudget) Throw(kErrOutOfStack);
                const Regex::Inst& in = re_.prog_[pc];
                if (in.op == Regex::Op::kMatch) return true;
                if (!Step(in, &pc, &pos)) break;
            }
        }
        return false;
    }

  private:
    struct Entry {
        int pc;  // -1: restore capture slot to pos
        int64_t pos;
        int slot;
    };

    // Runs one instruction; false when the match fails here.
    bool Step(const Regex::Inst& in, int* pc, size_t* pos) {
        using Op = Regex::Op;
        switch (in.op) {
            case Op::kChar:
                return Consume(*pos < text_.size() && Same(text_[*pos], in.c), pc, pos);
            case Op::kAny:
                return Consume(*pos < text_.size() && !IsLineBreak(text_[*pos]), pc, pos);
            case Op::kClass:
                return Consume(*pos < text_.size() && re_.classes_[in.x][text_[*pos]], pc, pos);
            case Op::kSplit:
                Choose(in.flag ? in.x : in.y, *pos);
                *pc = in.flag ? in.y : in.x;
                return true;
            case Op::kJmp:
                *pc = in.x;
                return true;
            case Op::kLook:
                *pc = in.y;
                return Look(in, *pos);
            case Op::kSave:
            case Op::kMark:
                Set(in.op == Op::kSave ? in.x : markBase_ + in.x, static_cast<int64_t>(*pos));
                ++*pc;
                return true;
            default:
                ++*pc;
                return Holds(in, pos);
        }
    }

    // The instructions that test where the match stands, then go on.
    bool Holds(const Regex::Inst& in, size_t* pos) {
        using Op = Regex::Op;
        switch (in.op) {
            case Op::kProgress:
                return (*caps_)[markBase_ + in.x] != static_cast<int64_t>(*pos);
            case Op::kBol:
                return *pos == 0 || (re_.multiline_ && IsLineBreak(text_[*pos - 1]));
            case Op::kEol:
                return *pos == text_.size() || (re_.multiline_ && IsLineBreak(text_[*pos]));
            case Op::kWordB:
            case Op::kNotWordB: {
                const bool before = *pos > 0 && text::IsNameChar(text_[*pos - 1]);
                const bool after = *pos < text_.size() && text::IsNameChar(text_[*pos]);
                return (before != after) == (in.op == Op::kWordB);
            }
            case Op::kBackref:
                return Backref(in.x, pos);
            default:
                return false;
        }
    }

    bool Consume(bool ok, int* pc, size_t* pos) {
        if (ok) ++*pc, ++*pos;
        return ok;
    }

    bool Same(char16_t a, char16_t b) const {
        return a == b || (re_.ignoreCase_ && text::Fold(a) == text::Fold(b));
    }

    // The way not taken, to try when this one fails.
    void Choose(int pc, size_t pos) {
        if (stack_.size() > kMaxBacktrack) Throw(kErrOutOfMemory);
        stack_.push_back({pc, static_cast<int64_t>(pos), 0});
    }

    // Sets a capture slot, remembering its value for backtracking.
    void Set(size_t slot, int64_t value) {
        stack_.push_back({-1, (*caps_)[slot], static_cast<int>(slot)});
        (*caps_)[slot] = value;
    }

    // \N matches what group N matched; a group that matched nothing yet
    // matches the empty text.
    bool Backref(int group, size_t* pos) const {
        const size_t slot = static_cast<size_t>(group) * 2;
        if (slot + 1 >= markBase_ || (*caps_)[slot] < 0 || (*caps_)[slot + 1] < 0) return true;
        const size_t from = static_cast<size_t>((*caps_)[slot]);
        const size_t length = static_cast<size_t>((*caps_)[slot + 1]) - from;
        if (*pos + length > text_.size()) return false;
        for (size_t i = 0; i < length; ++i) {
            if (!Same(text_[*pos + i], text_[from + i])) return false;
        }
        *pos += length;
        return true;
    }

    // (?=...) and (?!...): the body runs as a search of its own at pos;
    // the captures a positive look-ahead made are kept.
    bool Look(const Regex::Inst& in, size_t pos) {
        Regex::Captures inner = *caps_;
        const bool found = RegexMatcher(re_, text_, steps_).Run(in.x, pos, &inner);
        if (found == in.flag) return false;
        if (!found) return true;
        for (size_t i = 2; i < markBase_; ++i) {
            if (inner[i] != (*caps_)[i]) Set(i, inner[i]);
        }
        return true;
    }

    const Regex& re_;
    std::u16string_view text_;
    long* steps_;
    const size_t markBase_;  // capture slots end here; the loops' marks follow
    Regex::Captures* caps_ = nullptr;
    std::vector<Entry> stack_;
};

bool Regex::Search(std::u16string_view text, size_t from, Captures* captures) const {
    long steps = 0;
    RegexMatcher matcher(*this, text, &steps);
    for (size_t start = from; start <= text.size(); ++start) {
        Captures caps(static_cast<size_t>(groups_ + 1) * 2 + marks_, -1);
        if (matcher.Run(0, start, &caps)) {
            caps.resize(static_cast<size_t>(groups_ + 1) * 2);
            *captures = std::move(caps);
            return true;
        }
    }
    return false;
}

}  // namespace script
