#include "remote/link_penalties.h"

#include <algorithm>

#include "remote/ip_address.h"

namespace vantrel {

void LinkPenalties::Add(const std::string& source, std::uint64_t ms, std::uint64_t now) {
    auto found = penalties_.find(source);
    if (found == penalties_.end()) {
        MakeRoom(now);
        found = penalties_.emplace(source, Penalty{}).first;
    }
    Penalty& penalty = found->second;
    penalty.ms = std::min(penalty.LeftAt(now) + ms, kCap);
    penalty.at = now;
}

void LinkPenalties::MakeRoom(std::uint64_t now) {
    if (penalties_.size() < kMaxSources) return;
    // Sources whose penalty is spent go first; only when none is does the
    // least penalised one give way, so the flood's own newest addresses
    // replace each other rather than the one that guessed most.
    const auto spent =
        std::erase_if(penalties_, [&](const auto& p) { return p.second.LeftAt(now) == 0; });
    if (spent > 0) return;
    const auto least = std::min_element(
        penalties_.begin(), penalties_.end(),
        [&](const auto& a, const auto& b) { return a.second.LeftAt(now) < b.second.LeftAt(now); });
    penalties_.erase(least);
}

std::uint64_t LinkPenalties::Left(const std::string& source, std::uint64_t now) const {
    const auto found = penalties_.find(source);
    return found == penalties_.end() ? 0 : found->second.LeftAt(now);
}

bool LinkPenalties::Clear(const std::string& source, std::uint64_t now) {
    const auto found = penalties_.find(source);
    if (found == penalties_.end()) return false;
    const bool left = found->second.LeftAt(now) > 0;
    penalties_.erase(found);
    return left;
}

std::vector<LinkPenalties::Listed> LinkPenalties::List(std::uint64_t now) const {
    std::vector<Listed> listed;
    for (const auto& [source, penalty] : penalties_) {
        if (const std::uint64_t left = penalty.LeftAt(now)) listed.push_back({source, left});
    }
    std::sort(listed.begin(), listed.end(), [](const Listed& a, const Listed& b) {
        return a.left != b.left ? a.left > b.left : a.source < b.source;
    });
    return listed;
}

bool PenaltyExempt(std::string_view exemptSetting, const std::string& source) {
    size_t at = 0;
    while (at < exemptSetting.size()) {
        const size_t end = exemptSetting.find_first_of(" \t,", at);
        const std::string_view word = exemptSetting.substr(at, end - at);
        if (!word.empty() && PenaltySource(word) == source) return true;
        if (end == std::string_view::npos) break;
        at = end + 1;
    }
    return false;
}

}  // namespace vantrel
