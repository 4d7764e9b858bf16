#include "line_editor/run_counts.h"

#include <algorithm>
#include <charconv>
#include <utility>
#include <vector>

#include "line_editor/fuzzy_match.h"
#include "platform/paths.h"
#include "text/case_fold.h"

namespace vantrel {

namespace {

// Days from 2000-01-01 to a date of the Gregorian calendar.
std::int64_t DaysOf(int year, int month, int day) {
    const std::int64_t y = year - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 730425;
}

// One field of a file line up to the next tab, as a whole number.
template <typename Number>
bool ReadNumber(std::string_view* line, Number* value) {
    const size_t tab = line->find('\t');
    if (tab == std::string_view::npos) return false;
    const auto [end, error] = std::from_chars(line->data(), line->data() + tab, *value);
    if (error != std::errc() || end != line->data() + tab) return false;
    line->remove_prefix(tab + 1);
    return true;
}

// Minutes of any date a clock gives lie well within this, about 190,000
// years either side of 2000; one beyond it was edited by hand, and its age
// would overflow.
constexpr std::int64_t kMinuteBound = 100'000'000'000;

std::string Line(std::string_view key, std::uint64_t count, std::int64_t minute) {
    return std::to_string(count) + "\t" + std::to_string(minute) + "\t" + std::string(key) + "\r\n";
}

}  // namespace

std::int64_t MinuteOf(const LocalTime& time) {
    return (DaysOf(time.year, time.month, time.day) * 24 + time.hour) * 60 + time.minute;
}

std::string RunCounts::KeyOf(std::string_view word) {
    if (word.size() >= 2 && word.front() == '"' && word.back() == '"') {
        word = word.substr(1, word.size() - 2);
    }
    word = NameStem(NameOf(word));
    if (word.empty() || word.size() > kLongestName) return std::string();
    for (const char c : word) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return std::string();
    }
    return text::FoldCase(word);
}

std::string RunCounts::Ran(std::string_view word, std::int64_t minute) {
    std::string key = KeyOf(word);
    if (key.empty()) return std::string();
    std::string line = Line(key, 1, minute);
    Add(std::move(key), 1, minute);
    return line;
}

double RunCounts::Weight(std::string_view word, std::int64_t now) const {
    if (entries_.empty()) return 0;
    const auto found = entries_.find(KeyOf(word));
    return found == entries_.end() ? 0 : WeightOf(found->second, now);
}

double RunCounts::WeightOf(const Entry& entry, std::int64_t now) {
    const std::int64_t age = now - entry.minute;
    const double recency = age <= 60 ? 4 : age <= 24 * 60 ? 2 : age <= 7 * 24 * 60 ? 1 : 0.5;
    return static_cast<double>(entry.count) * recency;
}

size_t RunCounts::Read(std::string_view text) {
    size_t lines = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        ++lines;
        std::uint64_t count = 0;
        std::int64_t minute = 0;
        if (!ReadNumber(&line, &count) || !ReadNumber(&line, &minute) || count == 0 ||
            count > kAgeAtTotal || minute < -kMinuteBound || minute > kMinuteBound) {
            continue;
        }
        // A name edited by hand is counted as the console would count it.
        std::string key = KeyOf(line);
        if (!key.empty()) Add(std::move(key), count, minute);
    }
    return lines;
}

std::string RunCounts::FileText() const {
    // In the names' order, so that the file reads the same each time.
    std::vector<const std::pair<const std::string, Entry>*> sorted;
    sorted.reserve(entries_.size());
    for (const auto& entry : entries_) sorted.push_back(&entry);
    std::sort(sorted.begin(), sorted.end(),
              [](const auto* a, const auto* b) { return a->first < b->first; });
    std::string text;
    for (const auto* entry : sorted) {
        text += Line(entry->first, entry->second.count, entry->second.minute);
    }
    return text;
}

void RunCounts::Add(std::string key, std::uint64_t count, std::int64_t minute) {
    auto [at, added] = entries_.try_emplace(std::move(key));
    Entry& entry = at->second;
    entry.count += count;
    if (added || minute > entry.minute) entry.minute = minute;
    total_ += count;
    if (added && entries_.size() > kMostNames) {
        // The least weighty other name makes room; the one just run stays.
        auto least = entries_.end();
        double leastWeight = 0;
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            if (it == at) continue;
            const double weight = WeightOf(it->second, minute);
            if (least == entries_.end() || weight < leastWeight) {
                least = it;
                leastWeight = weight;
            }
        }
        total_ -= least->second.count;
        entries_.erase(least);
    }
    if (total_ >= kAgeAtTotal) {
        total_ = 0;
        for (auto it = entries_.begin(); it != entries_.end();) {
            it->second.count /= 2;
            total_ += it->second.count;
            it = it->second.count == 0 ? entries_.erase(it) : std::next(it);
        }
    }
}

}  // namespace vantrel
