// The secure link between a console and a peer this test plays with the
// Noise library: what goes on the wire, the keys each side trusts, and the
// streams an attacker can make of it. Whatever is wrong ends the link, and
// nothing of it runs.
#include <gtest/gtest.h>

#include <functional>

#include "remote/link_keys.h"
#include "remote/noise_frames.h"
#include "remote/noise_handshake.h"
#include "remote_fixture.h"

namespace vantrel::testing {
namespace {

using noise::Bytes;

const std::string kOffer = std::string(kNoiseOffer) + "\r\n";

noise::KeyPair PeerKey(std::uint8_t fill) {
    noise::Key secret;
    secret.fill(fill);
    noise::KeyPair pair;
    EXPECT_TRUE(noise::KeyPairOf(secret, &pair));
    return pair;
}

// The far end of the link, speaking Noise over the fake socket.
class Peer {
  public:
    Peer(FakeSocket& socket, bool initiator, const noise::KeyPair& key)
        : socket_(socket),
          handshake_(initiator,
                     noise::View(reinterpret_cast<const std::uint8_t*>(kNoiseOffer),
                                 sizeof kNoiseOffer - 1),
                     key) {}

    // The next Noise message the console sent, from what it sent since.
    Bytes Next() {
        frames_.Append(socket_.TakeSent());
        Bytes message;
        EXPECT_TRUE(frames_.Next(&message)) << "no whole message from the console";
        return message;
    }
    std::string Framed(const Bytes& message) {
        std::string wire;
        noise::Frame(message, &wire);
        return wire;
    }
    std::string Write() {
        Bytes message;
        EXPECT_TRUE(handshake_.WriteMessage({}, &message));
        if (handshake_.Done()) handshake_.Split(&send_, &receive_);
        return Framed(message);
    }
    void Read(const Bytes& message) {
        Bytes payload;
        ASSERT_TRUE(handshake_.ReadMessage(message, &payload));
        if (handshake_.Done()) handshake_.Split(&send_, &receive_);
    }
    std::string Seal(const std::string& text) {
        Bytes sealed;
        send_.EncryptWithAd(
            {}, noise::View(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
            &sealed);
        return Framed(sealed);
    }
    // Everything the console sent since, opened: "" when nothing.
    std::string Opened() {
        frames_.Append(socket_.TakeSent());
        std::string text;
        Bytes message, plain;
        while (frames_.Next(&message)) {
            EXPECT_TRUE(receive_.DecryptWithAd({}, message, &plain));
            text.append(plain.begin(), plain.end());
        }
        return text;
    }
    const noise::HandshakeState& Handshake() const { return handshake_; }

  private:
    FakeSocket& socket_;
    noise::HandshakeState handshake_;
    noise::FrameReader frames_;
    noise::CipherState send_, receive_;
};

class SecureLinkTest : public RemoteTest {
  protected:
    SecureLinkTest() { SeedLinkKey(fake); }
    std::string ProfileFile(const char* name) { return std::string(kProfileFolder) + "\\" + name; }

    // A client that switches and completes the handshake with a listening
    // console; the console's first encrypted words are returned.
    std::string SecureClient(Peer& peer) {
        socket.Knock("10.1.2.3");
        EXPECT_EQ(socket.TakeSent(), kOffer + "Password>");
        socket.Receive(kOffer + peer.Write());
        peer.Read(peer.Next());
        socket.Receive(peer.Write());
        return peer.Opened();
    }
};

TEST_F(SecureLinkTest, AClientThatSwitchesLogsInAndRunsLinesWithNothingInClear) {
    Run("listen 2319 hunter2x");
    Peer peer(socket, true, PeerKey(3));
    EXPECT_EQ(SecureClient(peer), "Password>");
    EXPECT_TRUE(link().Encrypted());
    EXPECT_EQ(console.State(), kAwaitingLogin);
    socket.Receive(peer.Seal("hunter2x\r\n"));
    EXPECT_EQ(console.State(), kServing);
    EXPECT_EQ(fake.bar.prompt, "Serving 10.1.2.3 (encrypted)");
    socket.Receive(peer.Seal("print 6*7\r\n"));
    console.Tick();
    const std::string wire = socket.sent;
    EXPECT_EQ(wire.find("42"), std::string::npos);
    EXPECT_NE(peer.Opened().find("42"), std::string::npos);
    // Output longer than a message goes in as many as it needs.
    socket.Receive(peer.Seal("print String(70000, \"x\") & \"end\"\r\n"));
    console.Tick();
    EXPECT_NE(peer.Opened().find(std::string(70000, 'x') + "end"), std::string::npos);
}

TEST_F(SecureLinkTest, AListedClientKeyLogsInWithoutThePassword) {
    const noise::KeyPair key = PeerKey(4);
    fake.files.AddFile(ProfileFile(kLinkKeysFileName),
                       "# the laptop\r\n" + KeyText(key.publicKey) + " laptop\r\n");
    Run("listen 2319 hunter2x");
    Peer peer(socket, true, key);
    EXPECT_EQ(SecureClient(peer), "C:\\Work>");
    EXPECT_EQ(console.State(), kServing);
    // The console's own log of it stays here.
    console.Tick();
    EXPECT_EQ(peer.Opened(), "");
    EXPECT_NE(pane.Text().find("logged in by its key SHA256:"), std::string::npos);
}

// What an attacker can do to the stream of a client that switched: each
// ends the link, says why, and runs nothing of what it carried.
TEST_F(SecureLinkTest, AnyChangeToTheStreamEndsTheLinkAndRunsNothing) {
    using Attack = std::function<std::string(Peer&)>;
    const struct {
        const char* what;
        Attack attack;
    } cases[] = {
        {"a flipped bit",
         [](Peer& p) {
             std::string m = p.Seal("set ran=1\r\n");
             m[5] ^= 1;
             return m;
         }},
        {"a message replayed",
         [](Peer& p) {
             const std::string m = p.Seal("rem\r\n");
             return m + m + p.Seal("set ran=1\r\n");
         }},
        {"messages reordered",
         [](Peer& p) {
             const std::string first = p.Seal("rem\r\n"), second = p.Seal("set ran=1\r\n");
             return second + first;
         }},
        {"a line in clear", [](Peer&) { return std::string("\x00\x0Bset ran=1\r\n", 13); }},
        {"the longest length, filled with other bytes",
         [](Peer& p) {
             return std::string("\xFF\xFF", 2) + p.Seal("set ran=1\r\n") + std::string(65535, 'x');
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        in().SetVar("ran", "");
        Run("listen 2319");
        Peer peer(socket, true, PeerKey(5));
        socket.Knock("10.1.2.3");
        socket.TakeSent();
        socket.Receive(kOffer + peer.Write());
        peer.Read(peer.Next());
        socket.Receive(peer.Write());
        ASSERT_EQ(console.State(), kServing);
        peer.Opened();
        Printed();
        socket.Receive(c.attack(peer));
        EXPECT_EQ(in().EvaluateText("ran"), "");
        EXPECT_EQ(console.State(), kLocal);
        EXPECT_NE(Printed().find("failed its check: the link was ended: client 10.1.2.3 dropped"),
                  std::string::npos);
        Run("listen off");
    }
}

TEST_F(SecureLinkTest, AChangedHandshakeEndsTheLinkAndCountsAsAWrongPassword) {
    in().SetVar("LoginAttempts", "1");
    Run("listen 2319 pw");
    Peer peer(socket, true, PeerKey(6));
    socket.Knock("10.1.2.3");
    socket.TakeSent();
    std::string first = peer.Write();
    first[4] ^= 0x40;  // the ephemeral key, which the rest of the handshake hangs on
    socket.Receive(kOffer + first);
    peer.Next();
    socket.Receive(std::string("\x00\x40", 2) + std::string(64, 'x'));
    EXPECT_EQ(console.State(), kLocal);
    EXPECT_NE(Printed().find("handshake failed: the link was ended: client 10.1.2.3 dropped and "
                             "banned"),
              std::string::npos);
    EXPECT_NE(fake.files.Contents(kBanFile).find("10.1.2.3"), std::string::npos);
}

// A client that never switches is served in clear after the offer, unless
// LinkPlain is off; one that switches but never finishes the handshake is
// dropped once the login's time is up, even where no password is asked.
TEST_F(SecureLinkTest, APlainClientIsServedUnlessRefusedAndAnUnfinishedHandshakeIsDropped) {
    for (const char* plain : {"1", "0"}) {
        SCOPED_TRACE(plain);
        in().SetVar("LinkPlain", plain);
        Run("listen 2319");
        socket.Knock("10.1.2.3");
        EXPECT_EQ(socket.TakeSent(), kOffer + "C:\\Work>");
        socket.Receive("set ran=1\r\n");
        const bool served = std::string(plain) == "1";
        EXPECT_EQ(in().EvaluateText("ran"), served ? "1" : "");
        EXPECT_EQ(socket.TakeSent(),
                  served ? "C:\\Work>" : "This console takes encrypted links only\r\n");
        EXPECT_EQ(console.State(), served ? kServing : kLocal);
        in().SetVar("ran", "");
        console.Remote()->Disconnect();
        Run("listen off");
        socket.TakeSent();
    }
    Run("listen 2319");
    Peer peer(socket, true, PeerKey(9));
    socket.Knock("10.1.2.3");
    socket.Receive(kOffer + peer.Write());
    fake.clock.milliseconds += 59000;
    console.Tick();
    EXPECT_EQ(console.State(), kServing);
    fake.clock.milliseconds += 2000;
    console.Tick();
    EXPECT_EQ(console.State(), kLocal);
}

// The connecting side: the first link to a server remembers its key, a
// later one with another key is refused before the password goes out.
TEST_F(SecureLinkTest, AServerIsTrustedOnFirstUseAndAnotherKeyIsRefused) {
    for (std::uint8_t serverKey : {7, 7, 8}) {
        SCOPED_TRACE(int(serverKey));
        in().PendingOutput().clear();
        Run("connect 10.0.0.9:2400 hunter2x");
        socket.Connected();
        Peer server(socket, false, PeerKey(serverKey));
        socket.Receive(kOffer + "Password>");
        const std::string switched = socket.TakeSent();
        ASSERT_TRUE(switched.starts_with(kOffer));
        socket.sent = switched.substr(kOffer.size());
        server.Read(server.Next());
        socket.Receive(server.Write());
        server.Read(server.Next());
        if (serverKey == 8) {
            EXPECT_EQ(console.State(), kLocal);
            EXPECT_NE(in().PendingOutput().find("has changed"), std::string::npos);
            EXPECT_EQ(socket.TakeSent(), "");
            continue;
        }
        EXPECT_EQ(console.State(), kRemoteLink);
        socket.Receive(server.Seal("Password>"));
        EXPECT_EQ(server.Opened(), "hunter2x\r\n");
        EXPECT_EQ(socket.sent.find("hunter2x"), std::string::npos);
        Run("disconnect");
    }
    EXPECT_EQ(fake.files.Contents(ProfileFile(kKnownLinksFileName)),
              "10.0.0.9:2400 " + KeyText(PeerKey(7).publicKey) + "\r\n");
    Run("linkkey forget 10.0.0.9:2400");
    EXPECT_EQ(fake.files.Contents(ProfileFile(kKnownLinksFileName)), "");
}

TEST_F(SecureLinkTest, AServerOfferingNothingGetsNoPasswordUnlessLinkClearIsOn) {
    for (const char* clear : {"0", "1"}) {
        SCOPED_TRACE(clear);
        in().SetVar("LinkClear", clear);
        Run("connect 10.0.0.9:2400 hunter2x");
        socket.Connected();
        socket.Receive("Password>");
        const bool linked = std::string(clear) == "1";
        EXPECT_EQ(socket.TakeSent(), linked ? "hunter2x\r\n" : "");
        EXPECT_EQ(console.State(), linked ? kSending : kLocal);
        Run("disconnect");
    }
}

}  // namespace
}  // namespace vantrel::testing
