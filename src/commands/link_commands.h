// The remote console's commands: LISTEN, CONNECT, DISCONNECT, BAN, UNBAN.
// The link itself belongs to the console; BAN and UNBAN edit Ban.txt.
#pragma once

namespace vantrel {

class Interpreter;
struct Command;

void ListenCommand(Interpreter& in, const Command& c);
void ConnectCommand(Interpreter& in, const Command& c);
void DisconnectCommand(Interpreter& in, const Command& c);
void BanCommand(Interpreter& in, const Command& c);
void UnbanCommand(Interpreter& in, const Command& c);

}  // namespace vantrel
