// The remote console's commands: LISTEN, CONNECT, DISCONNECT, BAN, UNBAN,
// LINKKEY.
// The link itself belongs to the console; BAN and UNBAN edit Ban.txt.
#pragma once

#include <string_view>

namespace vantrel {

class Interpreter;
struct Command;

void ListenCommand(Interpreter& in, const Command& c);
void ConnectCommand(Interpreter& in, const Command& c);
void DisconnectCommand(Interpreter& in, const Command& c);
void BanCommand(Interpreter& in, const Command& c);
void UnbanCommand(Interpreter& in, const Command& c);
void LinkKeyCommand(Interpreter& in, const Command& c);

// Whether a line typed while linked to another console is DISCONNECT alone,
// which ends the link rather than waiting for the peer's answer.
bool EndsTheLink(std::string_view line);

}  // namespace vantrel
