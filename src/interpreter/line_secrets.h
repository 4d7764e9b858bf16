// What the history and the link transcript may keep of a line. A password
// given to a command (the argument its row calls one: LISTEN's, CONNECT's,
// ORID's) is kept as a mask; a line whose words name a secret ("MyApiToken=...") is kept in
// memory only, as shells' line editors do; a line typed with a blank first
// is the user's "do not remember this". A line whose command word is a
// marker's is kept in memory only too: its command is not known before it
// runs.
#pragma once

#include <string>
#include <string_view>

#include "interpreter/command_line.h"
#include "interpreter/dispatch.h"

namespace vantrel {

// What stands for a password in a remembered line.
inline constexpr char kSecretMask[] = "********";

// A line typed with a blank first.
bool KeptPrivate(std::string_view line);

// Whether a word of the line names a secret: "password", "passwd", "pwd",
// "token", "apikey" or "secret", in any case, inside a word too.
bool NamesSecret(std::string_view line);

// Whether a command of the line takes its word from a marker (split at the
// separator as the interpreter splits it): which command runs, and so which
// of its words is a password, is known only once the marker is expanded, so
// such a line is kept as one naming a secret is: in memory only.
bool WordFromMarker(std::string_view line, const LineMarkers& markers);

// Whether a command of the line is one whose row is unrecorded (PRIVATE):
// such a line is browsed in this session only.
bool Unrecorded(std::string_view line, const LineMarkers& markers, const CommandTable& table);

// Where the first password of the line begins: in the first command (split
// at the separator as the interpreter splits it) whose row takes one and
// that is given one. npos when none is.
size_t PasswordStart(std::string_view line, const LineMarkers& markers, const CommandTable& table);

// The line as it may be remembered: from its first password to its end
// everything is replaced by kSecretMask. A password holding the separator
// would otherwise leave its second half in the clear.
std::string MaskSecrets(std::string_view line, const LineMarkers& markers,
                        const CommandTable& table);

}  // namespace vantrel
