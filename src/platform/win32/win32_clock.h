#pragma once

#include "platform/clock.h"

namespace vantrel::win32 {

// The local clock and the user's regional short date and time formats.
class Win32Clock : public Clock {
  public:
    LocalTime Now() const override;
    bool SetNow(const LocalTime& time) override;
    std::string FormatDate(const LocalTime& time) const override;
    std::string FormatTime(const LocalTime& time) const override;
};

}  // namespace vantrel::win32
