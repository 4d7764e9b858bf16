#include "remote/noise_handshake.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace vantrel::noise {

namespace {

void Append(Bytes* out, View bytes) {
    out->insert(out->end(), bytes.begin(), bytes.end());
}

}  // namespace

bool CipherState::EncryptWithAd(View ad, View plain, Bytes* out) {
    if (!aead_) {
        out->assign(plain.begin(), plain.end());
        return true;
    }
    // The last nonce is reserved; a link never comes near it.
    if (n_ == std::numeric_limits<std::uint64_t>::max()) return false;
    if (!aead_->Encrypt(n_, ad, plain, out)) return false;
    ++n_;
    return true;
}

bool CipherState::DecryptWithAd(View ad, View sealed, Bytes* out) {
    if (!aead_) {
        out->assign(sealed.begin(), sealed.end());
        return true;
    }
    if (n_ == std::numeric_limits<std::uint64_t>::max()) return false;
    if (!aead_->Decrypt(n_, ad, sealed, out)) return false;
    ++n_;
    return true;
}

HandshakeState::HandshakeState(bool initiator, View prologue, const KeyPair& localStatic,
                               std::optional<KeyPair> ephemeral)
    : initiator_(initiator), static_(localStatic), ephemeral_(std::move(ephemeral)) {
    // The name is exactly HASHLEN bytes: it is h itself, unhashed.
    static_assert(sizeof kProtocolName - 1 == kHashLength);
    std::memcpy(h_.data(), kProtocolName, kHashLength);
    ck_ = h_;
    MixHash(prologue);
}

void HandshakeState::MixHash(View data) {
    Bytes joined(h_.begin(), h_.end());
    Append(&joined, data);
    h_ = Sha256(joined);
}

bool HandshakeState::MixKey(View input) {
    Hash key;
    Hkdf(ck_, input, &ck_, &key);
    Key cipherKey;
    std::copy(key.begin(), key.end(), cipherKey.begin());
    cipher_ = CipherState(cipherKey);
    Wipe(key.data(), key.size());
    Wipe(cipherKey.data(), cipherKey.size());
    return true;
}

bool HandshakeState::MixDh(const Key& privateKey, const Key& publicKey) {
    Key shared;
    const bool ok = Dh(privateKey, publicKey, &shared) && MixKey(shared);
    Wipe(shared.data(), shared.size());
    return ok;
}

bool HandshakeState::EncryptAndHash(View plain, Bytes* out) {
    Bytes sealed;
    if (!cipher_.EncryptWithAd(h_, plain, &sealed)) return false;
    MixHash(sealed);
    Append(out, sealed);
    return true;
}

bool HandshakeState::DecryptAndHash(View sealed, Bytes* out) {
    if (!cipher_.DecryptWithAd(h_, sealed, out)) return false;
    MixHash(sealed);
    return true;
}

bool HandshakeState::Fail() {
    failed_ = true;
    return false;
}

bool HandshakeState::WriteMessage(View payload, Bytes* message) {
    if (failed_ || step_ >= 3 || !MyTurn()) return Fail();
    message->clear();
    if (step_ < 2) {
        // "e": this side's ephemeral key, in clear.
        if (!ephemeral_) {
            ephemeral_.emplace();
            if (!NewKeyPair(&*ephemeral_)) return Fail();
        }
        Append(message, ephemeral_->publicKey);
        MixHash(ephemeral_->publicKey);
    }
    if (step_ == 1) {
        // The responder: "ee", "s", "es".
        if (!MixDh(ephemeral_->privateKey, remoteEphemeral_) ||
            !EncryptAndHash(static_.publicKey, message) ||
            !MixDh(static_.privateKey, remoteEphemeral_)) {
            return Fail();
        }
    } else if (step_ == 2) {
        // The initiator: "s", "se".
        if (!EncryptAndHash(static_.publicKey, message) ||
            !MixDh(static_.privateKey, remoteEphemeral_)) {
            return Fail();
        }
    }
    if (!EncryptAndHash(payload, message) || message->size() > kMaxMessage) return Fail();
    ++step_;
    return true;
}

bool HandshakeState::ReadMessage(View message, Bytes* payload) {
    if (failed_ || step_ >= 3 || MyTurn() || message.size() > kMaxMessage) return Fail();
    // The encrypted static key: the key and its tag once a key is mixed in.
    const size_t sealedKey = kKeyLength + kTagLength;
    View rest = message;
    if (step_ < 2) {
        // "e"
        if (rest.size() < kKeyLength) return Fail();
        std::copy(rest.begin(), rest.begin() + kKeyLength, remoteEphemeral_.begin());
        MixHash(rest.first(kKeyLength));
        rest = rest.subspan(kKeyLength);
    }
    Bytes key;
    if (step_ == 1) {
        // At the initiator: "ee", "s", "es".
        if (rest.size() < sealedKey || !MixDh(ephemeral_->privateKey, remoteEphemeral_) ||
            !DecryptAndHash(rest.first(sealedKey), &key)) {
            return Fail();
        }
        std::copy(key.begin(), key.end(), remoteStatic_.begin());
        rest = rest.subspan(sealedKey);
        if (!MixDh(ephemeral_->privateKey, remoteStatic_)) return Fail();
    } else if (step_ == 2) {
        // At the responder: "s", "se".
        if (rest.size() < sealedKey || !DecryptAndHash(rest.first(sealedKey), &key)) return Fail();
        std::copy(key.begin(), key.end(), remoteStatic_.begin());
        rest = rest.subspan(sealedKey);
        if (!MixDh(ephemeral_->privateKey, remoteStatic_)) return Fail();
    }
    if (!DecryptAndHash(rest, payload)) return Fail();
    ++step_;
    return true;
}

bool HandshakeState::Split(CipherState* send, CipherState* receive) {
    if (!Done()) return false;
    Hash first, second;
    Hkdf(ck_, View(), &first, &second);
    Key one, two;
    std::copy(first.begin(), first.end(), one.begin());
    std::copy(second.begin(), second.end(), two.begin());
    *send = CipherState(initiator_ ? one : two);
    *receive = CipherState(initiator_ ? two : one);
    for (auto* secret : {&first, &second}) Wipe(secret->data(), secret->size());
    for (auto* secret : {&one, &two}) Wipe(secret->data(), secret->size());
    Wipe(ck_.data(), ck_.size());
    return true;
}

}  // namespace vantrel::noise
