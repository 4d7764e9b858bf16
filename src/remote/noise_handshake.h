// The Noise framework's handshake (revision 34) for the one pattern the
// link speaks, Noise_XX_25519_ChaChaPoly_SHA256:
//   -> e
//   <- e, ee, s, es
//   -> s, se
// Each side learns the other's long-lived static key, and the messages after
// the third travel in the two CipherStates that Split gives. Every failure
// (a bad tag, a rejected key, a message out of turn or of the wrong size)
// is final: the state answers false from then on.
#pragma once

#include <memory>
#include <optional>
#include <string_view>

#include "remote/noise_crypto.h"

namespace vantrel::noise {

inline constexpr char kProtocolName[] = "Noise_XX_25519_ChaChaPoly_SHA256";
// The most bytes of one Noise message.
inline constexpr size_t kMaxMessage = 65535;

// A key and its nonce counter: one direction of the link.
class CipherState {
  public:
    CipherState() = default;
    explicit CipherState(const Key& key) : aead_(std::make_unique<Aead>(key)) {}

    bool HasKey() const { return aead_ != nullptr; }
    // Without a key the text passes as it is. False once the nonces are
    // spent or when the text fails its tag.
    bool EncryptWithAd(View ad, View plain, Bytes* out);
    bool DecryptWithAd(View ad, View sealed, Bytes* out);

  private:
    std::unique_ptr<Aead> aead_;
    std::uint64_t n_ = 0;
};

class HandshakeState {
  public:
    // The initiator writes the first message. `ephemeral` fixes the
    // ephemeral key (the published test values do); otherwise it is made
    // from the system's random source when first needed.
    HandshakeState(bool initiator, View prologue, const KeyPair& localStatic,
                   std::optional<KeyPair> ephemeral = std::nullopt);

    // The next message of the pattern, with its payload; false when it is
    // not this side's turn or something failed.
    bool WriteMessage(View payload, Bytes* message);
    // The other side's next message; false, with the handshake failed, for
    // anything but the right message whole.
    bool ReadMessage(View message, Bytes* payload);

    bool Done() const { return step_ == 3 && !failed_; }
    bool Failed() const { return failed_; }
    // Once done: the other side's static key, the hash of the whole
    // handshake, and the two directions (this side's sending one first).
    const Key& RemoteStatic() const { return remoteStatic_; }
    const Hash& HandshakeHash() const { return h_; }
    bool Split(CipherState* send, CipherState* receive);

  private:
    bool MyTurn() const { return (step_ % 2 == 0) == initiator_; }
    void MixHash(View data);
    bool MixKey(View input);
    bool MixDh(const Key& privateKey, const Key& publicKey);
    bool EncryptAndHash(View plain, Bytes* out);
    bool DecryptAndHash(View sealed, Bytes* out);
    bool Fail();

    bool initiator_;
    KeyPair static_;
    std::optional<KeyPair> ephemeral_;
    Key remoteEphemeral_{};
    Key remoteStatic_{};
    Hash h_{};
    Hash ck_{};
    CipherState cipher_;
    int step_ = 0;  // messages written or read so far
    bool failed_ = false;
};

}  // namespace vantrel::noise
