#include "remote/secure_socket.h"

#include <algorithm>
#include <utility>

namespace vantrel {

namespace {

constexpr char kLineEnd[] = "\r\n";

std::string OfferLine() {
    return std::string(kNoiseOffer) + kLineEnd;
}

noise::View Prologue() {
    return noise::View(reinterpret_cast<const std::uint8_t*>(kNoiseOffer), sizeof kNoiseOffer - 1);
}

// Whether text may still grow into the offer line.
bool CouldBeOffer(std::string_view text) {
    const std::string offer = OfferLine();
    return text.size() <= offer.size() && offer.compare(0, text.size(), text) == 0;
}

}  // namespace

SecureSocket::SecureSocket(Socket& wire, Policy policy) : wire_(wire), policy_(std::move(policy)) {
    wire_.SetEvents(this);
}

SecureSocket::~SecureSocket() {
    wire_.SetEvents(nullptr);
}

void SecureSocket::SetEvents(SocketEvents* events) {
    events_ = dynamic_cast<SecureEvents*>(events);
}

void SecureSocket::Reset() {
    phase_ = Phase::kIdle;
    firstBytes_.clear();
    frames_ = noise::FrameReader();
    handshake_.reset();
    send_ = noise::CipherState();
    receive_ = noise::CipherState();
    plain_.clear();
    sends_.clear();
    held_.clear();
}

void SecureSocket::Close() {
    wire_.Close();
    Reset();
}

bool SecureSocket::Accept(long requestId, std::string* err) {
    Reset();
    if (!wire_.Accept(requestId, err)) return false;
    initiator_ = false;
    phase_ = Phase::kOffered;
    SendOwn(OfferLine());
    return true;
}

bool SecureSocket::Connect(const std::string& host, long port, std::string* err) {
    Reset();
    initiator_ = true;
    return wire_.Connect(host, port, err);
}

bool SecureSocket::SendOnWire(const std::string& bytes, bool linksOwn, std::string* err) {
    if (!wire_.SendData(bytes, err)) return false;
    sends_.push_back(linksOwn);
    return true;
}

bool SecureSocket::SendOwn(const std::string& bytes) {
    std::string err;
    return SendOnWire(bytes, false, &err);
}

bool SecureSocket::SendData(const std::string& text, std::string* err) {
    // The server's first prompt goes in clear before the client has said
    // which carriage it takes: a client that switches treats it as void.
    if (phase_ == Phase::kOffered) return SendOnWire(text, true, err);
    if (!Settled()) {
        held_.push_back(text);
        return true;
    }
    if (!SendSettled(text)) {
        *err = "The link could not send";
        return false;
    }
    return true;
}

bool SecureSocket::SendSettled(const std::string& text) {
    std::string wire;
    if (phase_ == Phase::kPlain) {
        wire = text;
    } else {
        // Long output goes in as many messages as it needs; an empty send
        // is one empty message, so that its completion comes as for any.
        size_t at = 0;
        do {
            const std::string_view piece = std::string_view(text).substr(at, kMaxPlainPiece);
            noise::Bytes sealed;
            if (!send_.EncryptWithAd(
                    {},
                    noise::View(reinterpret_cast<const std::uint8_t*>(piece.data()), piece.size()),
                    &sealed) ||
                !noise::Frame(sealed, &wire)) {
                return false;
            }
            at += kMaxPlainPiece;
        } while (at < text.size());
    }
    std::string err;
    return SendOnWire(wire, true, &err);
}

void SecureSocket::SendHeld() {
    while (!held_.empty() && Settled()) {
        const std::string text = std::move(held_.front());
        held_.pop_front();
        if (!SendSettled(text)) {
            Fail("The link could not send");
            return;
        }
    }
}

std::string SecureSocket::GetData(std::size_t maxBytes) {
    const size_t count = std::min(maxBytes, plain_.size());
    std::string out = plain_.substr(0, count);
    plain_.erase(0, count);
    return out;
}

void SecureSocket::Deliver(std::string bytes) {
    if (bytes.empty()) return;
    plain_ += bytes;
    if (events_) events_->OnDataArrival(plain_.size());
}

void SecureSocket::Fail(const std::string& why) {
    wire_.Close();
    Reset();
    if (events_) events_->OnError(kSecureLinkError, why);
}

void SecureSocket::OnConnectionRequest(long requestId) {
    if (events_) events_->OnConnectionRequest(requestId);
}

void SecureSocket::OnConnect() {
    phase_ = Phase::kAwaitOffer;
    if (events_) events_->OnConnect();
}

void SecureSocket::OnDataArrival(std::size_t bytesTotal) {
    std::string data = wire_.GetData(bytesTotal);
    switch (phase_) {
        case Phase::kPlain:
            Deliver(std::move(data));
            break;
        case Phase::kOffered:
        case Phase::kAwaitOffer:
            firstBytes_ += data;
            if (phase_ == Phase::kOffered) {
                Sniff();
            } else {
                AwaitOffer();
            }
            break;
        case Phase::kHandshake:
        case Phase::kSecure:
            frames_.Append(data);
            TakeFrames();
            break;
        case Phase::kIdle:
            break;
    }
}

// The server: the client's first line says which carriage it takes.
void SecureSocket::Sniff() {
    if (firstBytes_.starts_with(OfferLine())) {
        frames_.Append(std::string_view(firstBytes_).substr(OfferLine().size()));
        firstBytes_.clear();
        if (StartHandshake(false)) TakeFrames();
        return;
    }
    if (CouldBeOffer(firstBytes_)) return;
    if (!policy_.servePlainClients()) {
        SendOwn("This console takes encrypted links only\r\n");
        Fail("A client sent in clear: this console takes encrypted links only (LinkPlain is 0)");
        return;
    }
    phase_ = Phase::kPlain;
    SendHeld();
    Deliver(std::exchange(firstBytes_, std::string()));
}

// The client: the server's first line offers the secure link, or it is an
// older console's prompt.
void SecureSocket::AwaitOffer() {
    const size_t end = firstBytes_.find('\n');
    if (end == std::string::npos && CouldBeOffer(firstBytes_)) return;
    if (firstBytes_.starts_with(OfferLine())) {
        // What the server sent after its offer is its clear prompt: void.
        firstBytes_.clear();
        if (!StartHandshake(true)) return;
        noise::Bytes first;
        std::string wire = OfferLine();
        if (!handshake_->WriteMessage({}, &first) || !noise::Frame(first, &wire) ||
            !SendOwn(wire)) {
            Fail("The secure link could not be started");
        }
        return;
    }
    if (!policy_.linkInClear()) {
        Fail(
            "The console at the other end offered no encryption, so nothing was sent to it, "
            "not even the password; set LinkClear=1 to link with it in clear");
        return;
    }
    phase_ = Phase::kPlain;
    SendHeld();
    Deliver(std::exchange(firstBytes_, std::string()));
}

bool SecureSocket::StartHandshake(bool initiator) {
    std::string why;
    const noise::KeyPair* key = policy_.localKey(&why);
    if (!key) {
        Fail(why);
        return false;
    }
    handshake_ = std::make_unique<noise::HandshakeState>(initiator, Prologue(), *key);
    phase_ = Phase::kHandshake;
    return true;
}

void SecureSocket::TakeFrames() {
    noise::Bytes message;
    while (phase_ == Phase::kHandshake || phase_ == Phase::kSecure) {
        if (!frames_.Next(&message)) return;
        if (phase_ == Phase::kHandshake) {
            HandshakeStep(message);
            continue;
        }
        noise::Bytes plain;
        if (!receive_.DecryptWithAd({}, message, &plain)) {
            Fail("A message on the secure link failed its check: the link was ended");
            return;
        }
        Deliver(std::string(plain.begin(), plain.end()));
    }
}

void SecureSocket::HandshakeStep(const noise::Bytes& message) {
    noise::Bytes payload;
    if (!handshake_->ReadMessage(message, &payload)) {
        Fail("The secure link's handshake failed: the link was ended");
        return;
    }
    if (!handshake_->Done()) {
        // The responder's answer to the first message.
        noise::Bytes reply;
        std::string wire;
        if (!handshake_->WriteMessage({}, &reply) || !noise::Frame(reply, &wire) ||
            !SendOwn(wire)) {
            Fail("The secure link's handshake failed: the link was ended");
            return;
        }
        if (!handshake_->Done()) return;
    }
    const noise::Key peer = handshake_->RemoteStatic();
    handshake_->Split(&send_, &receive_);
    handshake_.reset();
    phase_ = Phase::kSecure;
    if (!events_ || !events_->OnSecured(peer)) {
        wire_.Close();
        Reset();
        return;
    }
    SendHeld();
}

void SecureSocket::OnSendComplete() {
    // The carriage's own sends are not the link's to hear of.
    const bool linkSend = !sends_.empty() && sends_.front();
    if (!sends_.empty()) sends_.pop_front();
    if (linkSend && events_) events_->OnSendComplete();
}

void SecureSocket::OnClose() {
    Reset();
    if (events_) events_->OnClose();
}

void SecureSocket::OnError(int number, const std::string& description) {
    Reset();
    if (events_) events_->OnError(number, description);
}

}  // namespace vantrel
