// Formatted numbers follow the host's regional settings; the US defaults
// are covered by testdata/builtins.vbs.
#include <gtest/gtest.h>

#include "script/test_util.h"
#include "text/number_settings.h"
#include "text/text_cases_testing.h"

namespace script {
namespace {

class RegionHost : public Host {
  public:
    explicit RegionHost(text::NumberSettings numbers) : numbers_(std::move(numbers)) {}
    text::NumberSettings Numbers() const override { return numbers_; }

  private:
    text::NumberSettings numbers_;
};

// The regions the rows of testdata/regional_formats.txt name.
text::NumberSettings Region(const std::string& name) {
    if (name == "european") {
        return {.decimal = ",",
                .grouping = ".",
                .digits = 3,
                .currency = "\x80",
                .currencyPlacement = 3,
                .currencyNegativeParens = false};
    }
    EXPECT_TRUE(name.starts_with("groups ")) << name;
    return {.grouping = " ",
            .groupSize = 4,
            .leadingZero = false,
            .currency = "kr",
            .currencyPlacement = std::stoi(name.substr(7))};
}

TEST(ScriptFormatting, RegionalSettingsComeFromTheHost) {
    for (const text::TextCase& c : text::ReadCases("src/script/testdata/regional_formats.txt")) {
        RegionHost host(Region(c[0]));
        Engine engine(&host);
        EXPECT_EQ(Show(engine, c[1]), c[2]) << c.where;
    }
}

}  // namespace
}  // namespace script
