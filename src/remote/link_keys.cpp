#include "remote/link_keys.h"

#include <vector>

#include "platform/text_decoding.h"
#include "text/base64.h"
#include "text/case_fold.h"

namespace vantrel {

namespace {

// No key file is larger: a few thousand lines.
constexpr size_t kMostKeyFileBytes = 1 << 20;

// The file's lines, without their line ends; none when it cannot be read.
std::vector<std::string> Lines(FileSystem& files, const std::string& path) {
    std::string text, err;
    bool more = false;
    if (!files.ReadFilePart(path, 0, kMostKeyFileBytes, &text, &more, &err)) return {};
    return SplitLines(text);
}

bool KeyOf(std::string_view text, noise::Key* key) {
    std::vector<std::uint8_t> bytes;
    if (!text::FromBase64(text, &bytes) || bytes.size() != key->size()) return false;
    std::copy(bytes.begin(), bytes.end(), key->begin());
    return true;
}

// A known link's line: its host:port (any case) and key.
bool SplitKnown(const std::string& line, std::string* hostPort, noise::Key* key) {
    const size_t blank = line.find(' ');
    if (blank == std::string::npos) return false;
    *hostPort = line.substr(0, blank);
    return KeyOf(std::string_view(line).substr(blank + 1), key);
}

}  // namespace

std::string Fingerprint(const noise::Key& publicKey) {
    const noise::Hash hash = noise::Sha256(publicKey);
    return "SHA256:" + text::Base64(std::vector<std::uint8_t>(hash.begin(), hash.end()), false);
}

std::string KeyText(const noise::Key& publicKey) {
    return text::Base64(std::vector<std::uint8_t>(publicKey.begin(), publicKey.end()));
}

bool LoadLinkKey(FileSystem& files, SecretProtection& secrets, const std::string& path,
                 noise::KeyPair* key, std::string* why) {
    std::string sealed, secret, err;
    bool more = false;
    if (files.ReadFilePart(path, 0, kMostKeyFileBytes, &sealed, &more, &err)) {
        noise::Key privateKey{};
        const bool opened =
            secrets.Open(sealed, &secret, &err) && secret.size() == privateKey.size();
        if (opened) std::copy(secret.begin(), secret.end(), privateKey.begin());
        noise::Wipe(secret.data(), secret.size());
        if (opened && noise::KeyPairOf(privateKey, key)) {
            noise::Wipe(privateKey.data(), privateKey.size());
            return true;
        }
        noise::Wipe(privateKey.data(), privateKey.size());
        *why = "The link key in " + path + " cannot be read (" + err +
               "): no secure link until it is moved away, when a new one is made";
        return false;
    }
    if (files.Exists(path, FileMask::kFilesAndFolders)) {
        *why = "The link key in " + path + " cannot be read (" + err + ")";
        return false;
    }
    if (!noise::NewKeyPair(key)) {
        *why = "No link key could be made: the system gave no random bytes";
        return false;
    }
    secret.assign(key->privateKey.begin(), key->privateKey.end());
    const bool kept = secrets.Seal(secret, &sealed, &err) && files.ReplaceFile(path, sealed, &err);
    noise::Wipe(secret.data(), secret.size());
    if (!kept) {
        *why = "The link key could not be kept in " + path + " (" + err + ")";
        return false;
    }
    return true;
}

KnownLink CheckKnownLink(FileSystem& files, const std::string& path, const std::string& hostPort,
                         const noise::Key& key, noise::Key* remembered) {
    const std::string wanted = text::LowerCase(hostPort);
    std::string name;
    for (const std::string& line : Lines(files, path)) {
        if (!SplitKnown(line, &name, remembered) || text::LowerCase(name) != wanted) continue;
        return *remembered == key ? KnownLink::kSame : KnownLink::kChanged;
    }
    return KnownLink::kNew;
}

bool RememberLink(FileSystem& files, const std::string& path, const std::string& hostPort,
                  const noise::Key& key, std::string* err) {
    std::string text;
    for (const std::string& line : Lines(files, path)) text += line + "\r\n";
    return files.ReplaceFile(path, text + hostPort + " " + KeyText(key) + "\r\n", err);
}

int ForgetLink(FileSystem& files, const std::string& path, const std::string& hostPort) {
    const std::string wanted = text::LowerCase(hostPort);
    std::string kept, name, err;
    noise::Key key;
    int taken = 0;
    for (const std::string& line : Lines(files, path)) {
        if (SplitKnown(line, &name, &key) && text::LowerCase(name) == wanted) {
            ++taken;
        } else {
            kept += line + "\r\n";
        }
    }
    if (taken > 0 && !files.ReplaceFile(path, kept, &err)) return -1;
    return taken;
}

bool KeyListed(FileSystem& files, const std::string& path, const noise::Key& key) {
    noise::Key listed;
    for (const std::string& line : Lines(files, path)) {
        const size_t blank = line.find_first_of(" \t");
        if (KeyOf(std::string_view(line).substr(0, blank), &listed) && listed == key) return true;
    }
    return false;
}

}  // namespace vantrel
