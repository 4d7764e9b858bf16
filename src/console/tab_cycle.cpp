#include "console/tab_cycle.h"

#include <algorithm>

namespace vantrel {

void TabCycle::Tab(bool backwards, const CompletionMarkers& markers, const Gather& gather,
                   const List& list) {
    if (phase_ != Phase::kIdle && !StillShown()) phase_ = Phase::kIdle;
    const size_t n = candidates_.size();
    switch (phase_) {
        case Phase::kIdle:
            Start(markers, gather);
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

void TabCycle::Start(const CompletionMarkers& markers, const Gather& gather) {
    const std::string text = bar_.CommandText();
    const int caret = std::clamp(bar_.CommandCaret(), 0, static_cast<int>(text.size()));
    request_ = ParseCompletion(text, static_cast<size_t>(caret), markers);
    if (request_.context == CompletionContext::kNone ||
        request_.lead.size() + request_.typed.size() > kLongestWord) {
        return;
    }
    candidates_ = gather(request_);
    if (candidates_.empty()) return;
    typed_ = text;
    typedCaret_ = caret;
    head_ = text.substr(0, request_.start);
    tail_ = text.substr(static_cast<size_t>(caret));
    if (candidates_.size() == 1) {
        Put(CompletionText(request_, candidates_[0], true));
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
