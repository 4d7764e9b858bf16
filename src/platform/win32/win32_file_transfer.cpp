// Win32FileSystem's copying, moving and deleting: the file-system object's
// CopyFile, MoveFile, CopyFolder and MoveFolder, and the runtime's Kill and
// Name, on the plain Win32 calls.
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/win32_file_system.h"

namespace vantrel::win32 {

namespace {

bool HasWildcards(const std::string& path) {
    return path.find_first_of("*?") != std::string::npos;
}

bool EndsWithSeparator(const std::string& path) {
    return !path.empty() && (path.back() == '\\' || path.back() == '/');
}

// The folder part of a path, with its separator ("" for a bare name).
std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : "";
    return path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path) {
    std::string trimmed = path;
    while (EndsWithSeparator(trimmed)) trimmed.pop_back();
    return trimmed.substr(FolderOf(trimmed).size());
}

std::string Join(std::string folder, const std::string& name) {
    if (!folder.empty() && !EndsWithSeparator(folder)) folder += '\\';
    return folder + name;
}

bool Failed(DWORD code, std::string* err) {
    SetLastError(code);
    return Fail(err);
}

// The files (never folders) that a name or pattern finds, with their full
// paths as the pattern spells its folder.
std::vector<std::string> MatchingFiles(const Win32FileSystem& fs, const std::string& pattern) {
    std::vector<std::string> paths;
    std::string folder = FolderOf(pattern);
    for (const FileEntry& entry : fs.Find(pattern, FileMask::kFiles)) {
        paths.push_back(folder + entry.name);
    }
    return paths;
}

// Copies or moves every file that source finds into a folder, or one file to
// its new full name.
template <typename Transfer>
bool TransferFiles(const Win32FileSystem& fs, const std::string& source,
                   const std::string& destination, Transfer transfer, std::string* err) {
    if (!HasWildcards(source) && !EndsWithSeparator(destination)) {
        if (!transfer(source, destination)) return Fail(err);
        return true;
    }
    std::vector<std::string> files = MatchingFiles(fs, source);
    if (files.empty()) return Failed(ERROR_FILE_NOT_FOUND, err);
    for (const std::string& file : files) {
        if (!transfer(file, Join(destination, NameOf(file)))) return Fail(err);
    }
    return true;
}

bool CopyTree(const std::string& source, const std::string& destination) {
    if (!CreateDirectoryA(destination.c_str(), nullptr) &&
        GetLastError() != ERROR_ALREADY_EXISTS) {
        return false;
    }
    WIN32_FIND_DATAA entry;
    UniqueFind find(FindFirstFileA(Join(source, "*").c_str(), &entry));
    if (!find.Valid()) return false;
    do {
        std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        std::string from = Join(source, name), to = Join(destination, name);
        bool ok = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                      ? CopyTree(from, to)
                      : CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
        if (!ok) return false;
    } while (FindNextFileA(find.Get(), &entry));
    return true;
}

// A destination ending in "\" receives the folder under its own name.
std::string FolderDestination(const std::string& source, const std::string& destination) {
    return EndsWithSeparator(destination) ? destination + NameOf(source) : destination;
}

}  // namespace

bool Win32FileSystem::DeleteFiles(const std::string& pattern, std::string* err) {
    std::vector<std::string> files = MatchingFiles(*this, pattern);
    if (files.empty()) return Failed(ERROR_FILE_NOT_FOUND, err);
    for (const std::string& file : files) {
        if (!DeleteFileA(file.c_str())) return Fail(err);
    }
    return true;
}

bool Win32FileSystem::CopyFile(const std::string& source, const std::string& destination,
                               std::string* err) {
    return TransferFiles(
        *this, source, destination,
        [](const std::string& from, const std::string& to) {
            return CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
        },
        err);
}

bool Win32FileSystem::MoveFile(const std::string& source, const std::string& destination,
                               std::string* err) {
    return TransferFiles(
        *this, source, destination,
        [](const std::string& from, const std::string& to) {
            return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_COPY_ALLOWED) != FALSE;
        },
        err);
}

bool Win32FileSystem::CopyFolder(const std::string& source, const std::string& destination,
                                 std::string* err) {
    if (!IsFolder(source)) return Failed(ERROR_PATH_NOT_FOUND, err);
    if (!CopyTree(source, FolderDestination(source, destination))) return Fail(err);
    return true;
}

bool Win32FileSystem::MoveFolder(const std::string& source, const std::string& destination,
                                 std::string* err) {
    if (!IsFolder(source)) return Failed(ERROR_PATH_NOT_FOUND, err);
    std::string target = FolderDestination(source, destination);
    if (!MoveFileExA(source.c_str(), target.c_str(), 0)) return Fail(err);
    return true;
}

bool Win32FileSystem::Rename(const std::string& source, const std::string& destination,
                             std::string* err) {
    if (!MoveFileA(source.c_str(), destination.c_str())) return Fail(err);
    return true;
}

}  // namespace vantrel::win32
