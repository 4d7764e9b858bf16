#include "line_editor/program_index.h"

#include <algorithm>
#include <utility>

#include "platform/paths.h"
#include "text/compare.h"

namespace vantrel {

LookupDeadline::LookupDeadline(FileSystem& files, const Deadline& deadline) : files_(files) {
    const Clock* clock = &deadline.clock;
    const std::uint64_t end = deadline.end;
    earlier_ = files_.ExchangeKeepGoing(nullptr);
    files_.ExchangeKeepGoing([clock, end, earlier = earlier_, stopped = &stopped_] {
        const bool go = clock->Milliseconds() < end && (!earlier || earlier());
        if (!go) *stopped = true;
        return go;
    });
}

LookupDeadline::~LookupDeadline() {
    files_.ExchangeKeepGoing(std::move(earlier_));
}

void ProgramIndex::Refresh(const IndexPlaces& places) {
    if (Building()) return;
    // The watches are asked before every build, a whole one too, so that
    // what it walks anyway is not walked again after it; and a watch starts
    // before its folders are walked, which is what Wine needs to hear of
    // changes in the subfolders.
    const bool menusChanged = MenusChanged(places.startMenus);
    if (!complete_ || clock_.Milliseconds() - builtAt_ >= kFreshMs) {
        Start(places, true);
    } else if (menusChanged) {
        Start(places, false);
    }
}

bool ProgramIndex::MenusChanged(const std::vector<std::string>& folders) {
    if (!std::equal(
            menus_.begin(), menus_.end(), folders.begin(), folders.end(),
            [](const Menu& menu, const std::string& folder) { return menu.folder == folder; })) {
        menus_.clear();
        for (const std::string& folder : folders) menus_.push_back({folder, nullptr, {}});
    }
    const std::uint64_t now = clock_.Milliseconds();
    bool changed = false;
    for (Menu& menu : menus_) {
        if (menu.watch) {
            if (!menu.watch->Changed()) continue;
            changed = true;
            if (!menu.watch->Active()) {
                menu.watch.reset();
                menu.triedAt = now;
            }
        } else if (!menu.triedAt || now - *menu.triedAt >= kUnwatchedMs) {
            menu.triedAt = now;
            menu.watch = files_.WatchFolder(menu.folder, true);
            // A menu that has just appeared may hold anything, and one that
            // cannot be watched is walked again now and then instead; one
            // still missing has nothing to walk.
            changed = changed || menu.watch || files_.IsFolder(menu.folder);
        }
    }
    return changed;
}

void ProgramIndex::Start(const IndexPlaces& places, bool whole) {
    whole_ = whole;
    listing_.reset();
    building_.clear();
    if (whole) {
        buildingPrograms_ = 0;
        pending_.push_back({JobKind::kAppPaths, std::string(), 0, std::string()});
        // One lookup per folder and extension: the system picks out the few
        // programs among a folder's thousands of files far faster than they
        // could all be read here, and each step stays short.
        for (const std::string& folder : places.pathFolders) {
            for (const std::string& extension : places.extensions) {
                pending_.push_back({JobKind::kProgramFolder, folder, 0, extension});
            }
        }
    } else {
        building_.assign(ready_.begin(), ready_.begin() + readyPrograms_);
        buildingPrograms_ = readyPrograms_;
    }
    for (const std::string& folder : places.startMenus) {
        pending_.push_back({JobKind::kShortcutFolder, folder, 0, std::string()});
    }
    foldersQueued_ = pending_.size();
}

bool ProgramIndex::Work(std::uint64_t sliceEnd, std::uint64_t hardEnd) {
    while (!pending_.empty() && clock_.Milliseconds() < sliceEnd) {
        bool more = false;
        {
            LookupDeadline bound(files_, Deadline{clock_, hardEnd});
            more = Step(pending_.front());
        }
        if (more) continue;  // the same job, in the next step
        listing_.reset();
        Job job = std::move(pending_.front());
        pending_.pop_front();
        if (job.kind != JobKind::kShortcutFolder) buildingPrograms_ = building_.size();
        if (pending_.empty()) {
            ready_ = std::move(building_);
            building_.clear();
            readyPrograms_ = buildingPrograms_;
            complete_ = true;
            if (whole_) builtAt_ = clock_.Milliseconds();
        }
    }
    return pending_.empty();
}

bool ProgramIndex::Step(const Job& job) {
    if (job.kind == JobKind::kAppPaths) {
        for (Registry::Root root : {Registry::Root::kLocalMachine, Registry::Root::kCurrentUser}) {
            for (std::string& name : registry_.SubKeys(root, kAppPaths)) Add({std::move(name)});
        }
        return false;
    }
    if (!listing_) {
        listing_ = job.kind == JobKind::kProgramFolder
                       ? files_.List(JoinPath(job.folder, "*" + job.extension), FileMask::kFiles)
                       : files_.List(JoinPath(job.folder, "*"), FileMask::kFilesAndFolders);
    }
    std::vector<FileEntry> entries;
    const bool more = listing_->Next(&entries);
    switch (job.kind) {
        case JobKind::kAppPaths:
            break;
        case JobKind::kProgramFolder:
            // The system also matches a short name's extension: "x.exe1"
            // is X~1.EXE.
            for (const FileEntry& entry : entries) {
                if (text::EndsWithNoCase(entry.name, job.extension)) Add({entry.name});
            }
            break;
        case JobKind::kShortcutFolder:
            for (const FileEntry& entry : entries) {
                const std::string path = JoinPath(job.folder, entry.name);
                if (entry.folder) {
                    if (job.depth < kDeepestFolder && foldersQueued_ < kMostFolders) {
                        pending_.push_back(
                            {JobKind::kShortcutFolder, path, job.depth + 1, std::string()});
                        ++foldersQueued_;
                    }
                } else if (text::EndsWithNoCase(entry.name, ".lnk") ||
                           text::EndsWithNoCase(entry.name, ".url")) {
                    // Found by its name, opened by its whole path: it lies
                    // in none of the folders a name is looked for in.
                    Add({entry.name.substr(0, entry.name.size() - 4), path});
                }
            }
            break;
    }
    return more;
}

void ProgramIndex::Add(Candidate candidate) {
    if (building_.size() < kMostEntries) building_.push_back(std::move(candidate));
}

}  // namespace vantrel
