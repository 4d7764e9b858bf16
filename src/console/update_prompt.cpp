#include "console/update_prompt.h"

#include "remote/remote_link.h"

namespace vantrel {

namespace {

constexpr char kCancelHint[] = " (press F10 to cancel)";
constexpr char kServeHint[] = " (press F10 to kick or CTRL+F10 to ban)";
constexpr char kPrivateMark[] = "(private) ";
constexpr char kEncryptedMark[] = " (encrypted)";

}  // namespace

PromptLine PromptFor(ConsoleState state, const PromptContext& c) {
    PromptLine line;
    switch (state) {
        case kLocal:
            line.prompt = (c.privateMode ? kPrivateMark : "") + c.currentDirectory + ">";
            line.passwordChar = '\0';
            line.locked = false;
            break;
        case kAccountPassword:
            line.prompt = c.accountUser + " password>";
            line.passwordChar = '*';
            line.locked = false;
            break;
        case kConnecting:
            line.prompt = "Connecting to " + c.remoteHost + " . . . ";
            line.commandText = kCancelHint;
            line.locked = true;
            break;
        case kRemotePassword:
            line.prompt = c.remoteHost + ": Password>";
            line.passwordChar = '*';
            line.locked = false;
            break;
        case kRemoteLink:
            line.prompt =
                c.remoteHost + (c.encrypted ? kEncryptedMark : "") + ": " + c.remotePrompt;
            line.passwordChar = '\0';
            line.locked = false;
            break;
        case kDisconnecting:
            break;
        case kSending:
            line.locked = true;
            break;
        case kAwaitingLogin:
            line.prompt = "Serving " + c.peerAddress + (c.encrypted ? kEncryptedMark : "");
            line.commandText = kServeHint;
            line.locked = true;
            line.toClient = kPasswordPrompt;
            break;
        case kServing:
            line.prompt = "Serving " + c.peerAddress + (c.encrypted ? kEncryptedMark : "");
            line.commandText = kServeHint;
            line.locked = true;
            line.toClient = c.currentDirectory + ">";
            break;
    }
    return line;
}

void ApplyPromptLine(BarWindow& bar, const PromptLine& line) {
    if (line.prompt) bar.SetPromptText(*line.prompt);
    if (line.commandText) bar.SetCommandText(*line.commandText);
    if (line.passwordChar) bar.SetPasswordChar(*line.passwordChar);
    if (line.locked) bar.SetCommandLocked(*line.locked);
}

}  // namespace vantrel
