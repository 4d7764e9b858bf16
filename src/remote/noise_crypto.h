// The cryptographic functions of the link's Noise suite, 25519_ChaChaPoly_
// SHA256, as GnuPG's libgcrypt provides them: X25519, ChaCha20-Poly1305 with
// Noise's nonce, SHA-256 and its HMAC, and the system's random source.
// Nothing here is a cipher of our own: each function is one call or a few
// into the library, in the order the Noise framework (revision 34) writes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

struct gcry_cipher_handle;

namespace vantrel::noise {

inline constexpr size_t kKeyLength = 32;   // DHLEN, and a cipher key
inline constexpr size_t kHashLength = 32;  // HASHLEN
inline constexpr size_t kTagLength = 16;   // Poly1305's

using Key = std::array<std::uint8_t, kKeyLength>;
using Hash = std::array<std::uint8_t, kHashLength>;
using Bytes = std::vector<std::uint8_t>;
using View = std::span<const std::uint8_t>;

// Overwrites memory that held a secret, in a way the compiler keeps.
void Wipe(void* data, size_t size);

// An X25519 key pair. The private half is wiped when the pair goes.
struct KeyPair {
    Key privateKey{};
    Key publicKey{};

    KeyPair() = default;
    KeyPair(const KeyPair&) = default;
    KeyPair& operator=(const KeyPair&) = default;
    ~KeyPair() { Wipe(privateKey.data(), privateKey.size()); }
};

// Readies the library once; false when it cannot run here (then no link is
// encrypted).
bool Ready();

// The pair of a private key; false when the library refuses it.
bool KeyPairOf(const Key& privateKey, KeyPair* pair);
// A new pair from the system's random source.
bool NewKeyPair(KeyPair* pair);
// The X25519 shared secret; false for a public key the library rejects.
bool Dh(const Key& privateKey, const Key& publicKey, Key* shared);

Hash Sha256(View data);
Hash HmacSha256(View key, View data);
// Noise's HKDF: two or three outputs from the chaining key and the input
// key material.
void Hkdf(const Hash& chainingKey, View input, Hash* first, Hash* second, Hash* third = nullptr);

// ChaCha20-Poly1305 with the 96-bit nonce of 32 zero bits and the 64-bit
// little-endian counter n. Encrypt appends the tag; Decrypt checks it and
// gives false, with *plain untouched, for any change of key, nonce, data or
// text.
bool Encrypt(const Key& key, std::uint64_t n, View ad, View plain, Bytes* sealed);
bool Decrypt(const Key& key, std::uint64_t n, View ad, View sealed, Bytes* plain);

// The same under one key for many messages: the library's cipher is made
// and keyed once, as a link's transport needs at every line.
class Aead {
  public:
    explicit Aead(const Key& key);
    ~Aead();
    Aead(const Aead&) = delete;
    Aead& operator=(const Aead&) = delete;

    bool Encrypt(std::uint64_t n, View ad, View plain, Bytes* sealed);
    bool Decrypt(std::uint64_t n, View ad, View sealed, Bytes* plain);

  private:
    gcry_cipher_handle* handle_ = nullptr;
    bool keyed_ = false;
};

}  // namespace vantrel::noise
