// Formatted numbers, and dates written and read, follow the host's regional
// settings; the US defaults are covered by testdata/builtins.vbs and
// testdata/dates.vbs.
#include <gtest/gtest.h>

#include <cstdio>

#include "script/test_util.h"
#include "text/number_settings.h"
#include "text/text_cases_testing.h"

namespace script {
namespace {

// The regions the rows of testdata/regional_formats.txt name: their number
// settings, and the order their short dates are written and read in.
class RegionHost : public Host {
  public:
    explicit RegionHost(const std::string& name) {
        if (name == "european") {
            numbers_ = {.decimal = ",",
                        .grouping = ".",
                        .digits = 3,
                        .currency = "\x80",
                        .currencyPlacement = 3,
                        .currencyNegativeParens = false};
        } else if (name == "day first") {
            order_ = text::DateOrder::kDayMonthYear;
        } else if (name == "year first") {
            order_ = text::DateOrder::kYearMonthDay;
        } else if (name != "month first") {
            EXPECT_TRUE(name.starts_with("groups ")) << name;
            numbers_ = {.grouping = " ",
                        .groupSize = 4,
                        .leadingZero = false,
                        .currency = "kr",
                        .currencyPlacement = std::stoi(name.substr(7))};
        }
    }
    text::NumberSettings Numbers() const override { return numbers_; }
    text::DateOrder ShortDateOrder() const override { return order_; }
    // DD/MM/YYYY and YYYY/MM/DD, as English (UK) and Japanese write them.
    std::string FormatDate(const DateParts& d) const override {
        if (order_ == text::DateOrder::kMonthDayYear) return Host::FormatDate(d);
        const bool dayFirst = order_ == text::DateOrder::kDayMonthYear;
        char out[48];
        std::snprintf(out, sizeof out, "%02d/%02d/%02d", dayFirst ? d.day : d.year, d.month,
                      dayFirst ? d.year : d.day);
        return out;
    }

  private:
    text::NumberSettings numbers_;
    text::DateOrder order_ = text::DateOrder::kMonthDayYear;
};

TEST(ScriptFormatting, RegionalSettingsComeFromTheHost) {
    for (const text::TextCase& c : text::ReadCases("src/script/testdata/regional_formats.txt")) {
        RegionHost host(c[0]);
        Engine engine(&host);
        EXPECT_EQ(Show(engine, c[1]), c[2]) << c.where;
    }
}

}  // namespace
}  // namespace script
