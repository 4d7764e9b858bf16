#include "interpreter/keystrokes.h"

#include <cstdlib>
#include <utility>

#include "interpreter/line_text.h"
#include "text/case_fold.h"
#include "text/utf8.h"

namespace vantrel {

namespace {

struct KeyName {
    std::string_view name;
    int code;
};

// The names the notation knows, upper case.
constexpr KeyName kKeyNames[] = {
    {"BACKSPACE", kVkBack}, {"BS", kVkBack},      {"BKSP", kVkBack},    {"BREAK", 0x03},
    {"CAPSLOCK", 0x14},     {"DELETE", 0x2E},     {"DEL", 0x2E},        {"DOWN", kVkDown},
    {"END", kVkEnd},        {"ENTER", kVkReturn}, {"ESC", kVkEscape},   {"ESCAPE", kVkEscape},
    {"HELP", 0x2F},         {"HOME", kVkHome},    {"INSERT", 0x2D},     {"INS", 0x2D},
    {"LEFT", 0x25},         {"NUMLOCK", 0x90},    {"PGDN", 0x22},       {"PGUP", 0x21},
    {"PRTSC", 0x2C},        {"RIGHT", 0x27},      {"SCROLLLOCK", 0x91}, {"TAB", kVkTab},
    {"UP", kVkUp},          {"ADD", 0x6B},        {"SUBTRACT", 0x6D},   {"MULTIPLY", 0x6A},
    {"DIVIDE", 0x6F},       {"SPACE", 0x20},
};

// The function keys F1 to F16.
constexpr int kFunctionKeys = 16;
// A repeat count beyond this is a typing mistake, not a wish.
constexpr long kMaxRepeat = 1000;

// A character's code point. A byte that starts no UTF-8 character is one
// of the legacy code page (Windows-1252), as older batch files hold it.
int CharacterCode(std::string_view text, size_t at) {
    return static_cast<int>(text::utf8::CodeOf(text::utf8::Decode(text, at)));
}

bool LookUpKey(const std::string& upper, KeyStroke* key) {
    for (const KeyName& k : kKeyNames) {
        if (k.name == upper) {
            *key = KeyStroke{KeyStroke::kVirtualKey, k.code};
            return true;
        }
    }
    if (upper.size() >= 2 && upper.size() <= 3 && upper[0] == 'F') {
        int n = std::atoi(upper.c_str() + 1);
        bool digits = upper.find_first_not_of("0123456789", 1) == std::string::npos;
        if (digits && n >= 1 && n <= kFunctionKeys) {
            *key = KeyStroke{KeyStroke::kVirtualKey, kVkF1 + n - 1};
            return true;
        }
    }
    return false;
}

// The punctuation keys by the characters they type on the US layout.
constexpr std::pair<char, int> kPunctuationKeys[] = {
    {';', 0xBA}, {'=', 0xBB}, {',', 0xBC},  {'-', 0xBD}, {'.', 0xBE},  {'/', 0xBF},
    {'`', 0xC0}, {'[', 0xDB}, {'\\', 0xDC}, {']', 0xDD}, {'\'', 0xDE},
};

constexpr std::pair<std::string_view, int> kChordModifiers[] = {
    {"CTRL", kModCtrl},   {"CONTROL", kModCtrl}, {"ALT", kModAlt},
    {"SHIFT", kModShift}, {"WIN", kModWin},
};

// The key of a chord: its last part.
int ChordKey(const std::string& upper) {
    if (upper.size() == 1) {
        const char c = upper[0];
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return c;
        for (const auto& [character, code] : kPunctuationKeys) {
            if (c == character) return code;
        }
        return 0;
    }
    KeyStroke key;
    return LookUpKey(upper, &key) ? key.code : 0;
}

struct Modifiers {
    bool shift = false, ctrl = false, alt = false;
    bool Any() const { return shift || ctrl || alt; }
};

class Parser {
  public:
    Parser(std::string_view text, std::vector<KeyStroke>* keys) : text_(text), keys_(keys) {}

    bool Run(std::string* err) {
        if (!Sequence(false, Modifiers{}, err)) return false;
        return true;
    }

  private:
    // Keys up to the end of the text, or up to ")" inside a group.
    bool Sequence(bool inGroup, Modifiers held, std::string* err) {
        Modifiers next = held;
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == ')') {
                if (!inGroup) return Fail("unmatched )", err);
                ++pos_;
                return true;
            }
            if (static_cast<unsigned char>(c) >= 0x80) {
                Add(KeyStroke{KeyStroke::kCharacter, NextCharacter()}, next, 1);
                next = held;
                continue;
            }
            ++pos_;
            if (c == '+' || c == '^' || c == '%') {
                (c == '+' ? next.shift : c == '^' ? next.ctrl : next.alt) = true;
                continue;
            }
            if (c == '(') {
                if (!Sequence(true, next, err)) return false;
            } else if (c == '{') {
                if (!Braced(next, err)) return false;
            } else if (c == '~') {
                Add(KeyStroke{KeyStroke::kVirtualKey, kVkReturn}, next, 1);
            } else if (c == '}' || c == '[' || c == ']') {
                return Fail(std::string("unexpected ") + c, err);
            } else {
                Add(KeyStroke{KeyStroke::kCharacter, static_cast<unsigned char>(c)}, next, 1);
            }
            next = held;
        }
        if (inGroup) return Fail("missing )", err);
        if (next.Any() && !held.Any()) return Fail("a modifier without a key", err);
        return true;
    }

    // After "{": a name or a character, an optional count, then "}". The
    // first character may itself be "}" ({}}).
    bool Braced(Modifiers mods, std::string* err) {
        size_t close = text_.find('}', pos_ + 1);
        if (pos_ >= text_.size() || close == std::string_view::npos) {
            return Fail("missing }", err);
        }
        std::string inside(text_.substr(pos_, close - pos_));
        pos_ = close + 1;
        long count = 1;
        size_t space = inside.rfind(' ');
        if (space != std::string::npos && space > 0) {
            std::string digits = inside.substr(space + 1);
            if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) {
                return Fail("bad repeat count", err);
            }
            count = std::strtol(digits.c_str(), nullptr, 10);
            if (count > kMaxRepeat) return Fail("repeat count too large", err);
            inside.resize(space);
        }
        KeyStroke key;
        const size_t firstBytes = text::utf8::Decode(inside, 0).bytes;
        if (firstBytes == inside.size() && !LookUpKey(text::UpperCase(inside), &key)) {
            key = KeyStroke{KeyStroke::kCharacter, CharacterCode(inside, 0)};
        } else if (!LookUpKey(text::UpperCase(inside), &key)) {
            return Fail("unknown key {" + inside + "}", err);
        }
        Add(key, mods, count);
        return true;
    }

    // The character at pos_, which it passes.
    int NextCharacter() {
        const int code = CharacterCode(text_, pos_);
        pos_ += text::utf8::Decode(text_, pos_).bytes;
        return code;
    }

    void Add(KeyStroke key, Modifiers mods, long count) {
        key.shift = mods.shift;
        key.ctrl = mods.ctrl;
        key.alt = mods.alt;
        for (long i = 0; i < count; ++i) keys_->push_back(key);
    }

    bool Fail(const std::string& what, std::string* err) {
        *err = "Invalid keys: " + what;
        return false;
    }

    std::string_view text_;
    std::vector<KeyStroke>* keys_;
    size_t pos_ = 0;
};

}  // namespace

bool ParseKeystrokes(std::string_view text, std::vector<KeyStroke>* keys, std::string* err) {
    std::vector<KeyStroke> parsed;
    Parser parser(text, &parsed);
    if (!parser.Run(err)) return false;
    *keys = std::move(parsed);
    return true;
}

bool ParseKeyChord(std::string_view text, KeyChord* chord, std::string* err) {
    *chord = KeyChord{};
    if (text.empty()) return true;
    const std::string upper = text::UpperCase(text);
    // The key itself may be "+": the last "+" that is not the text's end
    // parts the modifiers from it.
    const size_t cut = upper.size() > 1 ? upper.rfind('+', upper.size() - 2) : std::string::npos;
    const std::string keyName(
        TrimSpaces(cut == std::string::npos ? upper : std::string_view(upper).substr(cut + 1)));
    int modifiers = 0;
    for (size_t start = 0; cut != std::string::npos && start <= cut;) {
        size_t end = upper.find('+', start);
        const std::string_view name =
            TrimSpaces(std::string_view(upper).substr(start, end - start));
        int bit = 0;
        for (const auto& [modifier, value] : kChordModifiers) {
            if (name == modifier) bit = value;
        }
        if (bit == 0) {
            *err = "unknown modifier \"" + std::string(name) + "\"";
            return false;
        }
        modifiers |= bit;
        start = end + 1;
    }
    const int key = ChordKey(keyName);
    if (key == 0) {
        *err = "unknown key \"" + keyName + "\"";
        return false;
    }
    *chord = KeyChord{key, modifiers};
    return true;
}

}  // namespace vantrel
