#pragma once

#include <array>
#include <string>

namespace vantrel {

// The last 100 lines entered with Enter, newest first, and the position of
// Up/Down browsing (-1 when the command box shows new text).
class CommandHistory {
  public:
    static constexpr int kSize = 100;

    void Record(const std::string& line);
    // Each returns false when the key does nothing; otherwise *text is what
    // the command box shows now ("" after stepping down past the newest).
    bool Up(std::string* text);
    bool Down(std::string* text);

    const std::string& Entry(int index) const { return entries_[index]; }
    int Index() const { return index_; }

  private:
    std::array<std::string, kSize> entries_;
    int index_ = -1;
};

}  // namespace vantrel
