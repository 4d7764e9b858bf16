// The guards of the remote console's link: what keeps a client out at its
// knock (the ban list, the penalties of its source, a LinkCommands that
// cannot be read), what it may run once in (LinkCommands), and the
// transcript every link is written to as it happens.
#include <algorithm>
#include <utility>

#include "interpreter/interpreter.h"
#include "interpreter/line_secrets.h"
#include "interpreter/profile_folder.h"
#include "interpreter/settings.h"
#include "remote/ban_list.h"
#include "remote/ip_address.h"
#include "remote/remote_link.h"
#include "text/case_fold.h"
#include "text/char_class.h"

namespace vantrel {

bool RemoteLink::KnockRefused(const std::string& address, const std::string& knock) {
    if (IsBanned(in_.Os().files, in_.Os().codePages, banFile_, address)) {
        RefuseKnock(address, knock, "banned", "Banned client " + address + " tried to connect");
        return true;
    }
    const std::string source = PenaltySourceOf(address);
    const std::uint64_t penalty = penalties_.Left(source, in_.Os().clock.Milliseconds());
    if (!source.empty() && penalty >= LinkPenalties::kRefuseAt) {
        const std::string seconds = std::to_string((penalty + 999) / 1000);
        RefuseKnock(address, knock, "penalty of " + seconds + " seconds",
                    "Client " + address + " refused: " + seconds +
                        " seconds of penalty for failed logins left");
        return true;
    }
    std::string unreadable;
    if (!CommandPermit::Parse(in_.SettingText(settings::kLinkCommands), in_.Commands(), &permit_,
                              &unreadable)) {
        RefuseKnock(address, knock, "LinkCommands cannot be read",
                    "Client " + address + " refused: " + unreadable +
                        ". No client is served until LinkCommands is mended");
        return true;
    }
    return false;
}

LinkTranscript& RemoteLink::Transcript() {
    if (!transcript_) {
        const bool named = !ProfileFolder(in_).empty();
        transcript_.emplace(in_.Os().files, in_.Os().clock,
                            named ? ProfileFile(kLinksFolderName) : std::string());
    }
    return *transcript_;
}

bool RemoteLink::WriteEvent(long link, const std::string& text, std::string* why) {
    if (Transcript().Write(link, text, why)) return true;
    // The first event of a console whose own folder is not made yet.
    return MakeProfileFolder(in_) && Transcript().Write(link, text, why);
}

void RemoteLink::PruneTranscript() {
    // No number of days, or less than one, is the default; more than a
    // hundred years keeps every file as well, without the overflow.
    constexpr double kCentury = 36500;
    const double days = in_.SettingNumber(settings::kLinkLogDays);
    Transcript().Prune(!(days >= 1)      ? kDefaultLinkLogDays
                       : days > kCentury ? static_cast<int>(kCentury)
                                         : static_cast<int>(days));
}

void RemoteLink::EndRecord(std::string_view reason) {
    // The link ends either way: a failure to write its end is not told.
    const long link = std::exchange(link_, 0);
    std::string why;
    if (link != 0) WriteEvent(link, "end: " + std::string(reason), &why);
}

bool RemoteLink::RecordOrDrop(const std::string& event) {
    if (link_ == 0) return true;
    std::string why;
    if (WriteEvent(link_, event, &why)) return true;
    // Served unrecorded, the client could do what no one could tell.
    const std::string address = clientAddress_;
    ResetLink("the link transcript could not be written");
    in_.PrintOut(LogLine(
        in_, "Client " + address + " dropped: the link transcript could not be written: " + why));
    return false;
}

bool RemoteLink::Record(const std::string& event) {
    if (link_ == 0) return true;
    std::string why;
    if (WriteEvent(link_, event, &why)) return true;
    // A client is never served past a failure: its next login or line is
    // dropped, and the pane says why then.
    if (!Attached() && !recordFailureShown_) {
        recordFailureShown_ = true;
        in_.PrintOut("The link transcript could not be written: " + why);
    }
    return false;
}

std::string RemoteLink::RecordedLine(const std::string& line) {
    const LineMarkers markers = in_.Markers();
    const CommandTable& table = in_.Commands();
    if (!NamesSecret(line) && PasswordStart(line, markers, table) == std::string::npos &&
        !WordFromMarker(line, markers)) {
        return line;
    }
    std::string words;
    AnyCommand(line, markers.separator, [&](size_t start, size_t end) {
        const std::string_view command = std::string_view(line).substr(0, end);
        Token word;
        if (!Tokens(command, start).Next(&word)) return false;
        const std::string_view text = word.In(command);
        const bool plain = std::all_of(text.begin(), text.end(), [](char c) {
            return text::IsAsciiLetterOrDigit(c) || c == '?' || c == '!' || c == '.';
        });
        words +=
            (words.empty() ? "" : " | ") + (plain ? text::LowerCase(text) : "(a word left out)");
        return false;
    });
    return "(withheld: it names a secret) " + words;
}

std::string RemoteLink::PenaltySourceOf(const std::string& address) {
    const std::string source = PenaltySource(address).value_or(address);
    return PenaltyExempt(in_.SettingText(settings::kLinkPenaltyExempt), source) ? "" : source;
}

std::vector<std::string> RemoteLink::PenaltyLines() {
    std::vector<std::string> lines;
    for (const LinkPenalties::Listed& p : penalties_.List(in_.Os().clock.Milliseconds())) {
        const std::uint64_t seconds = (p.left + 999) / 1000;
        lines.push_back(p.source + " has " + std::to_string(seconds) +
                        " seconds of penalty for failed logins left" +
                        (p.left >= LinkPenalties::kRefuseAt ? ": refused at the knock" : ""));
    }
    return lines;
}

bool RemoteLink::ClearPenalty(const std::string& address) {
    const std::optional<std::string> source = PenaltySource(address);
    return source && penalties_.Clear(*source, in_.Os().clock.Milliseconds());
}

void RemoteLink::RefuseKnock(const std::string& address, const std::string& knock,
                             const std::string& recorded, const std::string& logged) {
    if (FirstKnockThisMinute(address)) {
        in_.PrintOut(LogLine(in_, logged));
        std::string why;
        if (!knock.empty())
            WriteEvent(Transcript().NewLink(), knock + ": refused, " + recorded, &why);
    }
    ResetLink();
}

bool RemoteLink::FirstKnockThisMinute(const std::string& address) {
    const std::uint64_t now = in_.Os().clock.Milliseconds();
    std::erase_if(knocksLogged_,
                  [&](const auto& knock) { return now - knock.second >= kKnockLogMs; });
    // A flood from more addresses than this is not logged address by
    // address: the log would grow with it.
    if (knocksLogged_.count(address) || knocksLogged_.size() >= kMaxKnockers) return false;
    knocksLogged_[address] = now;
    return true;
}

void RemoteLink::ServeLine(const std::string& line) {
    if (permit_.Unlimited()) {
        if (RecordOrDrop("runs: " + RecordedLine(line))) in_.RunCommand(line);
        return;
    }
    // A line is at most kMaxLineLength long: the check takes an instant.
    const std::string refusal =
        RefuseLine(permit_, in_.Commands(), in_.Markers(), line, &in_.Engine());
    const auto reason = [](const std::string& text) {
        return text.rfind("Refused: ", 0) == 0 ? text.substr(9) : text;
    };
    if (!refusal.empty()) {
        if (!RecordOrDrop("refused, " + reason(refusal) + ": " + RecordedLine(line))) return;
        // Shown as a line that ran, so the client sees why.
        in_.RunShownLine(line, [&] { in_.PrintOut(refusal); });
        return;
    }
    if (!RecordOrDrop("runs: " + RecordedLine(line))) return;
    // What the line as sent did not show (a batch file's lines, a changed
    // separator) is stopped as it comes.
    const std::string stopped = in_.RunGuarded(line, permit_);
    if (!stopped.empty()) Record("stopped, " + reason(stopped));
}

void RemoteLink::SendTyped(const std::string& line, bool isPassword) {
    Record(isPassword ? std::string("sent a password") : "sent: " + RecordedLine(line));
    Send(line + "\r\n");
}

}  // namespace vantrel
