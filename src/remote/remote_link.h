// The remote console's link: LISTEN, CONNECT and DISCONNECT, the socket's
// events, the line protocol in both directions, the login check and the
// kick and ban keys. The console holds the ConsoleState and hands the link
// a reference to it; everything else of the link is here.
//
// The wire carries the legacy ANSI code page, one byte a character, as
// every console that speaks this protocol expects; the link converts at
// the socket, so that the rest of the console only ever sees its own text.
// Two consoles of this version do not switch to UTF-8 between themselves:
// nothing in the protocol lets one ask the other without the asking line
// doing something at a peer that does not know it. Before the login every
// line a server gets is a password attempt (counted, and banned after the
// last one); after it every line runs as a command, and a word no command
// knows is opened through the shell, answers "Invalid command, filename or
// URL" and clears the client's pane. A server cannot offer it first either:
// every line it sends shows in the client's pane.
//
// Every link, served or made, is written to the transcript as it happens
// (LinkTranscript): a console that cannot write it serves nobody. A source
// of failed logins is refused at the knock while its penalty lasts
// (LinkPenalties), and a client's line runs only when every part of it is
// among LinkCommands.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>

#include "interpreter/command_permit.h"
#include "interpreter/console_host.h"
#include "interpreter/console_state.h"
#include "platform/socket.h"
#include "remote/link_penalties.h"
#include "remote/link_transcript.h"
#include "remote/noise_crypto.h"
#include "remote/secure_socket.h"

namespace vantrel {

// The prompt a server sends while it awaits a client's password; a client
// that sees it answers with the password it was given, if any.
inline constexpr char kPasswordPrompt[] = "Password>";

class Interpreter;

class RemoteLink : public SecureEvents, public RemoteConsole {
  public:
    // Takes the socket's events; state is the console's ConsoleState and
    // banFile the path of its ban list. The link's keys are kept in the
    // user's own folder.
    RemoteLink(Interpreter& in, Socket& socket, ConsoleState& state, std::string banFile);
    ~RemoteLink() override;
    RemoteLink(const RemoteLink&) = delete;
    RemoteLink& operator=(const RemoteLink&) = delete;

    // LISTEN port|OFF [password], arguments as typed ("" when absent).
    void Listen(const std::string& portText, const std::string& password) override;
    // CONNECT address[:port] [password]; false when the port is not 1 or
    // more (the password is stored all the same).
    bool Connect(const std::string& address, const std::string& password) override;
    // DISCONNECT: while a client is attached, only its own line can run it.
    void Disconnect() override {
        ResetLink(Attached() ? "the client ran DISCONNECT" : "ended by this console's user");
    }
    // Ends any link or listener, returns to Local, listens again when
    // listening is on, empties the command box and refreshes the prompt.
    // The transcript gives the link's end the reason; a client's link that
    // ended before its login adds to the source's penalty when penalised.
    void ResetLink(std::string_view reason = "ended by this console's user",
                   bool penalised = false);
    // F10 and Ctrl+F10 going down while connecting or serving: drops the
    // link, and Ctrl bans the peer's address. True when the key was taken.
    bool KeyDown(int key, int modifiers);
    bool TakesKey(int key, int modifiers) const;

    // While a line runs, whatever the socket brings waits: received lines
    // and events alike. A client's Ctrl+C (byte 3) is the exception: it
    // stops the line it runs at once. Once the line has ended the console
    // calls this, and what waited gets its turn, in order.
    void ResumeAfterLine();

    // The timer's tick: a client that has not logged in within the time
    // limit is dropped with the autokick's log line; it is never banned.
    void Tick();
    static constexpr std::uint64_t kLoginTimeLimitMs = 60000;
    // How long the lines that waited may run back to back before the
    // windows get a turn.
    static constexpr std::uint64_t kSliceMs = 50;

    // A line typed at this console for the console it is linked to: written
    // to the transcript (a password never, a line naming a secret by its
    // command words alone), then sent.
    void SendTyped(const std::string& line, bool isPassword);

    // Sends text to the peer in the wire's code page; a character that has
    // no byte there goes as "?". A failure shows up as the socket's Error
    // event.
    void Send(const std::string& text);

    std::string PeerAddress() const { return socket_.RemoteHostIP(); }
    // The console this one connects to, and the last prompt it sent.
    const std::string& RemoteHost() const { return remoteHost_; }
    const std::string& RemotePrompt() const { return remotePrompt_; }
    Socket& LinkSocket() { return socket_; }

    // Whether the link to the peer is encrypted.
    bool Encrypted() const { return secure_.Encrypted(); }
    // The console's link key, made on first need; nullptr, with *why, when
    // there is none to be had.
    const noise::KeyPair* LinkKey(std::string* why);
    bool LinkKeyText(std::string* fingerprint, std::string* key, std::string* why) override;
    int ForgetServer(const std::string& hostPort) override;
    std::vector<std::string> PenaltyLines() override;
    bool ClearPenalty(const std::string& address) override;
    // The console ends: the link with it.
    void ShutDown();
    // Removes the transcript's day files older than LinkLogDays.
    void PruneTranscript();

    // SocketEvents.
    bool OnSecured(const noise::Key& peerKey) override;
    void OnConnectionRequest(long requestId) override;
    void OnConnect() override;
    void OnDataArrival(std::size_t bytesTotal) override;
    void OnSendComplete() override;
    void OnClose() override;
    void OnError(int number, const std::string& description) override;

    bool listenOn = false;
    long listenPort = 0;
    std::string listenPassword;
    std::int16_t loginFailures = 0;
    std::string connectPassword;
    std::string receiveBuffer;

  private:
    struct Waiting {
        enum Kind { kLine, kPrompt, kConnectionRequest, kConnect, kSendComplete, kClose, kError };
        Kind kind;
        std::string text = {};  // the line, or the error's description
        long number = 0;        // the request's id, or the error's number
    };
    void Arrive(Waiting waiting);
    void Handle(const Waiting& waiting);
    void TakeArrivedLines(std::string_view data);

    bool Attached() const;
    void ConnectionRequest(long requestId);
    void Connected();
    void SendComplete();
    bool StartListening();
    void PeerAnswered();
    void DispatchLine(const std::string& line);
    void DetectPrompt();
    void LoginCheck(const std::string& line);
    void CountLoginFailure();
    bool FirstKnockThisMinute(const std::string& address);
    // Whether a knocking client is refused (and was): banned, under
    // penalty, or LinkCommands cannot be read. Reads LinkCommands into
    // permit_ for the client that is not.
    bool KnockRefused(const std::string& address, const std::string& knock);
    // Refuses a knocking client: the pane and the transcript say why, once
    // a minute for each address.
    void RefuseKnock(const std::string& address, const std::string& knock,
                     const std::string& recorded, const std::string& logged);
    // The penalty source of the attached client, "" when it is exempt.
    std::string PenaltySourceOf(const std::string& address);
    // Runs a client's line when every part of it may run, and writes it to
    // the transcript first; a line refused is answered with why.
    void ServeLine(const std::string& line);
    // A line as the transcript keeps it: whole, or, when the history would
    // keep it out, by its command words alone.
    std::string RecordedLine(const std::string& line);
    LinkTranscript& Transcript();
    bool WriteEvent(long link, const std::string& text, std::string* why);
    // Writes an event of the link being recorded; a failure on a link this
    // console made is told in the pane once a link (a client's link says
    // it when RecordOrDrop drops the client).
    bool Record(const std::string& event);
    // Writes an event that lets a client be served: its login, a line it
    // runs. A client whose event could not be written is dropped.
    bool RecordOrDrop(const std::string& event);
    // Writes the end of the link being recorded, if any.
    void EndRecord(std::string_view reason);
    // Drops the client and logs it; with mayBan, LoginFailBan bans it too.
    void Autokick(bool mayBan);
    // Bans the address for a failed login; false, said in the pane, when
    // Ban.txt could not be written.
    bool AutoBan(const std::string& address);
    void UpdatePrompt();

    // Ends a link its carriage could not keep: a client's failure counts
    // as a wrong password.
    void CarriageFailed(const std::string& why);
    // " (encrypted)" for the pane's lines about an encrypted link; a line
    // without it is about a link in clear, as the older lines were.
    std::string Carriage() const;
    std::string ProfileFile(const char* name) const;

    Interpreter& in_;
    SecureSocket secure_;
    Socket& socket_ = secure_;
    ConsoleState& state_;
    const std::string banFile_;
    std::optional<noise::KeyPair> linkKey_;
    std::string clientAddress_;   // the attached client's, kept past its socket
    std::string remoteHostPort_;  // as KnownLinks.txt names the server
    std::string remoteHost_;
    std::string remotePrompt_;
    std::deque<Waiting> waiting_;
    bool handlingWaiting_ = false;
    // The received lines that wait, in bytes, and those dropped past the
    // bound since the last were run.
    static constexpr std::size_t kMaxWaitingBytes = 4 << 20;
    std::size_t waitingBytes_ = 0;
    long droppedLines_ = 0;
    // When the attached client was accepted, for the login's time limit.
    std::uint64_t attachedAt_ = 0;
    // When the knock of each banned address was last logged.
    static constexpr std::uint64_t kKnockLogMs = 60000;
    static constexpr std::size_t kMaxKnockers = 1024;
    std::map<std::string, std::uint64_t> knocksLogged_;
    LinkPenalties penalties_;
    // What the attached client may run: LinkCommands as it stood at its
    // knock, so that nothing the client runs can widen it.
    CommandPermit permit_;
    std::optional<LinkTranscript> transcript_;
    // The number of the link being recorded; 0 while there is none.
    long link_ = 0;
    bool recordFailureShown_ = false;
    // Whether the transcript says yet how the attached client's link is
    // carried: encrypted, with its key, or in clear.
    bool carriageRecorded_ = false;
};

// A port argument: the number at the start of the text, rounded, "" or no
// number giving 0; kept within 32-bit range.
long PortNumber(const std::string& text);

// CONNECT's address: host, or host:port, or an IPv6 address bare or as
// [address] or [address]:port. No port: the default one. Nothing when the
// brackets are not closed or something other than ":port" follows them.
struct HostAndPort {
    std::string host;
    std::optional<std::string> port;
};
std::optional<HostAndPort> SplitHostAndPort(const std::string& address);

}  // namespace vantrel
