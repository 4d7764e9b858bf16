#include "line_editor/history_search.h"

#include "text/utf8.h"

namespace vantrel {

namespace {

constexpr char kSearching[] = "(search)'";
constexpr char kNoMatch[] = "(no match)'";
constexpr char kPromptEnd[] = "'>";

}  // namespace

void HistorySearch::Start(const HistoryLines& lines, const std::string& boxText) {
    active_ = true;
    original_ = boxText;
    shown_ = boxText;
    query_ = boxText;
    match_ = -1;
    found_ = true;
    if (!query_.empty()) Find(lines, static_cast<int>(lines.Lines().size()));
}

void HistorySearch::Older(const HistoryLines& lines) {
    Find(lines, match_ >= 0 ? match_ : static_cast<int>(lines.Lines().size()));
}

void HistorySearch::Type(const HistoryLines& lines, std::string_view character) {
    query_ += character;
    Find(lines, static_cast<int>(lines.Lines().size()));
}

void HistorySearch::Back(const HistoryLines& lines) {
    // A whole character goes: its UTF-8 continuation bytes, then its first.
    while (!query_.empty() && text::utf8::IsContinuationByte(query_.back())) {
        query_.pop_back();
    }
    if (!query_.empty()) query_.pop_back();
    if (query_.empty()) {
        // Every line holds the empty text: the box goes back to where the
        // search started until something is typed or Ctrl+R pressed.
        match_ = -1;
        shown_ = original_;
        found_ = true;
        return;
    }
    Find(lines, static_cast<int>(lines.Lines().size()));
}

void HistorySearch::Find(const HistoryLines& lines, int before) {
    const int at = lines.FindOlder(query_, before);
    found_ = at >= 0;
    if (!found_) return;
    match_ = at;
    shown_ = lines.Lines()[at];
}

std::string HistorySearch::Prompt() const {
    return (found_ ? kSearching : kNoMatch) + query_ + kPromptEnd;
}

}  // namespace vantrel
