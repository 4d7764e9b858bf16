// The console that runs the interpreter, as the interpreter and the built-in
// commands see it: the prompt at the end of every line, the bar's placement,
// ending the program, the maker's-site account and the remote link. The
// console owns all of that state and implements this; tests record the calls.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/console_window.h"

namespace vantrel {

// The account of the maker's site (ORID), held in memory only.
struct SiteAccount {
    std::string user;
    std::string pass;
};

// The narrowest a floating bar may be, in pixels: WINPOS refuses less and a
// drag stops there.
inline constexpr int kMinFloatingWidthPixels = 80;

// The bar's placement, as DOCK, HIDE, SHOW and SAVEPOS reach it. Dock
// changes the DockState and moves only a visible bar; ShowWin docks at the
// DockState's edge; HideWin gives the edge back.
class WindowPlacement {
  public:
    virtual DockState Docking() const = 0;
    virtual void Dock(DockState where) = 0;
    // Dock on a chosen monitor: the one holding the point, else the
    // primary. Dock itself docks on the monitor the bar is on.
    virtual void DockOn(DockState where, Point monitorPoint) = 0;
    // The top-left corner of the monitor the docked bar is on, when that is
    // not the primary one (where every start docks): a saved placement
    // names it.
    virtual std::optional<Point> DockedMonitor() const = 0;
    virtual void ShowWin() = 0;
    virtual void HideWin() = 0;

  protected:
    ~WindowPlacement() = default;
};

// LISTEN, CONNECT and DISCONNECT, arguments as typed ("" when absent).
class RemoteConsole {
  public:
    virtual void Listen(const std::string& port, const std::string& password) = 0;
    // False when the port is not 1 or more.
    virtual bool Connect(const std::string& address, const std::string& password) = 0;
    virtual void Disconnect() = 0;
    // LINKKEY: the fingerprint of this console's link key and the key
    // itself, as another console's LinkKeys.txt lists it; false, with *why,
    // when there is no key to be had.
    virtual bool LinkKeyText(std::string* fingerprint, std::string* key, std::string* why) = 0;
    // LINKKEY FORGET host:port: the servers' keys forgotten, -1 when the
    // file could not be written.
    virtual int ForgetServer(const std::string& hostPort) = 0;
    // The client sources under penalty for failed logins, a line each with
    // the seconds left, the most penalised first.
    virtual std::vector<std::string> PenaltyLines() = 0;
    // UNBAN: forgets the penalty of the address's source; whether it had one.
    virtual bool ClearPenalty(const std::string& address) = 0;

  protected:
    ~RemoteConsole() = default;
};

class ConsoleHost {
  public:
    virtual ~ConsoleHost() = default;

    // The start and end of an outermost command line (the lines of batch
    // files run inside it). At the start the command box is locked and the
    // bar shows its busy colours at once; at the end the box is emptied,
    // the prompt and layout follow the console's state, and input that
    // arrived meanwhile gets its turn.
    virtual void LineStarted() = 0;
    virtual void LineEnded() = 0;
    // Called often while a line runs. At a human pace the console repaints,
    // shows the line being run and the output so far, answers the window
    // system and takes the keys and messages that ask the line to stop.
    virtual void KeepAlive() = 0;
    // The prompt for the console's state, then the bar's layout and colours.
    virtual void UpdatePrompt() = 0;
    // Shows the output that waits for the next tick in the local pane now:
    // a client about to be served gets none of what was printed before.
    virtual void ShowPendingOutput() = 0;
    // EXIT: shutdown, then the process ends.
    virtual void Exit() = 0;

    virtual WindowPlacement& Placement() = 0;

    virtual SiteAccount& Account() = 0;
    // The next line typed in the command box is the account's password.
    virtual void AskAccountPassword() = 0;

    // The remote link; nullptr for a console without a socket, which has
    // none.
    virtual RemoteConsole* Remote() = 0;

    // Private mode, for this session only: while it is on, the history
    // keeps what is typed in memory and writes nothing of it to a file, and
    // the prompt says so.
    virtual bool Private() const = 0;
    virtual void SetPrivate(bool on) = 0;
};

}  // namespace vantrel
