// The regular expressions of VBScript's RegExp object (JScript syntax):
// classes, escapes, groups, look-ahead, back-references, greedy and lazy
// quantifiers. Matching is a backtracking machine with its own stack and a
// step budget, so no pattern or subject can exhaust the thread's stack or
// run without end.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace script {

class Regex {
  public:
    // Throws ScriptError 5017-5021 for a malformed pattern.
    Regex(std::string_view pattern, bool ignoreCase, bool multiline);

    // Captures as [start, end) pairs, index 0 the whole match; -1 unset.
    using Captures = std::vector<int64_t>;
    // Finds the first match at or after from. Throws ScriptError 28 when the
    // search exceeds its step budget.
    // Positions count UTF-16 units of text.
    bool Search(std::u16string_view text, size_t from, Captures* captures) const;

    enum class Op : uint8_t {
        kChar,
        kAny,
        kClass,
        kSplit,
        kJmp,
        kSave,
        kBol,
        kEol,
        kWordB,
        kNotWordB,
        kBackref,
        kLook,
        kMark,
        kProgress,
        kMatch,
    };
    struct Inst {
        Op op;
        bool flag = false;  // kSplit: prefer y; kLook: negative
        char16_t c = 0;
        int x = 0, y = 0;  // targets, class index, slot, group, or look body range
    };

  private:
    friend class RegexCompiler;
    friend class RegexMatcher;
    std::vector<Inst> prog_;
    std::vector<std::vector<bool>> classes_;
    int groups_ = 0;
    int marks_ = 0;
    bool ignoreCase_;
    bool multiline_;
};

}  // namespace script
