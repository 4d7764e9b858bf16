// UpdatePrompt: the prompt box text and the command box's mode follow
// ConsoleState. The table of states is PromptFor; UpdatePrompt applies a row
// to the bar and ends with ApplySettings.
#pragma once

#include <optional>
#include <string>

#include "interpreter/console_state.h"
#include "platform/bar_window.h"

namespace vantrel {

// What the prompt line is made from, beyond ConsoleState.
struct PromptContext {
    std::string currentDirectory;
    std::string accountUser;   // the account-id command's user name
    std::string remoteHost;    // the console this one is linked to
    std::string remotePrompt;  // the last prompt it sent
    std::string peerAddress;   // the client this console serves
    bool privateMode = false;  // PRIVATE ON: the local prompt says so
    bool encrypted = false;    // the link to the peer
};

// One row of the table; an empty field leaves that part as it is.
struct PromptLine {
    std::optional<std::string> prompt;
    std::optional<std::string> commandText;
    std::optional<char> passwordChar;  // '\0' shows typed text as it is
    std::optional<bool> locked;
    std::optional<std::string> toClient;  // sent to a served client, no line end

    bool operator==(const PromptLine&) const = default;
};

PromptLine PromptFor(ConsoleState state, const PromptContext& context);

// Applies PromptFor's row to the bar; the text for a served client is the
// caller's to send.
void ApplyPromptLine(BarWindow& bar, const PromptLine& line);

}  // namespace vantrel
