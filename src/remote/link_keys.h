// The keys of the secure link, kept beside History.txt in the user's own
// folder: the console's own link key (LinkKey.dat, sealed as the system
// seals a user's secrets), the servers' keys it has met (KnownLinks.txt,
// trusted on first use, as ssh's known_hosts), and the clients' keys that
// log in without the password (LinkKeys.txt, as ssh's authorized_keys).
#pragma once

#include <string>

#include "platform/file_system.h"
#include "platform/secrets.h"
#include "remote/noise_crypto.h"

namespace vantrel {

inline constexpr char kLinkKeyFileName[] = "LinkKey.dat";
inline constexpr char kKnownLinksFileName[] = "KnownLinks.txt";
inline constexpr char kLinkKeysFileName[] = "LinkKeys.txt";

// "SHA256:" and the unpadded Base64 of the key's SHA-256, as ssh prints it.
std::string Fingerprint(const noise::Key& publicKey);
// The padded Base64 of the key, as LinkKeys.txt lists it.
std::string KeyText(const noise::Key& publicKey);

// The console's link key from its sealed file, or a new one made from the
// system's random source and sealed there when there is no file. A file
// that does not open (sealed by another user, or damaged) is never written
// over: false, with *why saying so.
bool LoadLinkKey(FileSystem& files, SecretProtection& secrets, const std::string& path,
                 noise::KeyPair* key, std::string* why);

// What KnownLinks.txt says of a server's key: one "host:port key" a line.
enum class KnownLink { kNew, kSame, kChanged };
KnownLink CheckKnownLink(FileSystem& files, const std::string& path, const std::string& hostPort,
                         const noise::Key& key, noise::Key* remembered);
bool RememberLink(FileSystem& files, const std::string& path, const std::string& hostPort,
                  const noise::Key& key, std::string* err);
// Takes a server's line out; the number of lines taken out, -1 when the
// file could not be written.
int ForgetLink(FileSystem& files, const std::string& path, const std::string& hostPort);

// Whether LinkKeys.txt lists the key: one padded Base64 key a line,
// optionally followed by a blank and a comment.
bool KeyListed(FileSystem& files, const std::string& path, const noise::Key& key);

}  // namespace vantrel
