// Gives scripts the console's clock and its regional date, time and number
// texts, and lets a long script keep the console alive and be stopped.
#pragma once

#include <functional>

#include "platform/clock.h"
#include "script/host.h"

namespace vantrel {

class ConsoleScriptHost : public script::Host {
  public:
    // keepGoing answers KeepGoing: false stops the script.
    ConsoleScriptHost(Clock& clock, std::function<bool()> keepGoing)
        : clock_(clock), keepGoing_(std::move(keepGoing)) {}

    double Now() const override;
    std::string FormatDate(const script::DateParts& d) const override;
    std::string FormatLongDate(const script::DateParts& d) const override;
    std::string FormatTime(const script::DateParts& d) const override;
    script::NumberSettings Numbers() const override { return clock_.Numbers(); }
    bool KeepGoing() override;

  private:
    Clock& clock_;
    std::function<bool()> keepGoing_;
};

// Days since 1899-12-30 with the time of day as the fraction.
double ToSerialDate(const LocalTime& time);
LocalTime FromDateParts(const script::DateParts& d);

}  // namespace vantrel
