#include "remote/remote_link.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "interpreter/interpreter.h"
#include "interpreter/line_text.h"
#include "interpreter/profile_folder.h"
#include "interpreter/settings.h"
#include "platform/key_codes.h"
#include "platform/paths.h"
#include "remote/ban_list.h"
#include "remote/ip_address.h"
#include "remote/link_keys.h"
#include "remote/receive_buffer.h"
#include "script/convert.h"

namespace vantrel {

namespace {

constexpr char kLineEnd[] = "\r\n";
constexpr char kCtrlC = '\x03';
constexpr char kPasswordIncorrect[] = "Password incorrect";
constexpr char kAutobanError[] = "Error trying to autoban";
constexpr char kBanError[] = "Error trying to ban";
// The ends of a link, as its transcript names them.
constexpr char kClientLeft[] = "the client left";
constexpr char kServerLeft[] = "the console at the other end closed the link";
constexpr char kIdle[] = "idle: no login within the time";
constexpr char kKicked[] = "kicked by this console's user";
constexpr char kBannedByUser[] = "banned by this console's user";

long long ClampedRound(double value) {
    constexpr double kMax = std::numeric_limits<std::int32_t>::max();
    return static_cast<long long>(script::RoundHalfEven(std::clamp(value, -kMax, kMax)));
}

}  // namespace

long PortNumber(const std::string& text) {
    return static_cast<long>(ClampedRound(LeadingNumber(text)));
}

std::optional<HostAndPort> SplitHostAndPort(const std::string& address) {
    if (!address.empty() && address[0] == '[') {
        const size_t close = address.find(']');
        if (close == std::string::npos) return std::nullopt;
        HostAndPort target{address.substr(1, close - 1), std::nullopt};
        const std::string rest = address.substr(close + 1);
        if (rest.empty()) return target;
        if (rest[0] != ':') return std::nullopt;
        target.port = rest.substr(1);
        return target;
    }
    const size_t colon = address.find(':');
    if (colon == std::string::npos) return HostAndPort{address, std::nullopt};
    if (IsIPv6Text(address)) return HostAndPort{address, std::nullopt};
    return HostAndPort{address.substr(0, colon), address.substr(colon + 1)};
}

RemoteLink::RemoteLink(Interpreter& in, Socket& socket, ConsoleState& state, std::string banFile)
    : in_(in),
      secure_(socket, SecureSocket::Policy{[this](std::string* why) { return LinkKey(why); },
                                           [this] { return in_.SettingOn(settings::kLinkPlain); },
                                           [this] { return in_.SettingOn(settings::kLinkClear); }}),
      state_(state),
      banFile_(std::move(banFile)) {
    socket_.SetEvents(this);
}

std::string RemoteLink::ProfileFile(const char* name) const {
    return JoinPath(ProfileFolder(in_), name);
}

const noise::KeyPair* RemoteLink::LinkKey(std::string* why) {
    if (linkKey_) return &*linkKey_;
    if (!MakeProfileFolder(in_)) {
        *why = "No link key: the environment names no APPDATA folder to keep it in";
        return nullptr;
    }
    noise::KeyPair key;
    if (!LoadLinkKey(in_.Os().files, in_.Os().secrets, ProfileFile(kLinkKeyFileName), &key, why)) {
        return nullptr;
    }
    linkKey_ = key;
    return &*linkKey_;
}

bool RemoteLink::LinkKeyText(std::string* fingerprint, std::string* key, std::string* why) {
    const noise::KeyPair* pair = LinkKey(why);
    if (!pair) return false;
    *fingerprint = Fingerprint(pair->publicKey);
    *key = KeyText(pair->publicKey);
    return true;
}

int RemoteLink::ForgetServer(const std::string& hostPort) {
    return ForgetLink(in_.Os().files, ProfileFile(kKnownLinksFileName), hostPort);
}

void RemoteLink::ShutDown() {
    EndRecord("this console closed");
    socket_.Close();
}

std::string RemoteLink::Carriage() const {
    return Encrypted() ? " (encrypted)" : "";
}

bool RemoteLink::OnSecured(const noise::Key& peerKey) {
    FileSystem& files = in_.Os().files;
    if (Attached()) {
        Record("encrypted, the client's key is " + Fingerprint(peerKey));
        carriageRecorded_ = true;
        if (state_ == kAwaitingLogin && KeyListed(files, ProfileFile(kLinkKeysFileName), peerKey)) {
            if (!RecordOrDrop("logged in by its key")) return false;
            // The log line is this console's own: shown here before the
            // client is served, when output would go to the client.
            in_.PrintOut(LogLine(in_, "Client " + clientAddress_ + " logged in by its key " +
                                          Fingerprint(peerKey) + " (encrypted)"));
            in_.Host().ShowPendingOutput();
            state_ = kServing;
        }
        // The prompt again, encrypted: the one sent in clear was void.
        UpdatePrompt();
        return true;
    }
    Record("encrypted, the server's key is " + Fingerprint(peerKey));
    const std::string known = ProfileFile(kKnownLinksFileName);
    noise::Key remembered{};
    switch (CheckKnownLink(files, known, remoteHostPort_, peerKey, &remembered)) {
        case KnownLink::kSame:
            break;
        case KnownLink::kNew: {
            // The folder is there: the link key that made the handshake is kept in it.
            std::string err;
            const bool kept = RememberLink(files, known, remoteHostPort_, peerKey, &err);
            in_.PrintOut("First link to " + remoteHostPort_ + ": its key is " +
                         Fingerprint(peerKey) +
                         (kept ? ", remembered in " + std::string(kKnownLinksFileName)
                               : ", which could not be remembered (" + err + ")") +
                         " (encrypted)");
            break;
        }
        case KnownLink::kChanged:
            ResetLink("the server's key has changed: nothing was sent");
            in_.PrintOut("The key of " + remoteHostPort_ + " has changed: it was " +
                         Fingerprint(remembered) + " and is now " + Fingerprint(peerKey) +
                         ". Someone may stand between the two consoles, so nothing was sent, not "
                         "even the password. If that console has a new key, forget the old one "
                         "with LINKKEY FORGET " +
                         remoteHostPort_);
            return false;
    }
    UpdatePrompt();
    return true;
}

void RemoteLink::CarriageFailed(const std::string& why) {
    if (!Attached()) {
        ResetLink("broken frame: " + why);
        in_.PrintOut(why);
        return;
    }
    // Whatever went wrong on a client's link counts as a wrong password.
    CountLoginFailure();
    const long long limit = ClampedRound(in_.SettingNumber(settings::kLoginAttempts));
    const bool ban = limit >= 1 && loginFailures >= limit && in_.SettingOn(settings::kLoginFailBan);
    const std::string address = clientAddress_;
    ResetLink("broken frame: " + why + (ban ? ", and too many failed logins" : ""), true);
    const bool banned = ban && AutoBan(address);
    in_.PrintOut(
        LogLine(in_, why + ": client " + address + " dropped" + (banned ? " and banned" : "")));
}

RemoteLink::~RemoteLink() {
    socket_.SetEvents(nullptr);
}

bool RemoteLink::Attached() const {
    return state_ == kAwaitingLogin || state_ == kServing;
}

void RemoteLink::Send(const std::string& text) {
    std::string err;
    socket_.SendData(in_.Os().codePages.ToLegacy(text), &err);
}

void RemoteLink::UpdatePrompt() {
    in_.Host().UpdatePrompt();
}

bool RemoteLink::StartListening() {
    // A port the socket refuses (taken, or not ours to take) leaves the
    // console without a listener: say so, or the user believes it listens.
    // Without a password anyone who reaches the port would be served at
    // once, so only this computer can.
    std::string err;
    socket_.SetLocalPort(listenPort);
    const ListenScope scope =
        listenPassword.empty() ? ListenScope::kThisComputer : ListenScope::kEveryAddress;
    if (socket_.Listen(scope, &err)) return true;
    in_.PrintOut(err);
    return false;
}

void RemoteLink::Listen(const std::string& portText, const std::string& password) {
    if (!Attached()) socket_.Close();
    long port = portText.empty() ? PortNumber(in_.SettingText(settings::kPortDefault))
                                 : PortNumber(portText);
    if (port < 1) {
        listenOn = false;
        return;
    }
    listenOn = true;
    listenPort = port;
    listenPassword = password;
    // While a client is attached the new settings wait for the link's end.
    if (!Attached() && !StartListening()) return;
    if (password.empty()) {
        in_.PrintOut("Listening on port " + std::to_string(port) +
                     " for this computer only; give a password to accept other computers");
    }
    std::string why;
    const noise::KeyPair* key = LinkKey(&why);
    in_.PrintOut(key ? "The link key of this console is " + Fingerprint(key->publicKey) : why);
}

bool RemoteLink::Connect(const std::string& address, const std::string& password) {
    EndRecord("ended by this console's user");
    connectPassword = password;
    const std::optional<HostAndPort> target = SplitHostAndPort(address);
    long port = !target        ? 0
                : target->port ? PortNumber(*target->port)
                               : PortNumber(in_.SettingText(settings::kPortDefault));
    if (port < 1) return false;
    state_ = kConnecting;
    remoteHost_ = target->host;
    remoteHostPort_ = (IsIPv6Text(target->host) ? "[" + target->host + "]" : target->host) + ":" +
                      std::to_string(port);
    socket_.Close();
    socket_.SetLocalPort(0);
    link_ = Transcript().NewLink();
    recordFailureShown_ = false;
    Record("connect to " + remoteHostPort_);
    std::string err;
    // A failure to start is reported by the socket's Error event.
    socket_.Connect(target->host, port, &err);
    return true;
}

void RemoteLink::ResetLink(std::string_view reason, bool penalised) {
    // A client that never logged in is what the penalties are for: the
    // user's own ends (a kick, DISCONNECT, LISTEN) are no client's doing,
    // and a client served without a password had no login to fail.
    if (penalised && state_ == kAwaitingLogin) {
        const std::string source = PenaltySourceOf(clientAddress_);
        if (!source.empty()) {
            penalties_.Add(source, LinkPenalties::kEndedBeforeLogin, in_.Os().clock.Milliseconds());
        }
    }
    EndRecord(reason);
    socket_.Close();
    // A partial line of the peer that is gone must not become the start of
    // the next peer's first line, and what it sent or did while a line ran
    // is dropped with it: a kicked client's lines never run.
    receiveBuffer.clear();
    waiting_.clear();
    waitingBytes_ = 0;
    droppedLines_ = 0;
    state_ = kLocal;
    if (listenOn) StartListening();
    in_.Os().bar.SetCommandText("");
    UpdatePrompt();
}

bool RemoteLink::TakesKey(int key, int modifiers) const {
    return key == kVkF10 && (modifiers == 0 || modifiers == kModCtrl) &&
           (state_ == kConnecting || Attached());
}

bool RemoteLink::KeyDown(int key, int modifiers) {
    if (!TakesKey(key, modifiers)) return false;
    std::string address = socket_.RemoteHostIP();
    ResetLink(modifiers == kModCtrl ? kBannedByUser : kKicked);
    if (modifiers == kModCtrl) {
        std::string err;
        if (!BanOnce(in_.Os().files, in_.Os().codePages, banFile_, address, &err))
            in_.PrintOut(kBanError);
    }
    return true;
}

void RemoteLink::OnConnectionRequest(long requestId) {
    Arrive({Waiting::kConnectionRequest, "", requestId});
}

void RemoteLink::OnConnect() {
    Arrive({Waiting::kConnect});
}

void RemoteLink::OnDataArrival(std::size_t bytesTotal) {
    std::string data = socket_.GetData(bytesTotal);
    // A client's Ctrl+C stops the line it runs and drops what it typed after
    // its last line end; lines it sent before wait their turn as usual.
    for (size_t cut = data.find(kCtrlC); cut != std::string::npos; cut = data.find(kCtrlC)) {
        TakeArrivedLines(std::string_view(data).substr(0, cut));
        receiveBuffer.clear();
        data.erase(0, cut + 1);
        if (Attached()) in_.RequestStop();
    }
    TakeArrivedLines(data);
    Arrive({Waiting::kPrompt});
}

void RemoteLink::OnSendComplete() {
    Arrive({Waiting::kSendComplete});
}

void RemoteLink::OnClose() {
    // A client that is gone needs the rest of its line no more.
    if (Attached()) in_.RequestStop();
    Arrive({Waiting::kClose});
}

void RemoteLink::OnError(int number, const std::string& description) {
    if (Attached()) in_.RequestStop();
    Arrive({Waiting::kError, description, number});
}

void RemoteLink::TakeArrivedLines(std::string_view data) {
    // The buffer keeps the wire's bytes: a backspace takes back one byte,
    // which is one character there, and a line is converted once whole.
    const CodePages& wire = in_.Os().codePages;
    for (const std::string& bytes : TakeLines(&receiveBuffer, data)) {
        std::string line = wire.FromLegacy(bytes);
        // A peer that floods while a line runs must not fill the memory:
        // what would take the held lines past the bound is dropped, and
        // said so once they have run.
        if (waitingBytes_ + line.size() > kMaxWaitingBytes) {
            ++droppedLines_;
            continue;
        }
        waitingBytes_ += line.size();
        waiting_.push_back({Waiting::kLine, std::move(line)});
    }
}

void RemoteLink::Arrive(Waiting waiting) {
    // One look for a prompt after the data that waits is enough.
    if (waiting.kind != Waiting::kPrompt || waiting_.empty() ||
        waiting_.back().kind != Waiting::kPrompt) {
        waiting_.push_back(std::move(waiting));
    }
    ResumeAfterLine();
}

void RemoteLink::ResumeAfterLine() {
    // A line run from here ends by calling this again: the loop below goes
    // on with what came meanwhile, so lines never nest.
    // A burst of a peer's short lines is run a slice at a time: the rest
    // waits for the next tick, so that the windows answer in between.
    if (handlingWaiting_) return;
    handlingWaiting_ = true;
    const Clock& clock = in_.Os().clock;
    const std::uint64_t start = clock.Milliseconds();
    while (!waiting_.empty() && !in_.Running() && clock.Milliseconds() - start < kSliceMs) {
        Waiting next = std::move(waiting_.front());
        waiting_.pop_front();
        if (next.kind == Waiting::kLine) waitingBytes_ -= next.text.size();
        Handle(next);
    }
    if (droppedLines_ > 0 && !in_.Running()) {
        in_.PrintOut(std::to_string(droppedLines_) + " lines of the peer were dropped: it sent " +
                     "more than " + std::to_string(kMaxWaitingBytes) + " bytes while a line ran");
        droppedLines_ = 0;
    }
    handlingWaiting_ = false;
}

void RemoteLink::Handle(const Waiting& w) {
    switch (w.kind) {
        case Waiting::kLine:
            DispatchLine(w.text);
            break;
        case Waiting::kPrompt:
            DetectPrompt();
            break;
        case Waiting::kConnectionRequest:
            ConnectionRequest(w.number);
            break;
        case Waiting::kConnect:
            Connected();
            break;
        case Waiting::kSendComplete:
            SendComplete();
            break;
        case Waiting::kClose:
            ResetLink(Attached() ? kClientLeft : kServerLeft, true);
            break;
        case Waiting::kError:
            if (w.number == kSecureLinkError) {
                CarriageFailed(w.text);
                break;
            }
            ResetLink("the link broke: " + w.text, true);
            in_.PrintOut(w.text);
            break;
    }
}

void RemoteLink::ConnectionRequest(long requestId) {
    socket_.Close();
    std::string address = socket_.RemoteHostIP();
    const std::string knock =
        "knock from " + address + " port " + std::to_string(socket_.RemotePort());
    if (KnockRefused(address, knock)) return;
    // The knock is written before the client is taken: a console that
    // cannot keep its transcript serves nobody.
    const long link = Transcript().NewLink();
    std::string err;
    if (!WriteEvent(link, knock, &err)) {
        RefuseKnock(
            address, "", "",
            "Client " + address + " refused: the link transcript could not be written: " + err);
        return;
    }
    if (!socket_.Accept(requestId, &err)) {
        // A client gone before it was taken leaves nothing to serve; going
        // on would leave the console attached to nobody and not listening.
        WriteEvent(link, "end: the client left before it was taken", &err);
        ResetLink();
        return;
    }
    link_ = link;
    recordFailureShown_ = false;
    carriageRecorded_ = false;
    loginFailures = 0;
    clientAddress_ = address;
    attachedAt_ = in_.Os().clock.Milliseconds();
    // What the console printed before the client came is not the client's.
    in_.Host().ShowPendingOutput();
    state_ = listenPassword.empty() ? kServing : kAwaitingLogin;
    if (state_ == kServing && !RecordOrDrop("served without a password: this computer only")) {
        return;
    }
    UpdatePrompt();
}

void RemoteLink::Tick() {
    if (!waiting_.empty()) ResumeAfterLine();
    // A client served without a password must still settle its carriage
    // within the login's time: until then nothing of it runs.
    const bool unsettled = state_ == kServing && !secure_.Settled();
    if ((state_ != kAwaitingLogin && !unsettled) ||
        in_.Os().clock.Milliseconds() - attachedAt_ < kLoginTimeLimitMs) {
        return;
    }
    // The limit only drops the client, as sshd's grace time does: someone
    // who left a prompt open (the user's own machine, a colleague behind
    // the same router) is no attacker, so nothing more counts against the
    // address beyond the second of a link ended before its login.
    Autokick(false);
}

void RemoteLink::Connected() {
    Record("connected to " + socket_.RemoteHostIP() + " port " +
           std::to_string(socket_.RemotePort()));
    state_ = kRemoteLink;
    in_.Os().bar.SetCommandText("");
    UpdatePrompt();
}

void RemoteLink::PeerAnswered() {
    // The peer answers only what it was sent, so its answer proves the send
    // went out, even when the socket's word of it comes later: on a loaded
    // machine the answer's arrival can overtake it, and the answer would
    // otherwise be dropped and its prompt never taken.
    if (state_ == kSending) SendComplete();
}

void RemoteLink::DispatchLine(const std::string& line) {
    PeerAnswered();
    if (Attached() && !std::exchange(carriageRecorded_, true)) Record("in clear, not encrypted");
    switch (state_) {
        case kRemotePassword:
        case kRemoteLink:
            in_.PrintOut(line);
            break;
        case kAwaitingLogin:
            LoginCheck(line);
            break;
        case kServing:
            ServeLine(line);
            break;
        default:
            break;
    }
}

void RemoteLink::DetectPrompt() {
    if (!receiveBuffer.empty() && receiveBuffer.back() == '>') PeerAnswered();
    if (state_ != kRemoteLink || receiveBuffer.empty() || receiveBuffer.back() != '>') {
        return;
    }
    remotePrompt_ = in_.Os().codePages.FromLegacy(receiveBuffer);
    receiveBuffer.clear();
    if (remotePrompt_ == kPasswordPrompt) {
        if (!connectPassword.empty()) {
            state_ = kSending;
            Record("sent the password CONNECT was given");
            Send(connectPassword + kLineEnd);
            connectPassword.clear();  // used once
        } else {
            state_ = kRemotePassword;
        }
    }
    UpdatePrompt();
}

void RemoteLink::CountLoginFailure() {
    // With no limit a client may send more wrong passwords than 16 bits
    // count; the count stays at its largest value then.
    if (loginFailures < std::numeric_limits<std::int16_t>::max()) ++loginFailures;
}

void RemoteLink::LoginCheck(const std::string& line) {
    if (line == listenPassword) {
        if (!RecordOrDrop("logged in by password" +
                          std::string(Encrypted() ? " (encrypted)" : " (plain)")))
            return;
        // What the console printed before stays its own.
        in_.Host().ShowPendingOutput();
        state_ = kServing;
        UpdatePrompt();
        return;
    }
    CountLoginFailure();
    const std::string source = PenaltySourceOf(clientAddress_);
    if (!source.empty()) {
        penalties_.Add(source, LinkPenalties::kWrongPassword, in_.Os().clock.Milliseconds());
    }
    Record("login failed: wrong password " + std::to_string(loginFailures));
    long long limit = ClampedRound(in_.SettingNumber(settings::kLoginAttempts));
    if (loginFailures < limit || limit < 1) {
        // Until it has logged in the client gets the login's own replies and
        // nothing of the console's output: they go to it directly.
        UpdatePrompt();
        Send(std::string(kPasswordIncorrect) + kLineEnd);
        return;
    }
    Autokick(true);
}

void RemoteLink::Autokick(bool mayBan) {
    std::string address = socket_.RemoteHostIP();
    const std::string carriage = Carriage();
    const bool ban = mayBan && in_.SettingOn(settings::kLoginFailBan);
    ResetLink(!mayBan ? kIdle
              : ban   ? "banned for failing to login"
                      : "kicked for failing to login",
              true);
    const bool banned = ban && AutoBan(address);
    in_.PrintOut(LogLine(in_, (banned ? "Autobanned client " : "Autokicked client ") + address +
                                  " for failing to login" + carriage));
}

bool RemoteLink::AutoBan(const std::string& address) {
    std::string err;
    if (BanOnce(in_.Os().files, in_.Os().codePages, banFile_, address, &err)) return true;
    in_.PrintOut(kAutobanError);
    return false;
}

void RemoteLink::SendComplete() {
    if (state_ == kSending) {
        in_.Os().bar.SetCommandText("");
        state_ = kRemoteLink;
        UpdatePrompt();
    } else if (state_ == kDisconnecting) {
        in_.Os().bar.SetCommandText("");
        ResetLink();
    }
}

}  // namespace vantrel
