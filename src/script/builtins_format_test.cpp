#include <gtest/gtest.h>

#include "script/test_util.h"
#include "text/number_settings.h"

namespace script {
namespace {

struct FormatCase {
    const char* expression;
    const char* expected;  // TypeName:text, or #number:description
};

void Check(Engine& engine, const FormatCase* cases, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        EXPECT_EQ(Show(engine, cases[i].expression), cases[i].expected) << cases[i].expression;
    }
}

TEST(ScriptFormatting, UsDefaults) {
    const FormatCase cases[] = {
        {"FormatNumber(1234567.891)", "String:1,234,567.89"},
        {"FormatNumber(-1234.5, 1)", "String:-1,234.5"},
        {"FormatNumber(0.5, 2, 0)", "String:.50"},
        {"FormatNumber(-0.5, 2, , -1)", "String:(0.50)"},
        {"FormatNumber(1234.5, 0, , , 0)", "String:1235"},
        {"FormatNumber(-0.001, 2)", "String:0.00"},
        {"FormatCurrency(1234.5)", "String:$1,234.50"},
        {"FormatCurrency(-5)", "String:($5.00)"},
        {"FormatCurrency(-5, 2, , 0)", "String:-$5.00"},
        {"FormatPercent(0.256)", "String:25.60%"},
        {"FormatPercent(-0.5, 0, , -1)", "String:(50%)"},
        {"FormatNumber(1, 256)", "#5:Invalid procedure call or argument"},
        {"FormatNumber(Null)", "#13:Type mismatch"},
    };
    Engine engine;
    Check(engine, cases, std::size(cases));
}

// A host in a region that writes 1.234.567,89 and puts the currency symbol
// after the amount.
class EuropeanHost : public Host {
  public:
    text::NumberSettings Numbers() const override {
        text::NumberSettings ns;
        ns.decimal = ",";
        ns.grouping = ".";
        ns.currency = "\x80";  // the euro sign in Windows-1252
        ns.currencyPlacement = 3;
        ns.currencyNegativeParens = false;
        ns.digits = 3;
        return ns;
    }
};

TEST(ScriptFormatting, RegionalSettingsComeFromTheHost) {
    const FormatCase cases[] = {
        {"FormatNumber(1234567.891)", "String:1.234.567,891"},
        {"FormatNumber(1234567.891, 1)", "String:1.234.567,9"},
        {"FormatNumber(-0.25, 2)", "String:-0,25"},
        {"FormatNumber(1234.5, 0, , , 0)", "String:1235"},
        {"FormatCurrency(1234.5)", "String:1.234,50 \x80"},
        {"FormatCurrency(-5)", "String:-5,00 \x80"},
        {"FormatCurrency(-5, 0, , -1)", "String:(5 \x80)"},
        {"FormatPercent(0.5, 1)", "String:50,0%"},
        // The conversions stay invariant: stored numbers read back alike.
        {"CStr(1.5)", "String:1.5"},
        {"CDbl(\"2.5\") * 2", "Double:5"},
    };
    EuropeanHost host;
    Engine engine(&host);
    Check(engine, cases, std::size(cases));
}

TEST(ScriptFormatting, GroupsOfAnotherSizeAndSymbolPlacements) {
    class Host2 : public Host {
      public:
        explicit Host2(int placement) : placement_(placement) {}
        text::NumberSettings Numbers() const override {
            text::NumberSettings ns;
            ns.grouping = " ";
            ns.groupSize = 4;
            ns.currency = "kr";
            ns.currencyPlacement = placement_;
            ns.leadingZero = false;
            return ns;
        }

      private:
        int placement_;
    };
    const char* const expected[] = {"String:kr1 2345.00", "String:1 2345.00kr",
                                    "String:kr 1 2345.00", "String:1 2345.00 kr"};
    for (int placement = 0; placement < 4; ++placement) {
        Host2 host(placement);
        Engine engine(&host);
        EXPECT_EQ(Show(engine, "FormatCurrency(12345)"), expected[placement]) << placement;
        EXPECT_EQ(Show(engine, "FormatNumber(0.5)"), "String:.50") << placement;
    }
}

}  // namespace
}  // namespace script
