// Tables of test cases kept as data in a testdata folder: one case a line,
// fields split at '|' and trimmed of blanks, blank lines and lines starting
// with '#' skipped. A field's escapes are the test data's one syntax
// (tests/escapes.h), so edge blanks (\x20), bars (\x7C) and stray bytes stay
// visible.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "escapes.h"

namespace text {

struct TextCase {
    std::string where;  // file:line, for the failure message
    std::vector<std::string> fields;

    const std::string& operator[](size_t i) const { return fields.at(i); }
    long long Int(size_t i) const { return std::stoll(fields.at(i)); }
    size_t Size(size_t i) const {  // "npos" for std::string::npos
        return fields.at(i) == "npos" ? std::string::npos : std::stoull(fields.at(i));
    }
    bool Flag(size_t i) const {
        EXPECT_TRUE(fields.at(i) == "true" || fields.at(i) == "false") << where;
        return fields.at(i) == "true";
    }
};

// Every case in the file at `path` below the source root; a missing or empty
// file fails the test that reads it.
inline std::vector<TextCase> ReadCases(const std::string& path) {
    std::ifstream in(std::filesystem::path(VANTREL_SOURCE_DIR) / path, std::ios::binary);
    std::vector<TextCase> cases;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.ends_with('\r')) line.pop_back();
        if (line.find_first_not_of(' ') == std::string::npos || line[0] == '#') continue;
        TextCase& c = cases.emplace_back(path + ":" + std::to_string(number));
        for (size_t start = 0, bar = 0; start <= line.size(); start = ++bar) {
            while (bar < line.size() && line[bar] != '|') bar += line[bar] == '\\' ? 2 : 1;
            std::string_view raw = std::string_view(line).substr(start, bar - start);
            raw.remove_prefix(std::min(raw.find_first_not_of(' '), raw.size()));
            raw.remove_suffix(raw.size() - (raw.find_last_not_of(' ') + 1));
            c.fields.push_back(vantrel::testing::Unescaped(raw));
        }
    }
    EXPECT_FALSE(cases.empty()) << "no cases in " << path << " (or no such file)";
    return cases;
}

}  // namespace text
