// The everyday file commands of a DOS prompt, without the system command
// interpreter: MD, RD, DIR, COPY, MOVE, RENAME, DEL, TYPE, EDIT and PATH.
// They act on the current folder; failures print the platform's own
// description of the error.
#pragma once

#include <cstdint>
#include <string>

#include "platform/file_system.h"

namespace vantrel {

class Interpreter;
struct Command;

// One line of DIR's listing: date, size (or "<DIR>") and name in the
// columns of its header.
std::string FormatDirEntry(const FileEntry& entry);
// A byte count with its thousands grouped by ",": 1234567 is "1,234,567".
std::string GroupThousands(std::int64_t value);

// Prints a text file's lines as output lines. A line may not hold a zero
// byte, which would cut it short in the pane, so each one shows as a blank.
void PrintTextLines(Interpreter& in, const std::string& text);

void Md(Interpreter& in, const Command& c);
void Rd(Interpreter& in, const Command& c);
void Dir(Interpreter& in, const Command& c);
void Copy(Interpreter& in, const Command& c);
void Move(Interpreter& in, const Command& c);
void Rename(Interpreter& in, const Command& c);
void Del(Interpreter& in, const Command& c);
void Type(Interpreter& in, const Command& c);
void Edit(Interpreter& in, const Command& c);
void Path(Interpreter& in, const Command& c);

}  // namespace vantrel
