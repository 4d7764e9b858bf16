// The everyday file commands of a DOS prompt, without the system command
// interpreter: DIR, COPY, MOVE, RENAME, DEL, TYPE, EDIT and PATH.
// They act on the current folder; failures print the platform's own
// description of the error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/file_system.h"

namespace vantrel {

class Interpreter;
struct Command;

// DIR's columns as the clock's regional forms make them.
struct DirColumns {
    // The longest date and time the forms write, so that every line's "|"
    // stand under the header's.
    size_t dateWidth;
    std::string separator;  // between the thousands of a size
};
DirColumns DirColumnsOf(const Clock& clock);
// One line of DIR's listing: the regional date and time right-aligned in the
// date column, the size (or "<DIR>") with its thousands grouped, and the
// name.
std::string FormatDirEntry(const FileEntry& entry, const Clock& clock, const DirColumns& columns);
// A byte count with its thousands grouped by a separator: 1234567 with ","
// is "1,234,567".
std::string GroupThousands(std::int64_t value, std::string_view separator);

// Prints a text's lines as output lines.
void PrintTextLines(Interpreter& in, std::string_view text);
// The line that follows the first limit bytes of a longer `what`.
std::string OnlyFirstBytesLine(std::size_t limit, const char* what);

// Prints the lines of a text file's first limit bytes as output lines (a
// UTF-8 or UTF-16 file as such, any other in the legacy code page), and
// then, when the file is longer, OnlyFirstBytesLine. False, with the
// platform's description, when the file cannot be read.
bool PrintFileStart(Interpreter& in, const std::string& path, std::size_t limit, const char* what,
                    std::string* err);

void DirCommand(Interpreter& in, const Command& c);
void CopyCommand(Interpreter& in, const Command& c);
void MoveCommand(Interpreter& in, const Command& c);
void RenameCommand(Interpreter& in, const Command& c);
void DelCommand(Interpreter& in, const Command& c);
void TypeCommand(Interpreter& in, const Command& c);
void EditCommand(Interpreter& in, const Command& c);
void PathCommand(Interpreter& in, const Command& c);

}  // namespace vantrel
