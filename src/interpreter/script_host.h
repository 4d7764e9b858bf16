// Gives scripts the console's clock and its regional date, time and number
// texts, its message and input boxes, and lets a long script keep the
// console alive and be stopped.
#pragma once

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "script/host.h"
#include "text/number_settings.h"

namespace vantrel {

// The title of a box whose script gives none.
inline constexpr char kApplicationName[] = "Vantrel";

// The MsgBox options a box honours: the buttons (vbOKOnly to vbRetryCancel),
// the icon, the default button, the modality, and the help button,
// foreground, topmost, right-aligned and right-to-left options. Other bits
// ask for service and desktop behaviour that a script has no business with.
inline constexpr int kMsgBoxButtons = 0xF;
inline constexpr int kMsgBoxLastButtons = 5;  // vbRetryCancel
inline constexpr int kMsgBoxOptions =
    0xF0 | 0xF00 | 0x3000 | 0x4000 | 0x10000 | 0x40000 | 0x80000 | 0x100000;

// What the script host asks of the interpreter that runs the script.
class ScriptLine {
  public:
    // Answers the engine's KeepGoing: false stops the script.
    virtual bool KeepGoing() = 0;
    // Whether a command line runs: only a line waits for a box.
    virtual bool Running() const = 0;

  protected:
    ~ScriptLine() = default;
};

class ConsoleScriptHost : public script::Host {
  public:
    ConsoleScriptHost(Clock& clock, Dialogs& dialogs, ScriptLine& line)
        : clock_(clock), dialogs_(dialogs), line_(line) {}

    double Now() const override;
    std::string FormatDate(const script::DateParts& d) const override;
    std::string FormatLongDate(const script::DateParts& d) const override;
    std::string FormatTime(const script::DateParts& d) const override;
    text::DateOrder ShortDateOrder() const override { return clock_.ShortDateOrder(); }
    text::NumberSettings Numbers() const override { return clock_.Numbers(); }
    bool KeepGoing() override;

    std::string ApplicationName() const override { return kApplicationName; }
    int MsgBox(std::string_view prompt, int buttons, std::string_view title) override;
    bool InputBox(std::string_view prompt, std::string_view title, std::string_view defaultText,
                  const script::BoxPosition& position, std::string* answer) override;
    // While a box is up its own modal loop runs the window system inside
    // the running line: the console then neither pumps nor starts anything.
    bool DialogOpen() const { return openDialogs_ > 0; }

  private:
    Clock& clock_;
    Dialogs& dialogs_;
    ScriptLine& line_;
    int openDialogs_ = 0;
};

// The style a message box is asked with: the buttons and options a box
// honours; buttons beyond vbRetryCancel show OK alone.
int MsgBoxStyle(int buttons);

// Days since 1899-12-30 with the time of day as the fraction.
double ToSerialDate(const LocalTime& time);
LocalTime FromDateParts(const script::DateParts& d);

}  // namespace vantrel
