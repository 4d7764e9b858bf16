// The encrypted carriage of the link. It stands between the link and the
// TCP socket, as a socket itself: the link sends and reads its byte stream
// as before, and this turns it into Noise transport messages once the two
// consoles have agreed on it.
//
// On the wire: a server that accepts a client sends the offer line
// "VTRL-NOISE/1" CR LF first. A client that wants the secure link answers
// with the same line as its first, then the handshake
// (Noise_XX_25519_ChaChaPoly_SHA256, prologue "VTRL-NOISE/1", empty
// payloads); every Noise message goes as a 2-byte big-endian length and its
// bytes. The server looks at a client's first line before anything else is
// done with it; a client that never switches (an older console) is served
// in clear when the server allows it. A client that is offered nothing
// sends nothing in clear unless allowed to. Nothing reaches the link before
// that is settled, so no line runs and no password goes out on the way.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/socket.h"
#include "remote/noise_frames.h"
#include "remote/noise_handshake.h"

namespace vantrel {

// The offer and the switch line, and the handshake's prologue.
inline constexpr char kNoiseOffer[] = "VTRL-NOISE/1";

// What the link hears of the carriage beyond a socket's events.
class SecureEvents : public SocketEvents {
  public:
    // The handshake is done and the peer holds this static key. False to
    // refuse it: the link ends before anything else is sent or delivered.
    virtual bool OnSecured(const noise::Key& peerKey) = 0;
};

// The error number of a link ended by its carriage; the description says
// why.
inline constexpr int kSecureLinkError = 30001;

class SecureSocket : public Socket, private SocketEvents {
  public:
    // What the carriage needs to know of the console's choices. localKey
    // gives the console's link key, or nullptr (with *why) when there is
    // none to be had.
    struct Policy {
        std::function<const noise::KeyPair*(std::string* why)> localKey;
        // A server serves a client that never switches, in clear.
        std::function<bool()> servePlainClients;
        // A client links in clear with a server that offers nothing.
        std::function<bool()> linkInClear;
    };

    SecureSocket(Socket& wire, Policy policy);
    ~SecureSocket() override;

    // Whether the link is encrypted now.
    bool Encrypted() const { return phase_ == Phase::kSecure; }
    // Whether the link's carriage is settled: encrypted, or in clear.
    bool Settled() const { return phase_ == Phase::kSecure || phase_ == Phase::kPlain; }

    // Socket. Events go to a SecureEvents.
    void SetEvents(SocketEvents* events) override;
    void Close() override;
    void SetLocalPort(long port) override { wire_.SetLocalPort(port); }
    bool Listen(ListenScope scope, std::string* err) override { return wire_.Listen(scope, err); }
    bool Accept(long requestId, std::string* err) override;
    bool Connect(const std::string& host, long port, std::string* err) override;
    bool SendData(const std::string& text, std::string* err) override;
    std::string GetData(std::size_t maxBytes) override;
    std::string RemoteHostIP() const override { return wire_.RemoteHostIP(); }
    long RemotePort() const override { return wire_.RemotePort(); }

    // The most plaintext bytes of one transport message.
    static constexpr std::size_t kMaxPlainPiece = noise::kMaxMessage - noise::kTagLength;

  private:
    enum class Phase {
        kIdle,        // no link
        kOffered,     // server: the offer sent, the client's first line awaited
        kAwaitOffer,  // client: connected, the server's first line awaited
        kHandshake,
        kSecure,
        kPlain,
    };

    // SocketEvents of the wire.
    void OnConnectionRequest(long requestId) override;
    void OnConnect() override;
    void OnDataArrival(std::size_t bytesTotal) override;
    void OnSendComplete() override;
    void OnClose() override;
    void OnError(int number, const std::string& description) override;

    void Reset();
    // Sends bytes on the wire, noting whose send it is: the completion of
    // the carriage's own is not the link's to hear of.
    bool SendOnWire(const std::string& bytes, bool linksOwn, std::string* err);
    bool SendOwn(const std::string& bytes);
    void Sniff();
    void AwaitOffer();
    bool StartHandshake(bool initiator);
    void TakeFrames();
    void HandshakeStep(const noise::Bytes& message);
    void Deliver(std::string bytes);
    // Sends the link's bytes as the settled carriage takes them.
    bool SendSettled(const std::string& text);
    void SendHeld();
    // Ends the link, and tells the link why.
    void Fail(const std::string& why);

    Socket& wire_;
    Policy policy_;
    SecureEvents* events_ = nullptr;
    Phase phase_ = Phase::kIdle;
    bool initiator_ = false;
    // The wire's bytes while the first line is awaited.
    std::string firstBytes_;
    noise::FrameReader frames_;
    std::unique_ptr<noise::HandshakeState> handshake_;
    noise::CipherState send_;
    noise::CipherState receive_;
    // Plaintext for the link to read.
    std::string plain_;
    // For each send on the wire, in order: whether it was the link's.
    std::deque<bool> sends_;
    // The link's sends while the carriage is not settled: they go once it
    // is, encrypted or (when allowed) in clear, and never otherwise.
    std::deque<std::string> held_;
};

}  // namespace vantrel
