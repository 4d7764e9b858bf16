#include "commands/folder_commands.h"

#include "interpreter/interpreter.h"
#include "platform/device_names.h"
#include "platform/paths.h"

namespace vantrel {

namespace {

// The folder argument: quotes dropped, forward slashes read as backslashes.
std::string FolderArgument(const Command& c) {
    std::string path;
    for (char ch : c.args) {
        if (ch == '"') continue;
        path += ch == '/' ? '\\' : ch;
    }
    return path;
}

// CD keeps the current drive; CDD moves to the folder's drive as well.
void ChangeFolder(Interpreter& in, const Command& c, bool changeDrive) {
    FileSystem& files = in.Os().files;
    std::string path = FolderArgument(c);
    std::string err;
    // A device is no folder; "\\.\COM1" would otherwise pass for a share.
    if (path.empty() || IsDeviceName(path)) {
        PrintSyntax(in, c);
    } else if (IsUncPath(path)) {
        // A UNC path needs a share after the server: "\\server\share".
        if (!ShareOf(path).empty()) {
            files.SetCurrentDirectory(path, &err);
        } else {
            in.PrintOut(std::string("Please specify a sharename, example: ") +
                        (changeDrive ? "CDD" : "CD") + " \\\\Server\\SharedFolder");
        }
    } else if (changeDrive) {
        files.SetCurrentDirectory(path, &err);
    } else if (!files.ChangeFolder(path, &err)) {
        in.PrintOut(err);
    }
}

// MD and RD: the folder name exactly as typed.
void MakeOrRemoveFolder(Interpreter& in, const Command& c,
                        bool (FileSystem::*operation)(const std::string&, std::string*)) {
    if (IsDeviceName(c.args)) {
        PrintSyntax(in, c);
        return;
    }
    std::string err;
    if (!(in.Os().files.*operation)(c.args, &err)) in.PrintOut(err);
}

}  // namespace

void ChangeDriveCommand(Interpreter& in, const Command& c) {
    std::string err;
    in.Os().files.ChangeDrive(c.line, &err);
}

void CdCommand(Interpreter& in, const Command& c) {
    ChangeFolder(in, c, false);
}
void CddCommand(Interpreter& in, const Command& c) {
    ChangeFolder(in, c, true);
}

void MdCommand(Interpreter& in, const Command& c) {
    MakeOrRemoveFolder(in, c, &FileSystem::MakeFolder);
}
void RdCommand(Interpreter& in, const Command& c) {
    MakeOrRemoveFolder(in, c, &FileSystem::RemoveFolder);
}

}  // namespace vantrel
