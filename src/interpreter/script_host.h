// Gives scripts the console's clock and its regional date, time and number
// texts.
#pragma once

#include "platform/clock.h"
#include "script/host.h"

namespace vantrel {

class ClockScriptHost : public script::Host {
  public:
    explicit ClockScriptHost(Clock& clock) : clock_(clock) {}

    double Now() const override;
    std::string FormatDate(const script::DateParts& d) const override;
    std::string FormatTime(const script::DateParts& d) const override;
    script::NumberSettings Numbers() const override { return clock_.Numbers(); }

  private:
    Clock& clock_;
};

// Days since 1899-12-30 with the time of day as the fraction.
double ToSerialDate(const LocalTime& time);
LocalTime FromDateParts(const script::DateParts& d);

}  // namespace vantrel
