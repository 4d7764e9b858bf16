// The order the regional short date puts day, month and year in: dates are
// written in it and typed dates are read in it.
#pragma once

namespace text {

enum class DateOrder {
    kMonthDayYear,  // US English, the default: 2/1/2026 is February 1
    kDayMonthYear,  // 01/02/2026 is 1 February
    kYearMonthDay,  // 2026/02/01
};

}  // namespace text
