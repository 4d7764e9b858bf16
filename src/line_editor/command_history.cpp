#include "line_editor/command_history.h"

namespace vantrel {

void CommandHistory::Record(const std::string& line) {
    for (int i = kSize - 1; i > 0; --i) entries_[i] = std::move(entries_[i - 1]);
    entries_[0] = line;
    index_ = -1;
}

bool CommandHistory::Up(std::string* text) {
    if (index_ >= kSize - 1 || entries_[index_ + 1].empty()) return false;
    ++index_;
    *text = entries_[index_];
    return true;
}

bool CommandHistory::Down(std::string* text) {
    if (index_ < 0) return false;
    --index_;
    *text = index_ < 0 ? std::string() : entries_[index_];
    return true;
}

}  // namespace vantrel
