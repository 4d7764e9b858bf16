#pragma once

#include <cstdint>
#include <string>

#include "text/date_order.h"
#include "text/number_settings.h"

namespace vantrel {

struct LocalTime {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

// The system clock and its regional text forms: dates, times and numbers.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual LocalTime Now() const = 0;
    // A count of milliseconds that only goes forward, for timing work.
    virtual std::uint64_t Milliseconds() const = 0;
    // Sets the system's local date and time; false when the system refuses.
    virtual bool SetNow(const LocalTime& time) = 0;
    // The regional short date, long date and long time texts.
    virtual std::string FormatDate(const LocalTime& time) const = 0;
    // The order FormatDate puts day, month and year in, which is also the
    // order a typed date is read in; month first where a system has none.
    virtual text::DateOrder ShortDateOrder() const { return text::DateOrder::kMonthDayYear; }
    virtual std::string FormatLongDate(const LocalTime& time) const = 0;
    virtual std::string FormatTime(const LocalTime& time) const = 0;
    // The regional separators, decimals and currency of formatted numbers;
    // US English where a system has none of its own.
    virtual text::NumberSettings Numbers() const { return text::NumberSettings(); }
};

}  // namespace vantrel
