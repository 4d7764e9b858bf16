// An in-memory file system with the Windows rules the commands rely on:
// paths compared without letter case, relative paths taken from the current
// folder, "*" and "?" lookups, hidden, system and read-only files, the
// failures a real disk gives (a missing folder, a full disk, a name too long
// or with bytes no name may hold), and devices: a lookup finds "COM1" in any
// folder, and opening it would wait for ever.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "fault_injector.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "text/case_fold.h"

namespace vantrel::testing {

inline constexpr char kNotFound[] = "The system cannot find the file specified.";
inline constexpr char kPathNotFound[] = "The system cannot find the path specified.";
inline constexpr char kAccessDenied[] = "Access is denied.";
inline constexpr char kAlreadyExists[] = "Cannot create a file when that file already exists.";
inline constexpr char kNotEmpty[] = "The directory is not empty.";
inline constexpr char kTooLong[] = "The filename or extension is too long.";
inline constexpr char kBadName[] =
    "The filename, directory name, or volume label syntax is incorrect.";
inline constexpr char kDeviceWaits[] = "<the device would keep the console waiting>";

// Windows' lookup rule: "*" any run of characters, "?" one, letter case
// ignored; a pattern ending in ".*" also takes names without a dot. Matched
// with one step back to the last "*", so that a pattern of many stars
// takes time in proportion to its length, not exponential in it.
inline bool WildcardMatch(std::string_view pattern, std::string_view name) {
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
        name.find('.') == std::string_view::npos &&
        WildcardMatch(pattern.substr(0, pattern.size() - 2), name)) {
        return true;
    }
    size_t p = 0, n = 0, star = std::string_view::npos, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || text::AsciiLower(pattern[p]) ==
                                                                   text::AsciiLower(name[n]))) {
            ++p;
            ++n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

inline bool HasWildcards(std::string_view path) {
    return path.find_first_of("*?") != std::string_view::npos;
}

class FakeFileSystem : public FileSystem {
  public:
    // What a file or folder holds besides its contents.
    struct Node {
        std::string path;  // the full path as created, letter case kept
        LocalTime modified{2026, 1, 2, 3, 4, 5, 0};
        std::int64_t size = -1;  // -1: the contents' length
        bool hidden = false, system = false, readOnly = false;
    };

    FakeFileSystem() { folders.insert("c:\\"); }
    static constexpr size_t kEntriesBetweenChecks = 256;

    // A full path for path relative to the current folder; ".." climbs,
    // "/" is read as "\" and doubled separators fold.
    std::string Resolve(const std::string& pathIn) const {
        std::string path = pathIn;
        std::replace(path.begin(), path.end(), '/', '\\');
        std::string full;
        if (path.size() >= 2 && path[1] == ':') {
            std::string drive = path.substr(0, 2), rest = path.substr(2);
            bool sameDrive = text::AsciiLower(drive[0]) == text::AsciiLower(current[0]);
            full = !rest.empty() && rest[0] == '\\' ? drive + rest
                   : sameDrive                      ? current + "\\" + rest
                                                    : drive + "\\" + rest;
        } else if (!path.empty() && path[0] == '\\') {
            full = current.substr(0, 2) + path;
        } else {
            full = current + "\\" + path;
        }
        std::vector<std::string> parts;
        size_t start = 3;
        while (start <= full.size()) {
            size_t end = full.find('\\', start);
            if (end == std::string::npos) end = full.size();
            std::string part = full.substr(start, end - start);
            if (part == "..") {
                if (!parts.empty()) parts.pop_back();
            } else if (!part.empty() && part != ".") {
                parts.push_back(part);
            }
            start = end + 1;
        }
        std::string out = full.substr(0, 2);
        for (const std::string& part : parts) out += "\\" + part;
        return parts.empty() ? out + "\\" : out;
    }
    std::string Key(const std::string& path) const { return text::LowerCase(Resolve(path)); }

    // --- FileSystem ---------------------------------------------------
    bool Exists(const std::string& path, FileMask mask) const override {
        return !Find(path, mask).empty();
    }

    std::vector<FileEntry> Find(const std::string& patternIn, FileMask mask) const override {
        if (Injected(nullptr)) return {};
        std::vector<FileEntry> found;
        if (patternIn.empty()) return found;
        if (!HasWildcards(patternIn) && IsDevice(patternIn)) {
            FileEntry device;
            device.name = LastPart(patternIn);
            return {device};
        }
        std::string pattern = patternIn;
        if (EndsInSeparator(pattern)) pattern += "*";
        std::string name = LastPart(pattern);
        if (name == "." || name == "..") return found;
        std::string folderKey =
            text::LowerCase(Resolve(pattern.substr(0, pattern.size() - name.size())));
        // Only the keys under the folder that begin as the pattern does are
        // looked at: the maps keep them together, so a lookup costs what
        // matches, as the system's indexed folders do, not the disk.
        std::string prefix = JoinPath(folderKey, "");
        std::string literal = name.substr(0, name.find_first_of("*?<>\""));
        // "name." matches "name" too, as the system's lookup has it.
        while (!literal.empty() && (literal.back() == '.' || literal.back() == ' ')) {
            literal.pop_back();
        }
        prefix += text::LowerCase(literal);
        std::vector<std::string> keys;
        for (auto it = files.lower_bound(prefix);
             it != files.end() && it->first.compare(0, prefix.size(), prefix) == 0; ++it) {
            keys.push_back(it->first);
        }
        if (mask == FileMask::kFilesAndFolders) {
            for (auto it = folders.lower_bound(prefix);
                 it != folders.end() && it->compare(0, prefix.size(), prefix) == 0; ++it) {
                keys.push_back(*it);
            }
        }
        std::sort(keys.begin(), keys.end());
        size_t looked = 0;
        for (const std::string& key : keys) {
            if (key.size() <= 3 || ParentKey(key) != folderKey) continue;
            // As the system's lookup does, it asks now and then, counting
            // the entries it looked at, whether to go on, and told to stop
            // ends with what it has found.
            if (++looked % kEntriesBetweenChecks == 0 && !KeepGoing()) break;
            const Node* node = NodeAt(key);
            std::string shown = node ? LastPart(node->path) : LastPart(key);
            if (!WildcardMatch(name, shown) || (node && node->system)) continue;
            FileEntry entry;
            entry.name = shown;
            entry.folder = folders.count(key) > 0;
            if (!entry.folder)
                entry.size = node && node->size >= 0 ? node->size : files.at(key).size();
            if (node) entry.modified = node->modified;
            found.push_back(entry);
        }
        return found;
    }

    bool IsFolder(const std::string& path) const override { return folders.count(Key(path)) > 0; }

    bool ReadFile(const std::string& path, std::string* contents, std::string* err) const override {
        if (Injected(err)) return false;
        if (UsesDevice(path, err)) return false;
        auto it = files.find(Key(path));
        if (it == files.end()) return Fail(err, kNotFound);
        *contents = it->second;
        return true;
    }
    bool ReadFilePart(const std::string& path, std::uint64_t offset, std::size_t limit,
                      std::string* contents, bool* more, std::string* err) const override {
        if (!ReadFile(path, contents, err)) return false;
        contents->erase(0, std::min<std::uint64_t>(offset, contents->size()));
        *more = contents->size() > limit;
        if (*more) contents->resize(limit);
        return true;
    }
    bool AppendFile(const std::string& path, const std::string& data, std::string* err) override {
        if (UsesDevice(path, err)) return false;
        std::string key = Key(path);
        if (!CanWrite(key, err)) return false;
        if (!writeError.empty() && !data.empty()) return Fail(err, writeError);
        Touch(path);
        // A write cut short leaves part of the data behind.
        if (Injected(err)) {
            files[key] += data.substr(0, data.size() / 2);
            return false;
        }
        files[key] += data;
        Written(key);
        return true;
    }
    bool WriteFile(const std::string& path, const std::string& contents,
                   std::string* err) override {
        if (UsesDevice(path, err)) return false;
        std::string key = Key(path);
        if (!CanWrite(key, err)) return false;
        // Creating anew does not take over a hidden or system file.
        const Node* node = NodeAt(key);
        if (node && (node->hidden || node->system)) return Fail(err, kAccessDenied);
        Touch(path);
        // A disk that fills up leaves the emptied file behind, one that
        // fails on the way the part written so far.
        files[key].clear();
        if (!writeError.empty()) return Fail(err, writeError);
        if (Injected(err)) {
            files[key] = contents.substr(0, contents.size() / 2);
            return false;
        }
        files[key] = contents;
        Written(key);
        return true;
    }
    bool ReplaceFile(const std::string& path, const std::string& contents,
                     std::string* err) override {
        if (UsesDevice(path, err)) return false;
        std::string key = Key(path);
        if (!CanWrite(key, err)) return false;
        if (!writeError.empty()) return Fail(err, writeError);
        if (Injected(err)) return false;
        Touch(path);
        files[key] = contents;
        ++replaceCount;
        Written(key);
        return true;
    }
    bool DeleteFiles(const std::string& pattern, std::string* err) override {
        if (Injected(err)) return false;
        if (UsesDevice(pattern, err)) return false;
        std::vector<FileEntry> found = Find(pattern, FileMask::kFiles);
        if (found.empty()) return Fail(err, kNotFound);
        std::string folder = Resolve(pattern.substr(0, pattern.size() - LastPart(pattern).size()));
        bool ok = true;
        for (const FileEntry& entry : found) {
            std::string key = text::LowerCase(Join(folder, entry.name));
            const Node* node = NodeAt(key);
            if (node && node->readOnly) {
                if (ok) Fail(err, kAccessDenied);
                ok = false;
                continue;
            }
            files.erase(key);
            nodes.erase(key);
        }
        return ok;
    }

    bool MakeFolder(const std::string& path, std::string* err) override {
        if (Injected(err)) return false;
        if (UsesDevice(path, err)) return false;
        std::string key = Key(path);
        if (!CanName(key, err)) return false;
        if (files.count(key) || folders.count(key)) return Fail(err, kAlreadyExists);
        if (!folders.count(ParentKey(key))) return Fail(err, kPathNotFound);
        folders.insert(key);
        Touch(path);
        return true;
    }
    bool RemoveFolder(const std::string& path, std::string* err) override {
        if (Injected(err)) return false;
        if (UsesDevice(path, err)) return false;
        std::string key = Key(path);
        if (!folders.count(key)) return Fail(err, kNotFound);
        for (const auto& [k, v] : files) {
            if (ParentKey(k) == key) return Fail(err, kNotEmpty);
        }
        for (const std::string& k : folders) {
            if (k.size() > 3 && ParentKey(k) == key) return Fail(err, kNotEmpty);
        }
        folders.erase(key);
        nodes.erase(key);
        return true;
    }

    bool CopyFile(const std::string& source, const std::string& destination,
                  std::string* err) override {
        return Transfer(source, destination, false, err);
    }
    bool MoveFile(const std::string& source, const std::string& destination,
                  std::string* err) override {
        return Transfer(source, destination, true, err);
    }
    bool CopyFolder(const std::string& source, const std::string& destination,
                    std::string* err) override {
        return TransferFolder(source, destination, false, err);
    }
    bool MoveFolder(const std::string& source, const std::string& destination,
                    std::string* err) override {
        return TransferFolder(source, destination, true, err);
    }
    bool Rename(const std::string& source, const std::string& destination,
                std::string* err) override {
        if (Injected(err)) return false;
        if (UsesDevice(source, err) || UsesDevice(destination, err)) return false;
        std::string from = Key(source), to = Key(destination);
        if (!files.count(from) && !folders.count(from)) return Fail(err, kNotFound);
        if (!CanName(to, err)) return false;
        if (files.count(to) || folders.count(to)) return Fail(err, kAlreadyExists);
        if (!folders.count(ParentKey(to))) return Fail(err, kPathNotFound);
        CopyTree(Resolve(source), Resolve(destination), true);
        return true;
    }

    std::string CurrentDirectory() const override { return current; }
    bool SetCurrentDirectory(const std::string& path, std::string* err) override {
        if (Injected(err)) return false;
        if (UsesDevice(path, err)) return false;
        std::string full = Resolve(path);
        if (!folders.count(text::LowerCase(full))) return Fail(err, "Path not found");
        current = full;
        return true;
    }
    bool ChangeFolder(const std::string& path, std::string* err) override {
        if (Injected(err)) return false;
        if (UsesDevice(path, err)) return false;
        std::string full = Resolve(path);
        if (!folders.count(text::LowerCase(full))) return Fail(err, "Path not found");
        if (text::AsciiLower(full[0]) == text::AsciiLower(current[0])) current = full;
        return true;
    }
    bool ChangeDrive(const std::string& drive, std::string* err) override {
        if (Injected(err)) return false;
        std::string root = std::string(1, text::AsciiUpper(drive[0])) + ":\\";
        if (!folders.count(text::LowerCase(root))) return Fail(err, "Device unavailable");
        current = root;
        return true;
    }
    std::string ProgramFolder() const override { return programFolder; }
    std::vector<std::string> Drives() const override {
        std::vector<std::string> drives;
        for (const std::string& key : folders) {
            if (key.size() == 3) drives.push_back(std::string(1, text::AsciiUpper(key[0])) + ":");
        }
        return drives;
    }

    // A watch compares a digest of the names under its folder with the one
    // it took when last asked.
    class Watch : public FolderWatch {
      public:
        Watch(const FakeFileSystem& files, std::string key, bool subtree)
            : files_(files),
              key_(std::move(key)),
              subtree_(subtree),
              seen_(files.NamesDigest(key_, subtree)) {}
        bool Changed() override {
            if (!active_) return false;
            if (!files_.folders.count(key_)) {
                active_ = false;
                return true;
            }
            const std::uint64_t now = files_.NamesDigest(key_, subtree_);
            return std::exchange(seen_, now) != now;
        }
        bool Active() const override { return active_; }

      private:
        const FakeFileSystem& files_;
        const std::string key_;
        const bool subtree_;
        std::uint64_t seen_;
        bool active_ = true;
    };
    std::unique_ptr<FolderWatch> WatchFolder(const std::string& folder,
                                             bool subtree) const override {
        if (refuseWatches || !IsFolder(folder)) return nullptr;
        return std::make_unique<Watch>(*this, Key(folder), subtree);
    }
    // The names under the folder key (at every depth with subtree) as
    // stored, letter case and kind included, in one number.
    std::uint64_t NamesDigest(const std::string& key, bool subtree) const {
        const std::string prefix = JoinPath(key, "");
        std::uint64_t digest = 0;
        // Visits the keys of one map under the folder, in order.
        auto under = [&](const auto& keyed, auto visit) {
            for (auto it = keyed.lower_bound(prefix); it != keyed.end(); ++it) {
                const std::string_view name = KeyOf(*it);
                if (name.compare(0, prefix.size(), prefix) != 0) break;
                if (subtree || name.find('\\', prefix.size()) == std::string_view::npos) visit(*it);
            }
        };
        auto mix = [&](std::string_view text, std::uint64_t kind) {
            digest = (digest ^ std::hash<std::string_view>()(text)) * 1099511628211ull + kind;
        };
        under(files, [&](const auto& file) { mix(file.first, 1); });
        under(folders, [&](const std::string& folder) { mix(folder, 2); });
        under(nodes, [&](const auto& node) { mix(node.second.path, 3); });
        return digest;
    }
    // When set, every folder watch is refused, as by a system that has run
    // out of them.
    bool refuseWatches = false;

    // --- setting up a test --------------------------------------------
    void AddFile(const std::string& path, const std::string& contents) {
        files[Key(path)] = contents;
        Touch(path);
    }
    void AddFolder(const std::string& path) {
        folders.insert(Key(path));
        Touch(path);
    }
    // The details of an existing file or folder, to change its time, size
    // or attributes.
    Node& At(const std::string& path) { return Touch(path); }
    std::string Contents(const std::string& path) const {
        auto it = files.find(Key(path));
        return it == files.end() ? "<missing>" : it->second;
    }
    bool HasFile(const std::string& path) const { return files.count(Key(path)) > 0; }

    std::map<std::string, std::string> files;  // key: the lower-case full path
    std::set<std::string> folders;
    std::map<std::string, Node> nodes;
    std::string current = "C:\\";
    std::string programFolder = "C:\\Program Files\\Vantrel";
    // When set, every write fails with this description, as on a full disk.
    std::string writeError;
    int replaceCount = 0;
    // Every path handed to an operation that would have opened a device.
    mutable std::vector<std::string> deviceUses;
    // Asked before every call that can fail.
    FaultInjector* faults = nullptr;
    // Told of every file a write, append or replace has changed.
    std::function<void(const std::string& key, const std::string& contents)> onWrite;

  private:
    static std::string_view KeyOf(const std::string& key) { return key; }
    template <typename Value>
    static std::string_view KeyOf(const std::pair<const std::string, Value>& entry) {
        return entry.first;
    }
    static bool Fail(std::string* err, const std::string& text) {
        if (err) *err = text;
        return false;
    }
    void Written(const std::string& key) {
        if (onWrite) onWrite(key, files[key]);
    }
    bool Injected(std::string* err) const {
        if (!faults || !faults->Fails()) return false;
        Fail(err, kInjectedFailure);
        return true;
    }
    static std::string LastPart(const std::string& path) { return std::string(NameOf(path)); }
    static bool IsDevice(const std::string& path) {
        std::string name = text::LowerCase(LastPart(path));
        name = name.substr(0, name.find('.'));
        if (name == "con" || name == "prn" || name == "aux" || name == "nul") return true;
        return name.size() == 4 && (name.rfind("com", 0) == 0 || name.rfind("lpt", 0) == 0) &&
               name[3] >= '1' && name[3] <= '9';
    }
    bool UsesDevice(const std::string& path, std::string* err) const {
        if (!IsDevice(path)) return false;
        deviceUses.push_back(path);
        return !Fail(err, kDeviceWaits);
    }
    static std::string ParentKey(const std::string& key) {
        return std::string(TrimSeparators(FolderOf(key)));
    }
    static std::string Join(const std::string& folder, const std::string& name) {
        return JoinPath(folder, name);
    }
    const Node* NodeAt(const std::string& key) const {
        auto it = nodes.find(key);
        return it == nodes.end() ? nullptr : &it->second;
    }
    Node& Touch(const std::string& path) {
        Node& node = nodes[Key(path)];
        if (node.path.empty()) node.path = Resolve(path);
        return node;
    }
    // Windows' rules for a new name: a full path of at most MAX_PATH less
    // its terminating zero, no control characters, no wildcards or quotes.
    static bool CanName(const std::string& key, std::string* err) {
        if (key.size() > 259) return Fail(err, kTooLong);
        for (char c : key.substr(2)) {
            if (static_cast<unsigned char>(c) < 0x20 ||
                std::string_view("\"*?<>|:").find(c) != std::string_view::npos) {
                return Fail(err, kBadName);
            }
        }
        return true;
    }
    bool CanWrite(const std::string& key, std::string* err) const {
        if (!CanName(key, err)) return false;
        if (folders.count(key)) return Fail(err, kAccessDenied);
        if (!folders.count(ParentKey(key))) return Fail(err, kPathNotFound);
        const Node* node = NodeAt(key);
        if (node && node->readOnly) return Fail(err, kAccessDenied);
        return true;
    }

    // Files: one to a full name, or every match into a folder.
    bool Transfer(const std::string& source, const std::string& destination, bool move,
                  std::string* err) {
        if (Injected(err)) return false;
        if (UsesDevice(source, err) || UsesDevice(destination, err)) return false;
        const bool intoFolder = HasWildcards(source) || EndsInSeparator(destination);
        std::vector<FileEntry> found = Find(source, FileMask::kFiles);
        if (found.empty() || (!intoFolder && found.size() != 1)) return Fail(err, kNotFound);
        std::string from = Resolve(source.substr(0, source.size() - LastPart(source).size()));
        for (const FileEntry& entry : found) {
            std::string to = intoFolder ? Join(Resolve(destination), entry.name) : destination;
            if (intoFolder && !folders.count(Key(Resolve(destination)))) {
                return Fail(err, kPathNotFound);
            }
            std::string toKey = Key(to);
            if (folders.count(toKey)) return Fail(err, kAccessDenied);
            if (move && files.count(toKey)) return Fail(err, kAlreadyExists);
            if (!CanWrite(toKey, err)) return false;
            std::string fromKey = text::LowerCase(Join(from, entry.name));
            if (fromKey == toKey) continue;
            files[toKey] = files[fromKey];
            Node copied = nodes[fromKey];
            copied.path = Resolve(to);
            nodes[toKey] = copied;
            if (move) {
                files.erase(fromKey);
                nodes.erase(fromKey);
            }
        }
        return true;
    }

    bool TransferFolder(const std::string& source, const std::string& destination, bool move,
                        std::string* err) {
        if (Injected(err)) return false;
        if (UsesDevice(source, err) || UsesDevice(destination, err)) return false;
        if (HasWildcards(source)) {
            std::string folder = source.substr(0, source.size() - LastPart(source).size());
            bool any = false;
            for (const FileEntry& entry : Find(source, FileMask::kFilesAndFolders)) {
                if (!entry.folder) continue;
                any = true;
                std::string target = Join(Resolve(destination), entry.name);
                if (!TransferFolder(folder + entry.name, target, move, err)) return false;
            }
            return any || Fail(err, kPathNotFound);
        }
        std::string from = Resolve(source);
        if (!folders.count(text::LowerCase(from))) return Fail(err, kPathNotFound);
        std::string to = EndsInSeparator(destination) ? Join(Resolve(destination), LastPart(from))
                                                      : Resolve(destination);
        std::string fromKey = text::LowerCase(from), toKey = text::LowerCase(to);
        if (toKey == fromKey || toKey.rfind(fromKey + "\\", 0) == 0) {
            return Fail(err, "Cannot copy a folder into itself");
        }
        if (!folders.count(ParentKey(toKey))) return Fail(err, kPathNotFound);
        if (!CanName(toKey, err)) return false;
        if (files.count(toKey) || (move && folders.count(toKey))) return Fail(err, kAlreadyExists);
        CopyTree(from, to, move);
        return true;
    }

    // Copies a file or a folder with everything under it to the full path
    // to, merging into a folder that is there; a move drops the original.
    // Built aside first, so that a move changing only letter case works.
    void CopyTree(const std::string& from, const std::string& to, bool move) {
        const std::string fromKey = text::LowerCase(from), toKey = text::LowerCase(to);
        auto inTree = [&](const std::string& key) {
            return key == fromKey || key.rfind(fromKey + "\\", 0) == 0;
        };
        auto newKey = [&](const std::string& key) { return toKey + key.substr(fromKey.size()); };
        std::map<std::string, std::string> newFiles;
        std::set<std::string> newFolders;
        std::map<std::string, Node> newNodes;
        for (const auto& [key, contents] : files) {
            if (inTree(key)) newFiles[newKey(key)] = contents;
        }
        for (const std::string& key : folders) {
            if (inTree(key)) newFolders.insert(newKey(key));
        }
        for (const auto& [key, node] : nodes) {
            if (!inTree(key)) continue;
            newNodes[newKey(key)] = node;
            newNodes[newKey(key)].path =
                to + node.path.substr(std::min(from.size(), node.path.size()));
        }
        if (move) {
            std::erase_if(files, [&](const auto& entry) { return inTree(entry.first); });
            std::erase_if(folders, inTree);
            std::erase_if(nodes, [&](const auto& entry) { return inTree(entry.first); });
        }
        for (auto& [key, contents] : newFiles) files[key] = contents;
        folders.insert(newFolders.begin(), newFolders.end());
        for (auto& [key, node] : newNodes) nodes[key] = node;
    }
};

}  // namespace vantrel::testing
