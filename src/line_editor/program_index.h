// The programs and shortcuts that a first word may name: programs in the
// folders of PATH, the system's "App Paths", and the shortcuts of the Start
// menu folders. Walking them all can take far longer than a keystroke may,
// so the index is built in small time-bounded steps (one folder each) on
// the console's timer and on Tab, without a thread, and built afresh once it
// is old. Until the first build is complete, what it has so far is used.
// The Start menu is watched: a shortcut added, removed or renamed there has
// its folders walked again at once, PATH and App Paths left as they were.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "line_editor/completion.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/registry.h"

namespace vantrel {

// A point in the clock's milliseconds that work must not go past.
struct Deadline {
    const Clock& clock;
    std::uint64_t end;
    bool Passed() const { return clock.Milliseconds() >= end; }
};

// Bounds the file system's lookups by a deadline for as long as it lives:
// a lookup that reaches it ends with what it has found. The earlier test
// still applies and comes back afterwards.
class LookupDeadline {
  public:
    LookupDeadline(FileSystem& files, const Deadline& deadline);
    ~LookupDeadline();
    LookupDeadline(const LookupDeadline&) = delete;
    LookupDeadline& operator=(const LookupDeadline&) = delete;

    // Whether a lookup was told to stop: it then ended with part of what
    // it would have found.
    bool Stopped() const { return stopped_; }

  private:
    FileSystem& files_;
    std::function<bool()> earlier_;
    bool stopped_ = false;
};

// Where the index looks.
struct IndexPlaces {
    std::vector<std::string> pathFolders;
    std::vector<std::string> extensions;  // lower case, with the dot: ".exe"
    std::vector<std::string> startMenus;  // walked with their subfolders
};

class ProgramIndex {
  public:
    ProgramIndex(FileSystem& files, const Registry& registry, const Clock& clock)
        : files_(files), registry_(registry), clock_(clock) {}

    // Starts a build of places unless one is under way: of them all once
    // the last is kFreshMs old, else of the Start menus once a watch has
    // seen a change there (or a menu that cannot be watched was last walked
    // kUnwatchedMs ago).
    void Refresh(const IndexPlaces& places);
    // Works on the build: a step starts only before sliceEnd, and no lookup
    // goes on past hardEnd. True when no build is under way afterwards.
    bool Work(std::uint64_t sliceEnd, std::uint64_t hardEnd);
    bool Building() const { return !pending_.empty(); }
    // Whether a build has ever been completed.
    bool Complete() const { return complete_; }
    // Whether a build of the Start menus started by a change there is under
    // way: what Tab is asked for may be what was just added.
    bool CatchingUp() const { return Building() && !whole_; }

    // The last complete build; before there is one, what the first has
    // found so far.
    const std::vector<Candidate>& Entries() const { return complete_ ? ready_ : building_; }

    static constexpr std::uint64_t kFreshMs = 60000;
    // A Start menu without a watch (missing, or the system would not watch
    // it) is tried again and walked again this often at most: a few
    // seconds' wait for a new shortcut, and walks far apart enough to cost
    // little.
    static constexpr std::uint64_t kUnwatchedMs = 5000;
    // Bounds on what one build takes in, whatever the folders hold.
    static constexpr size_t kMostEntries = 100000;
    static constexpr size_t kMostFolders = 20000;
    static constexpr int kDeepestFolder = 12;

    // The App Paths key, under both the machine's and the user's part.
    static constexpr char kAppPaths[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";

  private:
    enum class JobKind { kAppPaths, kProgramFolder, kShortcutFolder };
    struct Job {
        JobKind kind;
        std::string folder;
        int depth = 0;
        std::string extension;  // the programs a program folder's step looks for
    };

    // One Start-menu folder and what tells of its changes.
    struct Menu {
        std::string folder;
        std::unique_ptr<FolderWatch> watch;
        std::optional<std::uint64_t> triedAt;  // when a watch was last asked for
    };

    // Whether a Start menu has changed since it was last asked, or has no
    // watch and is due a walk; takes in a new list of menus.
    bool MenusChanged(const std::vector<std::string>& folders);
    void Start(const IndexPlaces& places, bool whole);
    // Reads the job's folder on from where its last step ended; true while
    // more of it remains.
    bool Step(const Job& job);
    void Add(Candidate candidate);

    FileSystem& files_;
    const Registry& registry_;
    const Clock& clock_;
    std::deque<Job> pending_;
    // The lookup of the first pending job, when a step ended before its
    // end: a folder of many entries is read across several steps, never
    // taken as whole when it was cut.
    std::unique_ptr<FolderListing> listing_;
    size_t foldersQueued_ = 0;
    std::vector<Menu> menus_;
    // The entries of PATH and App Paths come first in a build, the
    // shortcuts after them: a build of the menus alone keeps that many of
    // the last one's.
    std::vector<Candidate> building_, ready_;
    size_t buildingPrograms_ = 0, readyPrograms_ = 0;
    bool whole_ = false;  // the build under way takes in PATH and App Paths
    bool complete_ = false;
    std::uint64_t builtAt_ = 0;  // when the last whole build was complete
};

}  // namespace vantrel
