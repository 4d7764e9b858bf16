// The regional number settings, on their own: the system's clock gives them
// and the script engine's formats follow them.
#pragma once

#include <string>

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

}  // namespace text
