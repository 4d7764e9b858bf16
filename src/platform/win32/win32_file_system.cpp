#include "platform/win32/win32_file_system.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "platform/paths.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_error.h"
#include "text/case_fold.h"

namespace vantrel::win32 {

namespace {

// The lookup masks: system files never match; folders only with folders.
bool MatchesMask(const WIN32_FIND_DATAA& entry, FileMask mask) {
    DWORD attributes = entry.dwFileAttributes;
    if (attributes & FILE_ATTRIBUTE_SYSTEM) return false;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return mask == FileMask::kFilesAndFolders;
    return true;
}

// "X:" in capitals for a path that begins with a drive letter, "" otherwise.
std::string UpperDrive(const std::string& path) {
    return text::UpperCase(DriveOf(path));
}

// Writes all of data, in pieces a single call can take.
bool WriteAll(HANDLE file, const std::string& data) {
    size_t done = 0;
    while (done < data.size()) {
        DWORD piece = static_cast<DWORD>(std::min<size_t>(data.size() - done, 1 << 20));
        DWORD written = 0;
        if (!::WriteFile(file, data.data() + done, piece, &written, nullptr)) return false;
        if (written == 0) {
            SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        done += written;
    }
    return true;
}

// Calls visit(data) for each match of a lookup that the mask lets through,
// until visit returns false. A pattern ending in a separator looks into that
// folder, as the runtime's lookup does; "." and ".." are among its matches.
// A folder of many entries keeps the console alive, and a stop ends the
// lookup with what it has found.
template <typename Visit>
void ForEachMatch(const FileSystem& fs, const std::string& pattern, FileMask mask, Visit visit) {
    constexpr unsigned kEntriesBetweenChecks = 256;
    std::string search = pattern;
    if (EndsInSeparator(search)) search += "*";
    WIN32_FIND_DATAA data;
    UniqueFind find(FindFirstFileA(search.c_str(), &data));
    unsigned count = 0;
    for (bool more = find.Valid(); more; more = FindNextFileA(find.Get(), &data)) {
        if (MatchesMask(data, mask) && !visit(data)) return;
        if (++count % kEntriesBetweenChecks == 0 && !fs.KeepGoing()) return;
    }
}

FileEntry EntryOf(const WIN32_FIND_DATAA& data) {
    FileEntry entry;
    entry.name = data.cFileName;
    entry.folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (!entry.folder) {
        entry.size = (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    FILETIME local;
    SYSTEMTIME st;
    if (FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) &&
        FileTimeToSystemTime(&local, &st)) {
        entry.modified = LocalTime{st.wYear,   st.wMonth,  st.wDay,         st.wHour,
                                   st.wMinute, st.wSecond, st.wMilliseconds};
    }
    return entry;
}

// Opens a file, and only a file on a disk: a device's name that got this
// far ("COM1" is the serial port) opens the device, whose reads and writes
// may wait for ever.
UniqueFile OpenDiskFile(const std::string& path, DWORD access, DWORD share, DWORD disposition) {
    UniqueFile file(CreateFileA(path.c_str(), access, share, nullptr, disposition,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Valid() && GetFileType(file.Get()) != FILE_TYPE_DISK) {
        file.Reset();
        SetLastError(ERROR_FILE_NOT_FOUND);
    }
    return file;
}

// Opens path to read, while others may read and write it too.
UniqueFile OpenToRead(const std::string& path) {
    return OpenDiskFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
}

// Opens path with the given access and disposition, and writes all of data.
bool OpenAndWrite(const std::string& path, DWORD access, DWORD disposition,
                  const std::string& data) {
    UniqueFile file = OpenDiskFile(path, access, FILE_SHARE_READ, disposition);
    return file.Valid() && WriteAll(file.Get(), data);
}

bool FullPath(const std::string& path, std::string* full) {
    char buffer[MAX_PATH * 4];
    DWORD length = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
    if (length == 0 || length >= sizeof buffer) return false;
    full->assign(buffer, length);
    return true;
}

// Remembers path as the current folder of its drive.
void RememberDriveFolder(const std::string& path) {
    std::string drive = UpperDrive(path);
    if (!drive.empty()) SetEnvironmentVariableA(("=" + drive).c_str(), path.c_str());
}

// A change notification on one folder. The system signals the handle once
// a name has changed and keeps it signalled until asked for the next
// change, so one look that finds it signalled stands for every change
// since the last.
class ChangeNotificationWatch : public FolderWatch {
  public:
    ChangeNotificationWatch(std::string folder, UniqueChangeNotification handle)
        : folder_(std::move(folder)), handle_(std::move(handle)) {}

    bool Changed() override {
        if (!handle_.Valid()) return false;
        // A folder removed or renamed away does not always signal (under
        // Wine it never does), and one that has may stay signalled for
        // ever: the folder is looked for at each call. Its handle is let
        // go, which also lets the system finish a removal that waits for
        // the last open handle.
        const DWORD attributes = GetFileAttributesA(folder_.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            handle_.Reset();
            return true;
        }
        if (WaitForSingleObject(handle_.Get(), 0) != WAIT_OBJECT_0) return false;
        if (!FindNextChangeNotification(handle_.Get())) handle_.Reset();
        return true;
    }
    bool Active() const override { return handle_.Valid(); }

  private:
    std::string folder_;
    UniqueChangeNotification handle_;
};

}  // namespace

bool Win32FileSystem::Exists(const std::string& path, FileMask mask) const {
    bool found = false;
    ForEachMatch(*this, path, mask, [&](const WIN32_FIND_DATAA&) {
        found = true;
        return false;  // one is enough
    });
    return found;
}

std::vector<FileEntry> Win32FileSystem::Find(const std::string& pattern, FileMask mask) const {
    std::vector<FileEntry> entries;
    ForEachMatch(*this, pattern, mask, [&](const WIN32_FIND_DATAA& data) {
        std::string name = data.cFileName;
        if (name != "." && name != "..") entries.push_back(EntryOf(data));
        return true;
    });
    return entries;
}

namespace {

// A lookup kept open between its parts: each goes on with the next match.
class Win32Listing : public FolderListing {
  public:
    Win32Listing(const FileSystem& files, const std::string& pattern, FileMask mask)
        : files_(files), mask_(mask) {
        std::string search = pattern;
        if (EndsInSeparator(search)) search += "*";
        find_.Reset(FindFirstFileA(search.c_str(), &data_));
        pending_ = find_.Valid();
    }

    bool Next(std::vector<FileEntry>* entries) override {
        constexpr unsigned kEntriesBetweenChecks = 256;
        unsigned count = 0;
        while (pending_) {
            const std::string name = data_.cFileName;
            if (MatchesMask(data_, mask_) && name != "." && name != "..") {
                entries->push_back(EntryOf(data_));
            }
            pending_ = FindNextFileA(find_.Get(), &data_);
            if (++count % kEntriesBetweenChecks == 0 && !files_.KeepGoing()) break;
        }
        return pending_;
    }

  private:
    const FileSystem& files_;
    const FileMask mask_;
    UniqueFind find_;
    WIN32_FIND_DATAA data_{};
    bool pending_ = false;  // data_ holds a match not yet handed out
};

}  // namespace

std::unique_ptr<FolderListing> Win32FileSystem::List(const std::string& pattern, FileMask mask) {
    return std::make_unique<Win32Listing>(*this, pattern, mask);
}

bool Win32FileSystem::IsFolder(const std::string& path) const {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::ReadFile(const std::string& path, std::string* contents,
                               std::string* err) const {
    UniqueFile file = OpenToRead(path);
    if (!file.Valid()) return Fail(err);
    contents->clear();
    char buffer[64 * 1024];
    DWORD read = 0;
    while (::ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0) {
        contents->append(buffer, read);
    }
    return true;
}

bool Win32FileSystem::ReadFilePart(const std::string& path, std::uint64_t offset, std::size_t limit,
                                   std::string* contents, bool* more, std::string* err) const {
    UniqueFile file = OpenToRead(path);
    if (!file.Valid()) return Fail(err);
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN)) return Fail(err);
    // One byte beyond the limit tells whether there is more.
    contents->assign(limit + 1, '\0');
    size_t got = 0;
    DWORD read = 0;
    while (got < contents->size() &&
           ::ReadFile(file.Get(), contents->data() + got,
                      static_cast<DWORD>(std::min<size_t>(contents->size() - got, 1 << 20)), &read,
                      nullptr) &&
           read > 0) {
        got += read;
    }
    *more = got > limit;
    contents->resize(std::min(got, limit));
    return true;
}

bool Win32FileSystem::WriteFile(const std::string& path, const std::string& contents,
                                std::string* err) {
    return OpenAndWrite(path, GENERIC_WRITE, CREATE_ALWAYS, contents) || Fail(err);
}

bool Win32FileSystem::ReplaceFile(const std::string& path, const std::string& contents,
                                  std::string* err) {
    // A read-only file is the user's wish to keep it; the rename below would
    // not ask.
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
        SetLastError(ERROR_ACCESS_DENIED);
        return Fail(err);
    }
    // The new text goes to a file of its own beside the old one (the same
    // volume, so the rename is one step), and takes the old one's place only
    // once it is complete on disk: a full disk or a failed write leaves the
    // old file as it was.
    std::string folder(FolderOf(path));
    if (folder.empty()) folder = ".";
    // GetTempFileName takes a folder of at most MAX_PATH - 14 characters,
    // room for the name it makes; Wine's writes a longer one past the end of
    // its buffer.
    if (folder.size() > MAX_PATH - 14) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return Fail(err);
    }
    char fresh[MAX_PATH];
    if (!GetTempFileNameA(folder.c_str(), "vtl", 0, fresh)) return Fail(err);
    bool written = false;
    {
        UniqueFile file(CreateFileA(fresh, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        written = file.Valid() && WriteAll(file.Get(), contents) && FlushFileBuffers(file.Get());
    }
    // A hidden start-up file stays hidden.
    if (written && attributes != INVALID_FILE_ATTRIBUTES) {
        written = SetFileAttributesA(
            fresh, (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) |
                       FILE_ATTRIBUTE_ARCHIVE);
    }
    if (!written ||
        !MoveFileExA(fresh, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DWORD code = GetLastError();
        SetFileAttributesA(fresh, FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(fresh);
        SetLastError(code);
        return Fail(err);
    }
    return true;
}

bool Win32FileSystem::AppendFile(const std::string& path, const std::string& data,
                                 std::string* err) {
    return OpenAndWrite(path, FILE_APPEND_DATA, OPEN_ALWAYS, data) || Fail(err);
}

bool Win32FileSystem::MakeFolder(const std::string& path, std::string* err) {
    if (!CreateDirectoryA(path.c_str(), nullptr)) return Fail(err);
    return true;
}

bool Win32FileSystem::RemoveFolder(const std::string& path, std::string* err) {
    if (!RemoveDirectoryA(path.c_str())) return Fail(err);
    return true;
}

std::string Win32FileSystem::CurrentDirectory() const {
    char buffer[MAX_PATH * 4];
    DWORD length = GetCurrentDirectoryA(sizeof buffer, buffer);
    if (length == 0 || length >= sizeof buffer) return "";
    return std::string(buffer, length);
}

bool Win32FileSystem::SetCurrentDirectory(const std::string& path, std::string* err) {
    if (!SetCurrentDirectoryA(path.c_str())) return Fail(err);
    RememberDriveFolder(CurrentDirectory());
    return true;
}

bool Win32FileSystem::ChangeFolder(const std::string& path, std::string* err) {
    std::string full;
    if (!FullPath(path, &full)) return Fail(err);
    std::string drive = UpperDrive(full);
    if (drive.empty() || drive == UpperDrive(CurrentDirectory())) {
        return SetCurrentDirectory(full, err);
    }
    DWORD attributes = GetFileAttributesA(full.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return Fail(err);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetLastError(ERROR_DIRECTORY);
        return Fail(err);
    }
    RememberDriveFolder(full);
    return true;
}

bool Win32FileSystem::ChangeDrive(const std::string& driveText, std::string* err) {
    std::string drive = UpperDrive(driveText);
    if (drive.empty()) {
        SetLastError(ERROR_INVALID_DRIVE);
        return Fail(err);
    }
    std::string current = CurrentDirectory();
    if (drive == UpperDrive(current)) return true;
    // "X:" alone resolves to the drive's remembered folder, or its root.
    std::string target;
    const std::string root = drive + "\\";
    if (!FullPath(drive, &target)) target = root;
    if (!SetCurrentDirectoryA(target.c_str()) && !SetCurrentDirectoryA(root.c_str())) {
        return Fail(err);
    }
    RememberDriveFolder(current);
    RememberDriveFolder(CurrentDirectory());
    return true;
}

std::string Win32FileSystem::ProgramFolder() const {
    char buffer[MAX_PATH * 4];
    DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    std::string path(buffer, length < sizeof buffer ? length : 0);
    return std::string(TrimSeparators(FolderOf(path)));
}

std::vector<std::string> Win32FileSystem::Drives() const {
    std::vector<std::string> drives;
    const DWORD mask = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (mask & (1u << i)) drives.push_back(std::string(1, static_cast<char>('A' + i)) + ":");
    }
    return drives;
}

std::unique_ptr<FolderWatch> Win32FileSystem::WatchFolder(const std::string& folder,
                                                          bool subtree) const {
    if (!IsFolder(folder)) return nullptr;
    // Names only: a file written to, which changes no name, is no change.
    UniqueChangeNotification handle(FindFirstChangeNotificationA(
        folder.c_str(), subtree, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME));
    if (!handle.Valid()) return nullptr;
    return std::make_unique<ChangeNotificationWatch>(folder, std::move(handle));
}

}  // namespace vantrel::win32
