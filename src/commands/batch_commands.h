// Managing the user's batch files in the shortcut folder: ADDBATCH and
// ADDSEARCH write them from a template, EDITBATCH opens one in the text
// editor, DELBATCH deletes one, and SHORTCUTS makes the folder current.
#pragma once

#include <string>

namespace vantrel {

class Interpreter;
struct Command;

// A name without folder and without the ".dcb" ending (compared in lower
// case only, so "x.DCB" becomes "x.DCB.dcb"), and no device's ("com1.dcb"
// would be the serial port).
bool IsValidBatchName(const std::string& name);

void AddBatchCommand(Interpreter& in, const Command& c);
void AddSearchCommand(Interpreter& in, const Command& c);
void EditBatchCommand(Interpreter& in, const Command& c);
void DelBatchCommand(Interpreter& in, const Command& c);
void ShortcutsCommand(Interpreter& in, const Command& c);

}  // namespace vantrel
