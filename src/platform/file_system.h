// The file system where the standard library is not enough: Windows
// attributes, wildcard lookups, the process's current directory, the
// program's own folder. Relative paths are taken from the current folder.
// Failures fill *err with the platform's description of the error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/clock.h"

namespace vantrel {

// The two lookup masks of the file commands. System files match neither.
enum class FileMask {
    kFiles,           // normal and hidden files
    kFilesAndFolders  // the same plus folders
};

// One match of a lookup.
struct FileEntry {
    std::string name;  // the name as stored, without its folder
    bool folder = false;
    std::int64_t size = 0;  // bytes; 0 for folders
    LocalTime modified;     // last written, local time
};

// Tells whether names under a folder have changed, without reading it: a
// file or folder added, removed or renamed there. What a change was is not
// kept; the one who asks reads the folder again.
class FolderWatch {
  public:
    virtual ~FolderWatch() = default;
    // Whether anything was added, removed or renamed since the last call
    // (since the watch began, for the first). Never waits; asking resets.
    // Many changes between two calls are one.
    virtual bool Changed() = 0;
    // False once the watch has stopped for good, as when its folder was
    // removed or renamed away: it then reports nothing more, and only a new
    // watch sees the folder again.
    virtual bool Active() const = 0;
};

// A lookup read a part at a time: a folder of many entries is read across
// many short steps, each going on from where the last ended.
class FolderListing {
  public:
    virtual ~FolderListing() = default;
    // Appends matches to *entries, in the file system's order, until all
    // are read or the keep-going test says stop (it is asked as a lookup
    // asks it); true while more remain.
    virtual bool Next(std::vector<FileEntry>* entries) = 0;
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // Whether a lookup of path (wildcards "*" and "?" allowed) finds
    // anything. A path ending in "\" looks into that folder.
    virtual bool Exists(const std::string& path, FileMask mask) const = 0;
    // Every match of pattern in the file system's own order, without the
    // entries "." and "..".
    virtual std::vector<FileEntry> Find(const std::string& pattern, FileMask mask) const = 0;
    // The matches of pattern read a part at a time. This one reads them all
    // at once and hands them out in parts; a file system that can go on
    // with a lookup where it stopped does that instead.
    virtual std::unique_ptr<FolderListing> List(const std::string& pattern, FileMask mask);
    virtual bool IsFolder(const std::string& path) const = 0;

    virtual bool ReadFile(const std::string& path, std::string* contents,
                          std::string* err) const = 0;
    // Reads at most limit bytes from offset on (none past the end); *more
    // tells whether the file holds more after them. A file that another
    // program writes can be read while it grows.
    virtual bool ReadFilePart(const std::string& path, std::uint64_t offset, std::size_t limit,
                              std::string* contents, bool* more, std::string* err) const = 0;
    // Appends (creating the file when missing).
    virtual bool AppendFile(const std::string& path, const std::string& data, std::string* err) = 0;
    // Creates the file, or empties an existing one, and writes contents.
    virtual bool WriteFile(const std::string& path, const std::string& contents,
                           std::string* err) = 0;
    // Gives the file new contents in one step: they are written beside it
    // first, and only a complete copy takes the old one's place. On any
    // failure the old file stays as it was. A read-only file is refused.
    virtual bool ReplaceFile(const std::string& path, const std::string& contents,
                             std::string* err) = 0;
    // Deletes every file (never a folder) that pattern matches.
    virtual bool DeleteFiles(const std::string& pattern, std::string* err) = 0;

    virtual bool MakeFolder(const std::string& path, std::string* err) = 0;
    // Removes one empty folder.
    virtual bool RemoveFolder(const std::string& path, std::string* err) = 0;

    // Copies files, overwriting existing ones. When source holds wildcards
    // or destination ends in "\", destination is a folder that receives
    // every matching file under its own name; otherwise it is the new
    // file's full name.
    virtual bool CopyFile(const std::string& source, const std::string& destination,
                          std::string* err) = 0;
    // As CopyFile, but the files move and an existing file is never
    // replaced.
    virtual bool MoveFile(const std::string& source, const std::string& destination,
                          std::string* err) = 0;
    // Copies a folder with everything in it. An existing destination is
    // merged into, its files overwritten; a destination ending in "\"
    // receives the folder under its own name.
    virtual bool CopyFolder(const std::string& source, const std::string& destination,
                            std::string* err) = 0;
    // Moves a folder; the destination must not exist yet (one ending in
    // "\" receives the folder under its own name).
    virtual bool MoveFolder(const std::string& source, const std::string& destination,
                            std::string* err) = 0;
    // Renames or moves one file or folder; destination is its full new
    // name, relative to the current folder.
    virtual bool Rename(const std::string& source, const std::string& destination,
                        std::string* err) = 0;

    virtual std::string CurrentDirectory() const = 0;
    // Makes path the process's current directory, drive included.
    virtual bool SetCurrentDirectory(const std::string& path, std::string* err) = 0;
    // Changes the current folder of the drive that path names, leaving the
    // current drive as it is (a path on another drive only changes that
    // drive's remembered folder).
    virtual bool ChangeFolder(const std::string& path, std::string* err) = 0;
    // Makes the drive of "X:" the current drive, at its remembered folder.
    virtual bool ChangeDrive(const std::string& drive, std::string* err) = 0;

    // The folder that holds the program's executable, without a trailing "\".
    virtual std::string ProgramFolder() const = 0;
    // The drives that exist, as "C:", in the system's order.
    virtual std::vector<std::string> Drives() const = 0;

    // Starts watching folder for names added, removed or renamed in it
    // (and, with subtree, in every folder below it). Null when folder is
    // not an existing folder, or the system will not watch it (too many
    // watches, a share that cannot): a caller that still needs to know
    // reads the folder again now and then instead, and may ask again later.
    virtual std::unique_ptr<FolderWatch> WatchFolder(const std::string& folder,
                                                     bool subtree) const = 0;

    // Long work (a big copy or move, a folder of many entries) asks this now
    // and then whether to go on, which keeps the console alive meanwhile. A
    // copy or move told to stop fails with the system's "aborted" error; a
    // lookup told to stop ends with what it has found.
    void SetKeepGoing(std::function<bool()> keepGoing) { keepGoing_ = std::move(keepGoing); }
    bool KeepGoing() const { return !keepGoing_ || keepGoing_(); }
    // Puts another test in its place for a while (a time limit on one
    // lookup) and returns the one it replaced, to be put back.
    std::function<bool()> ExchangeKeepGoing(std::function<bool()> keepGoing) {
        return std::exchange(keepGoing_, std::move(keepGoing));
    }

  private:
    std::function<bool()> keepGoing_;
};

}  // namespace vantrel
