// The regional number settings, on their own: the system's clock gives them
// and the script engine's formats and DIR's sizes follow them.
#pragma once

#include <string>
#include <string_view>

namespace text {

// The regional number settings that FormatNumber, FormatCurrency and
// FormatPercent follow; the defaults are US English. (CStr, CDbl and the
// other conversions stay invariant, so text the console stores as numbers
// reads back the same whatever the region.)
struct NumberSettings {
    std::string decimal = ".";
    std::string grouping = ",";   // between groups of the whole part
    int groupSize = 3;            // digits per group; 0 for none
    int digits = 2;               // decimals when the call gives none
    bool leadingZero = true;      // "0.5" rather than ".5"
    bool negativeParens = false;  // "(1.5)" rather than "-1.5"
    std::string currency = "$";
    int currencyDigits = 2;
    // Where the symbol stands: 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $".
    int currencyPlacement = 0;
    bool currencyNegativeParens = true;
};

// The digits of a whole number with the separator between groups of size
// digits, counted from the right: "1234567" in threes with "," is
// "1,234,567". No groups when size is 0 or less.
std::string GroupDigits(std::string_view digits, std::string_view separator, int size);

}  // namespace text
