// The link's Noise handshake and transport against the published test
// values of Noise_XX_25519_ChaChaPoly_SHA256, and against the streams an
// attacker can make of them: every change is refused, and the state stays
// refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <sstream>
#include <string>

#include "remote/noise_frames.h"
#include "remote/noise_handshake.h"
#include "text/hex.h"

namespace vantrel::noise {
namespace {

namespace fs = std::filesystem;

Bytes FromHex(const std::string& hex) {
    Bytes out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
        out.push_back(static_cast<std::uint8_t>(text::LeadingHex(hex.substr(i, 2), 2)));
    }
    return out;
}

Key KeyFromHex(const std::string& hex) {
    Key key{};
    const Bytes bytes = FromHex(hex);
    std::copy(bytes.begin(), bytes.end(), key.begin());
    return key;
}

KeyPair PairOf(const std::string& hex) {
    KeyPair pair;
    EXPECT_TRUE(KeyPairOf(KeyFromHex(hex), &pair));
    return pair;
}

// The vector file's values: each "name": "hex" in order, the messages'
// payloads and ciphertexts as they come.
struct Vector {
    std::map<std::string, std::string> values;
    std::vector<std::pair<Bytes, Bytes>> messages;
};

Vector ReadVector() {
    std::ifstream file(fs::path(VANTREL_SOURCE_DIR) / "src" / "remote" / "testdata" /
                       "noise_xx_25519_chachapoly_sha256.json");
    std::stringstream text;
    text << file.rdbuf();
    const std::string all = text.str();
    Vector v;
    const std::regex pair("\"([a-z_]+)\": \"([0-9a-fA-F]*|Noise_[A-Za-z0-9_]+)\"");
    Bytes payload;
    for (std::sregex_iterator i(all.begin(), all.end(), pair), end; i != end; ++i) {
        const std::string name = (*i)[1], value = (*i)[2];
        if (name == "payload") {
            payload = FromHex(value);
        } else if (name == "ciphertext") {
            v.messages.push_back({payload, FromHex(value)});
        } else {
            v.values[name] = value;
        }
    }
    return v;
}

// Both sides of a handshake, with the test values' keys.
struct Pair {
    explicit Pair(const Vector& v)
        : initiator(true, FromHex(v.values.at("init_prologue")), PairOf(v.values.at("init_static")),
                    PairOf(v.values.at("init_ephemeral"))),
          responder(false, FromHex(v.values.at("resp_prologue")),
                    PairOf(v.values.at("resp_static")), PairOf(v.values.at("resp_ephemeral"))) {}
    HandshakeState initiator;
    HandshakeState responder;
};

TEST(NoiseTest, HandshakeAndTransportGiveThePublishedValues) {
    const Vector v = ReadVector();
    ASSERT_EQ(v.values.at("protocol_name"), kProtocolName);
    ASSERT_EQ(v.messages.size(), 6u);
    Pair p(v);
    CipherState send[2], receive[2];  // [0] the initiator's, [1] the responder's
    for (size_t i = 0; i < v.messages.size(); ++i) {
        SCOPED_TRACE(i);
        const auto& [payload, expected] = v.messages[i];
        const bool byInitiator = i % 2 == 0;
        HandshakeState& writer = byInitiator ? p.initiator : p.responder;
        HandshakeState& reader = byInitiator ? p.responder : p.initiator;
        Bytes message, read;
        if (i < 3) {
            ASSERT_TRUE(writer.WriteMessage(payload, &message));
            ASSERT_TRUE(reader.ReadMessage(message, &read));
        } else {
            ASSERT_TRUE(send[byInitiator ? 0 : 1].EncryptWithAd({}, payload, &message));
            ASSERT_TRUE(receive[byInitiator ? 1 : 0].DecryptWithAd({}, message, &read));
        }
        EXPECT_EQ(message, expected);
        EXPECT_EQ(read, payload);
        if (i == 2) {
            ASSERT_TRUE(p.initiator.Done() && p.responder.Done());
            const Bytes hash = FromHex(v.values.at("handshake_hash"));
            EXPECT_EQ(Bytes(p.initiator.HandshakeHash().begin(), p.initiator.HandshakeHash().end()),
                      hash);
            EXPECT_EQ(p.responder.HandshakeHash(), p.initiator.HandshakeHash());
            EXPECT_EQ(p.initiator.RemoteStatic(), PairOf(v.values.at("resp_static")).publicKey);
            EXPECT_EQ(p.responder.RemoteStatic(), PairOf(v.values.at("init_static")).publicKey);
            ASSERT_TRUE(p.initiator.Split(&send[0], &receive[0]));
            ASSERT_TRUE(p.responder.Split(&send[1], &receive[1]));
        }
    }
}

// What an attacker on the path can do to the handshake's messages: each
// change makes the reading side fail for good.
TEST(NoiseTest, AnyChangedHandshakeMessageFailsTheHandshake) {
    const Vector v = ReadVector();
    using Change = std::function<void(Bytes&)>;
    const struct {
        const char* what;
        size_t message;
        Change change;
    } cases[] = {
        {"a flipped bit in the responder's static key", 1, [](Bytes& m) { m[40] ^= 1; }},
        {"a flipped bit in the payload's tag", 1, [](Bytes& m) { m.back() ^= 0x80; }},
        {"a flipped bit in the initiator's static key", 2, [](Bytes& m) { m[3] ^= 4; }},
        {"cut short", 2, [](Bytes& m) { m.resize(40); }},
        {"a byte more", 1, [](Bytes& m) { m.push_back(0); }},
        {"empty", 1, [](Bytes& m) { m.clear(); }},
        {"a zero ephemeral key", 1, [](Bytes& m) { std::fill(m.begin(), m.begin() + 32, 0); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Pair p(v);
        Bytes message, read;
        for (size_t i = 0; i < 3; ++i) {
            HandshakeState& writer = i % 2 == 0 ? p.initiator : p.responder;
            HandshakeState& reader = i % 2 == 0 ? p.responder : p.initiator;
            ASSERT_TRUE(writer.WriteMessage(v.messages[i].first, &message));
            if (i == c.message) {
                c.change(message);
                EXPECT_FALSE(reader.ReadMessage(message, &read));
                EXPECT_TRUE(reader.Failed());
                // Failed is final: not even the right message is taken now.
                ASSERT_TRUE(Pair(v).initiator.WriteMessage({}, &message));
                EXPECT_FALSE(reader.ReadMessage(message, &read));
                break;
            }
            ASSERT_TRUE(reader.ReadMessage(message, &read));
        }
    }
    // Out of turn: the initiator reads first, the responder writes first.
    Pair p(v);
    Bytes message, read;
    EXPECT_FALSE(p.initiator.ReadMessage(Bytes(32, 1), &read));
    EXPECT_FALSE(p.responder.WriteMessage({}, &message));
}

// After the handshake: a changed, replayed, or reordered transport message
// is refused.
TEST(NoiseTest, TransportRefusesChangedReplayedAndReorderedMessages) {
    const Vector v = ReadVector();
    Pair p(v);
    Bytes message, read;
    for (size_t i = 0; i < 3; ++i) {
        HandshakeState& writer = i % 2 == 0 ? p.initiator : p.responder;
        HandshakeState& reader = i % 2 == 0 ? p.responder : p.initiator;
        ASSERT_TRUE(writer.WriteMessage({}, &message));
        ASSERT_TRUE(reader.ReadMessage(message, &read));
    }
    CipherState send, unused, receive, unused2;
    ASSERT_TRUE(p.initiator.Split(&send, &unused));
    ASSERT_TRUE(p.responder.Split(&unused2, &receive));
    Bytes first, second;
    const Bytes line = {'d', 'i', 'r', '\r', '\n'};
    ASSERT_TRUE(send.EncryptWithAd({}, line, &first));
    ASSERT_TRUE(send.EncryptWithAd({}, line, &second));
    EXPECT_NE(first, second);
    Bytes flipped = first;
    flipped[2] ^= 1;
    EXPECT_FALSE(receive.DecryptWithAd({}, flipped, &read));
    EXPECT_FALSE(receive.DecryptWithAd({}, second, &read));  // out of order
    ASSERT_TRUE(receive.DecryptWithAd({}, first, &read));
    EXPECT_EQ(read, line);
    EXPECT_FALSE(receive.DecryptWithAd({}, first, &read));  // replayed
    ASSERT_TRUE(receive.DecryptWithAd({}, second, &read));
    EXPECT_FALSE(receive.DecryptWithAd({}, Bytes(15, 0), &read));  // shorter than a tag
}

TEST(NoiseTest, FramesArriveWholeFromAnyPiecesAndNoneIsOverTheLimit) {
    std::string stream;
    const Bytes big(kMaxMessage, 7), empty, small = {1, 2, 3};
    for (const Bytes* m : {&small, &empty, &big}) ASSERT_TRUE(Frame(*m, &stream));
    EXPECT_FALSE(Frame(Bytes(kMaxMessage + 1, 0), &stream));
    EXPECT_EQ(stream.size(), 3 * 2 + small.size() + big.size());
    for (size_t piece : {size_t{1}, size_t{2}, size_t{1000}, stream.size()}) {
        SCOPED_TRACE(piece);
        FrameReader reader;
        std::vector<Bytes> got;
        Bytes message;
        for (size_t at = 0; at < stream.size(); at += piece) {
            reader.Append(std::string_view(stream).substr(at, piece));
            while (reader.Next(&message)) got.push_back(message);
        }
        EXPECT_EQ(got, (std::vector<Bytes>{small, empty, big}));
        EXPECT_EQ(reader.Waiting(), 0u);
    }
}

}  // namespace
}  // namespace vantrel::noise
