// Changing the current drive and folder: the drive form ("d:"), CD and CDD.
#pragma once

namespace vantrel {

class Interpreter;
struct Command;

void ChangeDriveCommand(Interpreter& in, const Command& c);
void Cd(Interpreter& in, const Command& c);
void Cdd(Interpreter& in, const Command& c);

}  // namespace vantrel
