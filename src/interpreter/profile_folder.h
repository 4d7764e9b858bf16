// The user's own folder of the console, "%APPDATA%\Orvane\Vantrel": the
// history, the run counts and the link's keys live there, each user's to
// himself (the shortcut folder is the computer's, under ProgramData).
#pragma once

#include <string>

namespace vantrel {

class Interpreter;

// "" when the environment names no APPDATA.
std::string ProfileFolder(const Interpreter& in);
// Makes the folder (and Orvane above it) when it is not there yet; false
// when there is none to make.
bool MakeProfileFolder(Interpreter& in);

}  // namespace vantrel
