#include "commands/link_commands.h"

#include "interpreter/interpreter.h"
#include "interpreter/line_text.h"
#include "remote/ban_list.h"
#include "remote/ip_address.h"
#include "startup/defaults.h"
#include "text/case_fold.h"

namespace vantrel {

namespace {

constexpr char kNoBans[] = "No banned IPs";
constexpr char kNotFound[] = "IP not found";

std::string BanFile(const Interpreter& in) {
    return BanFilePath(DataFolderPath(in));
}

void ListBans(Interpreter& in) {
    std::string contents, err;
    if (!ReadBanText(in.Os().files, in.Os().codePages, BanFile(in), &contents, &err) ||
        contents.empty()) {
        in.PrintOut(kNoBans);
    } else {
        for (const std::string& line : BanLines(contents)) in.PrintOut(line);
    }
    // The penalties live in the link's memory, not in Ban.txt.
    if (RemoteConsole* remote = in.Host().Remote()) {
        for (const std::string& line : remote->PenaltyLines()) in.PrintOut(line);
    }
}

}  // namespace

// A console without a socket has no link: the commands then do nothing.
void ListenCommand(Interpreter& in, const Command& c) {
    if (RemoteConsole* remote = in.Host().Remote()) remote->Listen(c.Arg(1), c.Arg(2));
}

void ConnectCommand(Interpreter& in, const Command& c) {
    RemoteConsole* remote = in.Host().Remote();
    // An empty quoted address counts as an argument but names no host.
    if (c.Arg(1).empty() || (remote && !remote->Connect(c.Arg(1), c.Arg(2)))) PrintSyntax(in, c);
}

void LinkKeyCommand(Interpreter& in, const Command& c) {
    RemoteConsole* remote = in.Host().Remote();
    if (!remote) return;
    if (c.argsLower.empty()) {
        std::string fingerprint, key, why;
        if (!remote->LinkKeyText(&fingerprint, &key, &why)) {
            in.PrintOut(why);
            return;
        }
        in.PrintOut("The link key of this console: " + fingerprint);
        in.PrintOut("For another console's LinkKeys.txt: " + key);
        return;
    }
    if (text::LowerCase(c.Arg(1)) != "forget" || c.Arg(2).empty()) {
        PrintSyntax(in, c);
        return;
    }
    const int forgotten = remote->ForgetServer(c.Arg(2));
    in.PrintOut(forgotten < 0 ? "KnownLinks.txt could not be written: nothing was forgotten"
                : forgotten > 0
                    ? "The key of " + c.Arg(2) + " is forgotten: the next link to it is a first one"
                    : "No key of " + c.Arg(2) + " is known");
}

void DisconnectCommand(Interpreter& in, const Command&) {
    if (RemoteConsole* remote = in.Host().Remote()) remote->Disconnect();
}

bool EndsTheLink(std::string_view line) {
    return text::LowerCase(TrimSpaces(line)) == "disconnect";
}

void BanCommand(Interpreter& in, const Command& c) {
    if (c.args.empty()) {
        ListBans(in);
        return;
    }
    // The entry is the whole argument text, quotes and all, and it must be
    // an address: anything else would be a line that never matches a peer.
    // It is written as typed; matching takes any spelling of the address.
    if (!CanonicalAddress(c.args)) {
        PrintSyntax(in, c);
        return;
    }
    std::string err;
    if (!AppendBan(in.Os().files, in.Os().codePages, BanFile(in), c.args, &err)) in.PrintOut(err);
}

void UnbanCommand(Interpreter& in, const Command& c) {
    FileSystem& files = in.Os().files;
    const std::string path = BanFile(in);
    RemoteConsole* remote = in.Host().Remote();
    const bool penalised = remote && remote->ClearPenalty(c.args);
    std::string contents, err;
    if (!ReadBanText(files, in.Os().codePages, path, &contents, &err)) {
        if (!penalised) in.PrintOut(err);
        return;
    }
    std::string kept;
    bool found = false;
    for (const std::string& line : BanLines(contents)) {
        // Any spelling of the address goes; a line that is no address (an
        // older BAN took more) goes only when given as written.
        if (SameAddress(line, c.args)) {
            found = true;
        } else {
            kept += line + "\r\n";
        }
    }
    // The new list replaces the old one in one step, so no failure on the
    // way (a full disk, a crash) can leave Ban.txt emptied or cut short.
    if (!files.ReplaceFile(path, kept, &err)) {
        in.PrintOut(err);
        return;
    }
    if (!found && !penalised) in.PrintOut(kNotFound);
}

}  // namespace vantrel
