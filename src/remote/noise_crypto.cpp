#include "remote/noise_crypto.h"

#include <gcrypt.h>

#include <cstring>

namespace vantrel::noise {

namespace {

// X25519's base point: the u-coordinate 9.
constexpr Key kBasePoint = {9};

}  // namespace

void Wipe(void* data, size_t size) {
    volatile auto* bytes = static_cast<volatile std::uint8_t*>(data);
    for (size_t i = 0; i < size; ++i) bytes[i] = 0;
}

bool Ready() {
    static const bool ready = [] {
        if (!gcry_check_version(GCRYPT_VERSION)) return false;
        // The keys live in the program's own memory, wiped after use; the
        // library's locked pool would only warn where it cannot lock.
        gcry_control(GCRYCTL_DISABLE_SECMEM, 0);
        gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
        return true;
    }();
    return ready;
}

bool KeyPairOf(const Key& privateKey, KeyPair* pair) {
    pair->privateKey = privateKey;
    return Dh(privateKey, kBasePoint, &pair->publicKey);
}

bool NewKeyPair(KeyPair* pair) {
    if (!Ready()) return false;
    Key secret;
    gcry_randomize(secret.data(), secret.size(), GCRY_VERY_STRONG_RANDOM);
    const bool made = KeyPairOf(secret, pair);
    Wipe(secret.data(), secret.size());
    return made;
}

bool Dh(const Key& privateKey, const Key& publicKey, Key* shared) {
    if (!Ready()) return false;
    if (gcry_ecc_mul_point(GCRY_ECC_CURVE25519, shared->data(), privateKey.data(),
                           publicKey.data())) {
        return false;
    }
    // A public key of small order gives nothing secret: no link is made on it.
    std::uint8_t any = 0;
    for (std::uint8_t b : *shared) any |= b;
    return any != 0;
}

Hash Sha256(View data) {
    Ready();
    Hash out{};
    gcry_md_hash_buffer(GCRY_MD_SHA256, out.data(), data.data(), data.size());
    return out;
}

Hash HmacSha256(View key, View data) {
    Hash out{};
    gcry_mac_hd_t mac = nullptr;
    if (!Ready() || gcry_mac_open(&mac, GCRY_MAC_HMAC_SHA256, 0, nullptr)) return out;
    size_t length = out.size();
    if (gcry_mac_setkey(mac, key.data(), key.size()) ||
        gcry_mac_write(mac, data.data(), data.size()) || gcry_mac_read(mac, out.data(), &length)) {
        out.fill(0);
    }
    gcry_mac_close(mac);
    return out;
}

void Hkdf(const Hash& chainingKey, View input, Hash* first, Hash* second, Hash* third) {
    Hash tempKey = HmacSha256(chainingKey, input);
    const std::uint8_t one = 1;
    *first = HmacSha256(tempKey, View(&one, 1));
    std::uint8_t next[kHashLength + 1];
    std::memcpy(next, first->data(), kHashLength);
    next[kHashLength] = 2;
    *second = HmacSha256(tempKey, next);
    if (third) {
        std::memcpy(next, second->data(), kHashLength);
        next[kHashLength] = 3;
        *third = HmacSha256(tempKey, next);
    }
    Wipe(next, sizeof next);
    Wipe(tempKey.data(), tempKey.size());
}

bool Encrypt(const Key& key, std::uint64_t n, View ad, View plain, Bytes* sealed) {
    return Aead(key).Encrypt(n, ad, plain, sealed);
}

bool Decrypt(const Key& key, std::uint64_t n, View ad, View sealed, Bytes* plain) {
    return Aead(key).Decrypt(n, ad, sealed, plain);
}

Aead::Aead(const Key& key) {
    if (!Ready() ||
        gcry_cipher_open(&handle_, GCRY_CIPHER_CHACHA20, GCRY_CIPHER_MODE_POLY1305, 0)) {
        handle_ = nullptr;
        return;
    }
    keyed_ = !gcry_cipher_setkey(handle_, key.data(), key.size());
}

Aead::~Aead() {
    // Closing wipes the key the library holds.
    if (handle_) gcry_cipher_close(handle_);
}

namespace {

// The cipher readied for one message: Noise's nonce for n, the associated
// data taken in.
bool Start(gcry_cipher_hd_t handle, std::uint64_t n, View ad) {
    std::uint8_t nonce[12] = {};
    for (int i = 0; i < 8; ++i) nonce[4 + i] = static_cast<std::uint8_t>(n >> (8 * i));
    return !gcry_cipher_reset(handle) && !gcry_cipher_setiv(handle, nonce, sizeof nonce) &&
           !gcry_cipher_authenticate(handle, ad.data(), ad.size()) && !gcry_cipher_final(handle);
}

}  // namespace

bool Aead::Encrypt(std::uint64_t n, View ad, View plain, Bytes* sealed) {
    if (!keyed_ || !Start(handle_, n, ad)) return false;
    Bytes out(plain.size() + kTagLength);
    if (gcry_cipher_encrypt(handle_, out.data(), plain.size(), plain.data(), plain.size()) ||
        gcry_cipher_gettag(handle_, out.data() + plain.size(), kTagLength)) {
        return false;
    }
    *sealed = std::move(out);
    return true;
}

bool Aead::Decrypt(std::uint64_t n, View ad, View sealed, Bytes* plain) {
    if (!keyed_ || sealed.size() < kTagLength || !Start(handle_, n, ad)) return false;
    const size_t length = sealed.size() - kTagLength;
    Bytes out(length);
    if (gcry_cipher_decrypt(handle_, out.data(), length, sealed.data(), length) ||
        gcry_cipher_checktag(handle_, sealed.data() + length, kTagLength)) {
        Wipe(out.data(), out.size());
        return false;
    }
    *plain = std::move(out);
    return true;
}

}  // namespace vantrel::noise
