// The current drive and folder, and making and removing folders: the drive
// form ("d:"), CD, CDD, MD and RD.
#pragma once

namespace vantrel {

class Interpreter;
struct Command;

void ChangeDriveCommand(Interpreter& in, const Command& c);
void CdCommand(Interpreter& in, const Command& c);
void CddCommand(Interpreter& in, const Command& c);
void MdCommand(Interpreter& in, const Command& c);
void RdCommand(Interpreter& in, const Command& c);

}  // namespace vantrel
