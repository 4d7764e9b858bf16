// Commands that work with variables, expressions and the environment: SET,
// LET, ENV, URLHEX, VB, PRINT and ECHO.
#pragma once

#include <string>

namespace vantrel {

class Interpreter;
struct Command;

void SetCommand(Interpreter& in, const Command& c);
void LetCommand(Interpreter& in, const Command& c);
void EnvCommand(Interpreter& in, const Command& c);
void UrlHexCommand(Interpreter& in, const Command& c);
void VbCommand(Interpreter& in, const Command& c);
void PrintCommand(Interpreter& in, const Command& c);
void EchoCommand(Interpreter& in, const Command& c);

// The ON/OFF switches: no argument prints the report followed by "on" or
// "off" as on says, ON and OFF set the variable to "1" or "0", anything
// else is misuse.
void SwitchSetting(Interpreter& in, const Command& c, const char* variable,
                   const std::string& report, bool on);

// Whether a setting's text is exactly the number 1 (reports say "on" then).
bool SettingIsOne(Interpreter& in, const char* name);

}  // namespace vantrel
