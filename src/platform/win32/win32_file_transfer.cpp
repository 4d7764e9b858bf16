// Win32FileSystem's copying, moving and deleting: the file-system object's
// CopyFile, MoveFile, CopyFolder and MoveFolder, and the runtime's Kill and
// Name, on the plain Win32 calls.
#include "platform/paths.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/win32_file_system.h"

namespace vantrel::win32 {

namespace {

bool HasWildcards(const std::string& path) {
    return path.find_first_of("*?") != std::string::npos;
}

// The last part of a path, a folder's name also when written with a
// separator after it.
std::string LastNameOf(const std::string& path) {
    return std::string(NameOf(TrimSeparators(path)));
}

// Called by the system after each piece of a copy: a big file keeps the
// console alive, and a stop cancels the copy, which then removes the
// partial file.
DWORD CALLBACK TransferProgress(LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, DWORD,
                                DWORD, HANDLE, HANDLE, LPVOID fileSystem) {
    const auto* fs = static_cast<const FileSystem*>(fileSystem);
    return fs->KeepGoing() ? PROGRESS_CONTINUE : PROGRESS_CANCEL;
}

LPVOID ProgressData(const FileSystem& fs) {
    return const_cast<FileSystem*>(&fs);
}

// Copies a big file piece by piece, asking between pieces whether to go on:
// not every system calls a copy's progress routine (Wine does not). A copy
// that stops or fails leaves no partial file behind.
bool CopyInPieces(const FileSystem& fs, const std::string& from, const std::string& to,
                  DWORD attributes) {
    constexpr DWORD kPiece = 1 << 20;
    UniqueFile source(CreateFileA(from.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!source.Valid()) return false;
    UniqueFile target(
        CreateFileA(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                    (attributes & ~FILE_ATTRIBUTE_READONLY) | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!target.Valid()) return false;
    std::string piece(kPiece, '\0');
    bool ok = true;
    for (DWORD read = 0; ok;) {
        if (!fs.KeepGoing()) {
            SetLastError(ERROR_REQUEST_ABORTED);
            ok = false;
        } else if (!::ReadFile(source.Get(), piece.data(), kPiece, &read, nullptr)) {
            ok = false;
        } else if (read == 0) {
            break;
        } else {
            DWORD written = 0;
            ok =
                ::WriteFile(target.Get(), piece.data(), read, &written, nullptr) && written == read;
        }
    }
    FILETIME created, accessed, written;
    if (ok && GetFileTime(source.Get(), &created, &accessed, &written)) {
        SetFileTime(target.Get(), &created, &accessed, &written);
    }
    const DWORD error = GetLastError();
    target.Reset();
    if (ok) {
        SetFileAttributesA(to.c_str(), attributes);
        return true;
    }
    DeleteFileA(to.c_str());
    SetLastError(error);
    return false;
}

// Overwrites an existing file. A big one goes in pieces, so that the console
// stays alive and a stop ends it.
bool CopyOneFile(const FileSystem& fs, const std::string& from, const std::string& to) {
    constexpr ULONGLONG kBigFile = 8ull << 20;
    WIN32_FILE_ATTRIBUTE_DATA info;
    // A read-only or hidden file in the way is the system copy's to refuse
    // or take, as it does for a small file.
    const DWORD existing = GetFileAttributesA(to.c_str());
    const bool plainTarget =
        existing == INVALID_FILE_ATTRIBUTES ||
        !(existing & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    if (plainTarget && GetFileAttributesExA(from.c_str(), GetFileExInfoStandard, &info) &&
        ((static_cast<ULONGLONG>(info.nFileSizeHigh) << 32) | info.nFileSizeLow) >= kBigFile) {
        return CopyInPieces(fs, from, to, info.dwFileAttributes);
    }
    return CopyFileExA(from.c_str(), to.c_str(), TransferProgress, ProgressData(fs), nullptr, 0) !=
           FALSE;
}

// Moves one file or folder, never onto an existing one; a file is copied
// and deleted across volumes.
bool MoveOne(const FileSystem& fs, const std::string& from, const std::string& to) {
    return MoveFileWithProgressA(from.c_str(), to.c_str(), TransferProgress, ProgressData(fs),
                                 MOVEFILE_COPY_ALLOWED) != FALSE;
}

bool Failed(DWORD code, std::string* err) {
    SetLastError(code);
    return Fail(err);
}

// The entries that a name or pattern finds, with their paths as the pattern
// spells its folder.
std::vector<std::string> Matching(const Win32FileSystem& fs, const std::string& pattern,
                                  bool folders) {
    std::vector<std::string> paths;
    const std::string folder(FolderOf(pattern));
    FileMask mask = folders ? FileMask::kFilesAndFolders : FileMask::kFiles;
    for (const FileEntry& entry : fs.Find(pattern, mask)) {
        if (entry.folder == folders) paths.push_back(folder + entry.name);
    }
    return paths;
}

// Copies or moves every file that source finds into a folder, or one file to
// its new full name.
template <typename Transfer>
bool TransferFiles(const Win32FileSystem& fs, const std::string& source,
                   const std::string& destination, Transfer transfer, std::string* err) {
    if (!HasWildcards(source) && !EndsInSeparator(destination)) {
        if (!transfer(fs, source, destination)) return Fail(err);
        return true;
    }
    std::vector<std::string> files = Matching(fs, source, false);
    if (files.empty()) return Failed(ERROR_FILE_NOT_FOUND, err);
    for (const std::string& file : files) {
        if (!fs.KeepGoing()) return Failed(ERROR_REQUEST_ABORTED, err);
        if (!transfer(fs, file, JoinPath(destination, LastNameOf(file)))) return Fail(err);
    }
    return true;
}

std::string LowerFullPath(const std::string& path) {
    char buffer[MAX_PATH * 4];
    DWORD length = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
    std::string full(TrimSeparators(length > 0 && length < sizeof buffer
                                        ? std::string_view(buffer, length)
                                        : std::string_view(path)));
    CharLowerBuffA(full.data(), static_cast<DWORD>(full.size()));
    return full;
}

// Copying a folder into itself would copy the copy again and again, until
// the path grows too long, leaving a deep trail of folders behind.
bool InsideItself(const std::string& source, const std::string& destination) {
    std::string from = LowerFullPath(source), to = LowerFullPath(destination);
    return to == from || to.starts_with(JoinPath(from, ""));
}

// Merges source into destination, overwriting files; stops at the first
// failure with its error as the last error.
bool CopyTree(const FileSystem& fs, const std::string& source, const std::string& destination) {
    if (!CreateDirectoryA(destination.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        return false;
    }
    WIN32_FIND_DATAA entry;
    UniqueFind find(FindFirstFileA(JoinPath(source, "*").c_str(), &entry));
    if (!find.Valid()) return false;
    do {
        std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        if (!fs.KeepGoing()) {
            SetLastError(ERROR_REQUEST_ABORTED);
            return false;
        }
        std::string from = JoinPath(source, name), to = JoinPath(destination, name);
        bool ok = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? CopyTree(fs, from, to)
                                                                      : CopyOneFile(fs, from, to);
        if (!ok) return false;
    } while (FindNextFileA(find.Get(), &entry));
    return true;
}

// One folder, or each folder a pattern finds, with its destination: a
// destination ending in "\" (or any destination of a pattern) receives the
// folder under its own name.
template <typename Transfer>
bool TransferFolders(const Win32FileSystem& fs, const std::string& source,
                     const std::string& destination, Transfer transfer, std::string* err) {
    std::vector<std::string> folders;
    if (HasWildcards(source)) {
        folders = Matching(fs, source, true);
    } else if (fs.IsFolder(source)) {
        folders.push_back(source);
    }
    if (folders.empty()) return Failed(ERROR_PATH_NOT_FOUND, err);
    const bool into = HasWildcards(source) || EndsInSeparator(destination);
    for (const std::string& folder : folders) {
        std::string target = into ? JoinPath(destination, LastNameOf(folder)) : destination;
        if (!transfer(folder, target, err)) return false;
    }
    return true;
}

}  // namespace

bool Win32FileSystem::DeleteFiles(const std::string& pattern, std::string* err) {
    std::vector<std::string> files = Matching(*this, pattern, false);
    if (files.empty()) return Failed(ERROR_FILE_NOT_FOUND, err);
    // One file that cannot go (a read-only one) does not keep the others;
    // the first failure is the one reported.
    bool ok = true;
    for (const std::string& file : files) {
        if (!DeleteFileA(file.c_str()) && ok) ok = Fail(err);
    }
    return ok;
}

bool Win32FileSystem::CopyFile(const std::string& source, const std::string& destination,
                               std::string* err) {
    return TransferFiles(*this, source, destination, CopyOneFile, err);
}

bool Win32FileSystem::MoveFile(const std::string& source, const std::string& destination,
                               std::string* err) {
    return TransferFiles(*this, source, destination, MoveOne, err);
}

bool Win32FileSystem::CopyFolder(const std::string& source, const std::string& destination,
                                 std::string* err) {
    return TransferFolders(
        *this, source, destination,
        [this](const std::string& from, const std::string& to, std::string* e) {
            if (InsideItself(from, to)) {
                if (e) *e = "Cannot copy a folder into itself";
                return false;
            }
            return CopyTree(*this, from, to) || Fail(e);
        },
        err);
}

bool Win32FileSystem::MoveFolder(const std::string& source, const std::string& destination,
                                 std::string* err) {
    return TransferFolders(
        *this, source, destination,
        [](const std::string& from, const std::string& to, std::string* e) {
            return MoveFileExA(from.c_str(), to.c_str(), 0) != FALSE || Fail(e);
        },
        err);
}

bool Win32FileSystem::Rename(const std::string& source, const std::string& destination,
                             std::string* err) {
    return MoveOne(*this, source, destination) || Fail(err);
}

}  // namespace vantrel::win32
