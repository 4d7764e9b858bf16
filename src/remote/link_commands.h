// The remote console's commands: LISTEN, CONNECT, DISCONNECT, BAN, UNBAN.
// Without a socket attached (tests of other parts) the link commands check
// their arguments and do nothing else.
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
