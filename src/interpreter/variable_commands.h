// Commands that work with variables, expressions, the environment and the
// clock: SET, LET, ENV, URLHEX, VB, PRINT, ECHO, TIME, DATE, NOW.
#pragma once

namespace vantrel {

class Interpreter;
struct Command;

void Set(Interpreter& in, const Command& c);
void Let(Interpreter& in, const Command& c);
void Env(Interpreter& in, const Command& c);
void UrlHexCommand(Interpreter& in, const Command& c);
void Vb(Interpreter& in, const Command& c);
void Print(Interpreter& in, const Command& c);
void Echo(Interpreter& in, const Command& c);
void Time(Interpreter& in, const Command& c);
void Date(Interpreter& in, const Command& c);
void Now(Interpreter& in, const Command& c);

// Whether a setting's text is exactly the number 1 (reports say "on" then).
bool SettingIsOne(Interpreter& in, const char* name);

}  // namespace vantrel
