#pragma once

#include "platform/file_system.h"

namespace vantrel::win32 {

// The Windows file system through the ANSI calls. The current folder of each
// drive other than the current one is kept where the command processor and
// the C runtime keep it, in the hidden "=X:" environment variables, so that
// GetFullPathName and a later drive change find it.
class Win32FileSystem : public FileSystem {
  public:
    bool Exists(const std::string& path, FileMask mask) const override;
    std::vector<FileEntry> Find(const std::string& pattern, FileMask mask) const override;
    std::unique_ptr<FolderListing> List(const std::string& pattern, FileMask mask) override;
    bool IsFolder(const std::string& path) const override;
    bool ReadFile(const std::string& path, std::string* contents, std::string* err) const override;
    bool ReadFilePart(const std::string& path, std::uint64_t offset, std::size_t limit,
                      std::string* contents, bool* more, std::string* err) const override;
    bool AppendFile(const std::string& path, const std::string& data, std::string* err) override;
    bool WriteFile(const std::string& path, const std::string& contents, std::string* err) override;
    bool ReplaceFile(const std::string& path, const std::string& contents,
                     std::string* err) override;
    bool DeleteFiles(const std::string& pattern, std::string* err) override;
    bool MakeFolder(const std::string& path, std::string* err) override;
    bool RemoveFolder(const std::string& path, std::string* err) override;
    bool CopyFile(const std::string& source, const std::string& destination,
                  std::string* err) override;
    bool MoveFile(const std::string& source, const std::string& destination,
                  std::string* err) override;
    bool CopyFolder(const std::string& source, const std::string& destination,
                    std::string* err) override;
    bool MoveFolder(const std::string& source, const std::string& destination,
                    std::string* err) override;
    bool Rename(const std::string& source, const std::string& destination,
                std::string* err) override;

    std::string CurrentDirectory() const override;
    bool SetCurrentDirectory(const std::string& path, std::string* err) override;
    bool ChangeFolder(const std::string& path, std::string* err) override;
    bool ChangeDrive(const std::string& drive, std::string* err) override;

    std::string ProgramFolder() const override;
    std::vector<std::string> Drives() const override;

    // A change notification on the folder, polled without waiting. Wine
    // hears of changes in a subfolder only once that folder has been looked
    // into after the watch began: a caller walks the folders after it
    // starts the watch.
    std::unique_ptr<FolderWatch> WatchFolder(const std::string& folder,
                                             bool subtree) const override;
};

}  // namespace vantrel::win32
