#include "line_editor/tab_cycle.h"

#include <algorithm>

namespace vantrel {

namespace {

constexpr char kMoreThanFound[] = "... and more than could be read in time: type more letters";

}  // namespace

void TabCycle::Tab(bool backwards, const LineMarkers& markers, const CommandTable& table,
                   const Gather& gather, const List& list) {
    if (phase_ != Phase::kIdle && !StillShown()) phase_ = Phase::kIdle;
    const size_t n = candidates_.size();
    switch (phase_) {
        case Phase::kIdle:
        case Phase::kCompleted:
            Start(markers, table, gather, list);
            return;
        case Phase::kPrefixed:
            list(CandidateListLines(candidates_, kMostListed));
            phase_ = Phase::kListed;
            return;
        case Phase::kListed:
            index_ = backwards ? n - 1 : 0;
            break;
        case Phase::kCycling:
            index_ = backwards ? (index_ + n - 1) % n : (index_ + 1) % n;
            break;
    }
    phase_ = Phase::kCycling;
    Put(CompletionText(request_, candidates_[index_], true));
}

void TabCycle::Start(const LineMarkers& markers, const CommandTable& table, const Gather& gather,
                     const List& list) {
    // A Tab after a completion starts from the box as it is now, but Esc
    // still goes back to what was typed before the first.
    const bool again = phase_ == Phase::kCompleted;
    // Nothing more to complete leaves the phase as it was.
    phase_ = again ? Phase::kCompleted : Phase::kIdle;
    const std::string text = bar_.CommandText();
    const int caret = std::clamp(bar_.CommandCaret(), 0, static_cast<int>(text.size()));
    request_ = ParseCompletion(text, static_cast<size_t>(caret), markers, table);
    if (request_.context == CompletionContext::kNone ||
        request_.lead.size() + request_.typed.size() > kLongestWord) {
        return;
    }
    Gathered found = gather(request_);
    if (found.cutShort) {
        std::vector<std::string> lines = CandidateListLines(found.candidates, kMostListed - 1);
        lines.push_back(kMoreThanFound);
        list(lines);
        return;
    }
    if (found.candidates.empty()) return;
    candidates_ = std::move(found.candidates);
    if (!again) {
        typed_ = text;
        typedCaret_ = caret;
    }
    head_ = text.substr(0, request_.start);
    tail_ = text.substr(static_cast<size_t>(caret));
    if (found.fuzzy) {
        // Nothing begins with what was typed, so there is no common
        // beginning to give: the best match goes in, and Tab goes on
        // through the rest.
        index_ = 0;
        Put(CompletionText(request_, candidates_[0], true));
        phase_ = Phase::kCycling;
        return;
    }
    if (candidates_.size() == 1) {
        Put(CompletionText(request_, candidates_[0], true));
        phase_ = Phase::kCompleted;
        return;
    }
    Put(CompletionText(request_, {CommonPrefix(candidates_)}, false));
    phase_ = Phase::kPrefixed;
}

void TabCycle::Put(const std::string& word) {
    std::string line = head_ + word;
    int caret = static_cast<int>(line.size());
    // A blank that follows already serves as the one a finished word gets.
    if (!word.empty() && word.back() == ' ' && !tail_.empty() && tail_[0] == ' ') {
        line.pop_back();
    }
    line += tail_;
    shown_ = line;
    shownCaret_ = caret;
    bar_.SetCommandText(line);
    bar_.SelectCommandText(caret, 0);
}

bool TabCycle::StillShown() const {
    return bar_.CommandText() == shown_ && bar_.CommandCaret() == shownCaret_;
}

bool TabCycle::Escape() {
    if (phase_ == Phase::kIdle) return false;
    phase_ = Phase::kIdle;
    if (!StillShown()) return false;
    bar_.SetCommandText(typed_);
    bar_.SelectCommandText(typedCaret_, 0);
    return true;
}

}  // namespace vantrel
