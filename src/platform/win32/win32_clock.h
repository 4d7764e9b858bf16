#pragma once

#include "platform/clock.h"
#include "text/date_order.h"
#include "text/number_settings.h"

namespace vantrel::win32 {

// The local clock and the user's regional short date, time and number
// formats.
class Win32Clock : public Clock {
  public:
    LocalTime Now() const override;
    std::uint64_t Milliseconds() const override;
    bool SetNow(const LocalTime& time) override;
    std::string FormatDate(const LocalTime& time) const override;
    text::DateOrder ShortDateOrder() const override;
    std::string FormatLongDate(const LocalTime& time) const override;
    std::string FormatTime(const LocalTime& time) const override;
    text::NumberSettings Numbers() const override;
};

// The number settings of one locale; those the locale lacks keep their US
// defaults.
text::NumberSettings NumberSettingsOf(unsigned long locale);
// The order of one locale's short date.
text::DateOrder DateOrderOf(unsigned long locale);

}  // namespace vantrel::win32
