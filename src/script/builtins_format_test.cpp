// Formatted numbers follow the host's regional settings; the US defaults
// are covered by testdata/builtins.vbs.
#include <gtest/gtest.h>

#include "script/test_util.h"
#include "text/number_settings.h"

namespace script {
namespace {

class RegionHost : public Host {
  public:
    explicit RegionHost(text::NumberSettings numbers) : numbers_(std::move(numbers)) {}
    text::NumberSettings Numbers() const override { return numbers_; }

  private:
    text::NumberSettings numbers_;
};

// A region that writes 1.234.567,89 and puts the euro after the amount.
text::NumberSettings European() {
    text::NumberSettings ns;
    ns.decimal = ",";
    ns.grouping = ".";
    ns.currency = "\x80";  // the euro sign in Windows-1252
    ns.currencyPlacement = 3;
    ns.currencyNegativeParens = false;
    ns.digits = 3;
    return ns;
}

// Groups of four, no leading zero, the symbol at each of its places.
text::NumberSettings FourDigitGroups(int currencyPlacement) {
    text::NumberSettings ns;
    ns.grouping = " ";
    ns.groupSize = 4;
    ns.currency = "kr";
    ns.currencyPlacement = currencyPlacement;
    ns.leadingZero = false;
    return ns;
}

TEST(ScriptFormatting, RegionalSettingsComeFromTheHost) {
    const struct {
        text::NumberSettings numbers;
        const char* expression;
        const char* expected;  // TypeName:text, or #number:description
    } cases[] = {
        {European(), "FormatNumber(1234567.891)", "String:1.234.567,891"},
        {European(), "FormatNumber(1234567.891, 1)", "String:1.234.567,9"},
        {European(), "FormatNumber(-0.25, 2)", "String:-0,25"},
        {European(), "FormatNumber(1234.5, 0, , , 0)", "String:1235"},
        {European(), "FormatCurrency(1234.5)", "String:1.234,50 \x80"},
        {European(), "FormatCurrency(-5)", "String:-5,00 \x80"},
        {European(), "FormatCurrency(-5, 0, , -1)", "String:(5 \x80)"},
        {European(), "FormatPercent(0.5, 1)", "String:50,0%"},
        // The conversions stay invariant: stored numbers read back alike.
        {European(), "CStr(1.5)", "String:1.5"},
        {European(), "CDbl(\"2.5\") * 2", "Double:5"},
        {FourDigitGroups(0), "FormatCurrency(12345)", "String:kr1 2345.00"},
        {FourDigitGroups(1), "FormatCurrency(12345)", "String:1 2345.00kr"},
        {FourDigitGroups(2), "FormatCurrency(12345)", "String:kr 1 2345.00"},
        {FourDigitGroups(3), "FormatCurrency(12345)", "String:1 2345.00 kr"},
        {FourDigitGroups(0), "FormatNumber(0.5)", "String:.50"},
    };
    for (const auto& c : cases) {
        RegionHost host(c.numbers);
        Engine engine(&host);
        EXPECT_EQ(Show(engine, c.expression), c.expected) << c.expression;
    }
}

}  // namespace
}  // namespace script
