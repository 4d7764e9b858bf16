// What the embedding program supplies to scripts: the clock, the regional
// date and time texts, and the user-facing calls (MsgBox, InputBox, Echo).
// Every method has a portable default, so Host itself is usable as is.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "text/date_order.h"
#include "text/number_settings.h"

namespace script {

struct DateParts {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
};

// Where an input box asks to stand: its top-left corner in twips from the
// screen's top-left corner. A coordinate left out centres the box across the
// screen, or puts it about a third of the way down.
struct BoxPosition {
    std::optional<int32_t> x;
    std::optional<int32_t> y;
};

class Host {
  public:
    virtual ~Host() = default;

    // Local time as an OLE Automation date: days since 1899-12-30, the
    // fraction the time of day. The default reads std::chrono's local time.
    virtual double Now() const;

    // The regional short date; the default is US English, M/D/YYYY.
    virtual std::string FormatDate(const DateParts& d) const;
    // The regional long time; the default is US English, h:mm:ss AM/PM.
    virtual std::string FormatTime(const DateParts& d) const;
    // The regional long date; the default is "dddd, mmmm d, yyyy".
    virtual std::string FormatLongDate(const DateParts& d) const;
    // The short time is always 24-hour hh:mm in VBScript, but a host may differ.
    virtual std::string FormatShortTime(const DateParts& d) const;
    // The order FormatDate writes day, month and year in; the default is US
    // English, month first.
    virtual text::DateOrder ShortDateOrder() const;
    // Reads a date and/or time text into an OLE date, in the order of
    // ShortDateOrder (see ParseDate of dates.h), a date without a year in
    // the year of Now. False when the text is not a date.
    bool ParseDate(std::string_view text, double* serial) const;
    // The regional separators, symbol and defaults for formatted numbers.
    virtual text::NumberSettings Numbers() const;

    // Text a script writes with WScript.Echo-style output; dropped by default.
    virtual void Echo(std::string_view text);
    // The title of a message or input box that the script gives none: the
    // name of the program that runs the script ("VBScript" by default).
    virtual std::string ApplicationName() const;
    // A message box: buttons/title as MsgBox takes them; returns the button
    // pressed (vbOK = 1 by default, as if the user accepted at once).
    virtual int MsgBox(std::string_view prompt, int buttons, std::string_view title);
    // Asked now and then while a script runs (at loop turns and calls): the
    // host keeps its program alive, and false stops the script with error 18
    // "User interrupt occurred". The default goes on.
    virtual bool KeepGoing();
    // An input box; false when cancelled. The default accepts the default text.
    virtual bool InputBox(std::string_view prompt, std::string_view title,
                          std::string_view defaultText, const BoxPosition& position,
                          std::string* answer);
};

}  // namespace script
