#include "commands/output_commands.h"

#include "commands/variable_commands.h"
#include "interpreter/interpreter.h"
#include "interpreter/settings.h"

namespace vantrel {

void ClsCommand(Interpreter& in, const Command&) {
    in.PrintOut("\f");
}

void KeepOutputCommand(Interpreter& in, const Command& c) {
    SwitchSetting(in, c, settings::kOutputKeep, "KEEP OUTPUT is ",
                  c.argsLower.empty() && SettingIsOne(in, settings::kOutputKeep));
}

void EnterButtonCommand(Interpreter& in, const Command& c) {
    SwitchSetting(in, c, settings::kEnterButton, "ENTER BUTTON is ",
                  c.argsLower.empty() && in.SettingOn(settings::kEnterButton));
}

}  // namespace vantrel
