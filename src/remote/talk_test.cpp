// Runs every testdata/NAME.talk: one conversation with a console over the in-memory socket, a
// step a line (a '#' line is a comment). The test plays the user and the peer; what the console
// sent must be looked at before the next step but a tick, so a talk shows all it said.
// Steps are the words of steps_ below with their text, checks the words of checks_: "WORD: TEXT"
// must give TEXT exactly, "WORD~ TEXT" must hold it and "WORD!~ TEXT" must not. An exact sent:
// starts afresh; printed: right after RUN starts with what it printed, lines joined by \n.
// Texts are read with the test data's escapes (tests/escapes.h).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <sstream>
#include <string_view>
#include <utility>

#include "escapes.h"
#include "platform/key_codes.h"
#include "remote_fixture.h"

namespace vantrel::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kTalks = fs::path(VANTREL_SOURCE_DIR) / "src" / "remote" / "testdata";

std::string Joined(const auto& items) {
    std::ostringstream out;
    for (const auto& item : items) out << (out.tellp() ? " " : "") << item;
    return out.str();
}

// The console's states and the socket's modes, by their values.
const std::string_view kStates[] = {"local",           "account-password", "connecting",
                                    "remote-password", "remote-link",      "disconnecting",
                                    "sending",         "awaiting-login",   "serving"};
const char* const kModes[] = {"idle", "listening", "connecting", "connected"};

class Talk : public RemoteTest, public ::testing::WithParamInterface<std::string> {
  protected:
    Talk() { SeedLinkKey(fake); }

    using S = const std::string&;  // a step's text
    using Step = std::function<void(S)>;
    using Check = std::function<std::string()>;

    // What was sent since the last step or exact match; a check within it takes nothing.
    std::string Sent() {
        looked_ = true;
        return sent_ += socket.TakeSent();
    }
    // Before a step, all that was sent must have been looked at; a tick only lets time pass.
    void BeforeStep(const std::string& word) {
        if (word == "tick") return;
        if (!socket.sent.empty()) looked_ = false;
        sent_ += socket.TakeSent();
        EXPECT_TRUE(sent_.empty() || looked_)
            << "sent before " << word << ", not matched: " << sent_;
        sent_.clear();
        looked_ = false;
        ran_.clear();
    }
    void Key(std::istringstream words) {
        std::string key, word;
        int modifiers = 0;
        words >> key;
        while (words >> word && word != "->")
            modifiers |= word == "ctrl" ? kModCtrl : word == "shift" ? kModShift : kModAlt;
        words >> word;
        const bool taken = link().KeyDown(key == "F10" ? kVkF10 : kVkF10 - 1, modifiers);
        EXPECT_EQ(taken ? "taken" : "ignored", word);
    }

    // clang-format off
    const std::map<std::string, Step> steps_ = {
        {"run", [&](S s) { ran_ = Run(s); }},
        {"print", [&](S s) { in().PrintOut(s); }},
        {"type", [&](S s) { Type(s); }},
        {"peer>", [&](S s) { socket.Receive(s); }},
        {"knock", [&](S s) { socket.Knock(s); }},
        {"connected", [&](S) { socket.Connected(); }},
        {"close", [&](S) { socket.events->OnClose(); }},
        {"error", [&](S s) { socket.events->OnError(stoi(s), s.substr(s.find(' ') + 1)); }},
        {"send-complete", [&](S) { socket.events->OnSendComplete(); }},
        {"tick", [&](S s) { for (int i = stoi(s); i > 0; --i) console.Tick(); }},
        {"clock", [&](S s) { fake.clock.milliseconds += stoull(s); }},
        {"clock-at", [&](S s) { fake.clock.milliseconds = stoull(s); }},
        {"reach", [&](S s) { Reach(ConsoleState(std::ranges::find(kStates, s) - kStates)); }},
        {"key", [&](S s) { Key(std::istringstream(s)); }},
        {"box", [&](S s) { fake.bar.command = s; }},
        {"bans", [&](S s) { fake.files.AddFile(kBanFile, s); }},
        {"forget-bans", [&](S) { fake.files.DeleteFiles(kBanFile, &err_); }},
        {"write-error", [&](S s) { fake.files.writeError = s; }},
        {"accept-error", [&](S s) { socket.acceptError = s; }},
        {"listen-error", [&](S s) { socket.listenError = s; }},
        {"clear-pane", [&](S) { pane = FakePane{}; }},
        {"failures", [&](S s) { link().loginFailures = static_cast<std::int16_t>(stoi(s)); }},
        {"var", [&](S s) { in().SetVar(s.substr(0, s.find(' ')), s.substr(s.find(' ') + 1)); }},
        {"folder", [&](S s) { fake.files.AddFolder(s); fake.files.current = s; }},
        {"legacy-process", [&](S) { fake.codePages.processIsUtf8 = false; }},
        {"forget-transcript", [&](S) { transcriptSeen_ = fake.files.Contents(kTranscript).size(); }}};
    const std::map<std::string, Check> checks_ = {
        {"sent:", [&] { return Sent(); }},
        {"printed:", [&] { return std::exchange(ran_, "") + Printed(); }},
        {"pane:", [&] { return pane.view.text; }},
        {"pane-open:", [&] { return std::string(pane.open ? "yes" : "no"); }},
        {"state:", [&] { return std::string(kStates[state()]); }},
        {"prompt:", [&] { return fake.bar.prompt; }},
        {"box:", [&] { return fake.bar.command; }},
        {"mode:", [&] { return std::string(kModes[static_cast<int>(socket.mode)]); }},
        {"port:", [&] { return std::to_string(socket.listeningPort); }},
        {"scope:", [&] {
            return std::string(socket.scope == ListenScope::kEveryAddress ? "every address"
                                                                           : "this computer"); }},
        {"bans:", [&] { return fake.files.Contents(kBanFile); }},
        {"accepted:", [&] { return Joined(std::exchange(socket.accepted, {})); }},
        {"connects:", [&] { return Joined(std::exchange(socket.connects, {})); }},
        {"local-port:", [&] { return std::to_string(socket.localPort); }},
        {"password-char:", [&] {
            return fake.bar.passwordChar ? std::string(1, fake.bar.passwordChar) : "none"; }},
        {"locked:", [&] { return std::string(fake.bar.locked ? "yes" : "no"); }},
        {"buffer:", [&] { return link().receiveBuffer; }},
        {"remote-prompt:", [&] { return link().RemotePrompt(); }},
        {"failures:", [&] { return std::to_string(link().loginFailures); }},
        {"account:", [&] { return console.Account().pass; }},
        {"transcript:", [&] {  // what the day's transcript gained since the last look
            if (!fake.files.HasFile(kTranscript)) return std::string("<missing>");
            const std::string all = fake.files.Contents(kTranscript);
            return all.substr(std::exchange(transcriptSeen_, all.size()));
        }}};
    // clang-format on
    std::string sent_, ran_, err_;  // ran_: what the last RUN printed
    bool looked_ = false;
    size_t transcriptSeen_ = 0;
    static constexpr char kTranscript[] =
        "C:\\Users\\me\\AppData\\Roaming\\Orvane\\Vantrel\\Links\\2026-12-06.txt";
};

std::vector<std::string> TalkNames() {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(kTalks))
        if (entry.path().extension() == ".talk") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A folder the build cannot find must not pass as no talks at all.
TEST(TalkCases, AreFound) {
    EXPECT_GE(TalkNames().size(), 5u);
}

TEST_P(Talk, GoesAsWritten) {
    std::ifstream file(kTalks / (GetParam() + ".talk"));
    std::string line;
    ASSERT_TRUE(std::getline(file, line)) << GetParam() << ".talk is empty";
    for (int number = 1; file; ++number, std::getline(file, line)) {
        if (line.empty() || line[0] == '#') continue;
        SCOPED_TRACE(GetParam() + ".talk:" + std::to_string(number) + ": " + line);
        const size_t space = line.find(' ');
        const std::string word = line.substr(0, space);
        const std::string text =
            space == std::string::npos ? "" : Unescaped(line.substr(space + 1));
        const std::string kind = word.substr(0, word.find_first_of(":~!"));
        if (steps_.count(word)) {
            BeforeStep(word);
            steps_.at(word)(text);
        } else if (word.ends_with(":")) {
            ASSERT_TRUE(checks_.count(word)) << "no such check";
            EXPECT_EQ(checks_.at(word)(), text);
            if (word == "sent:") sent_.clear();
        } else {
            ASSERT_TRUE(checks_.count(kind + ":")) << "no such step or check";
            const bool within = checks_.at(kind + ":")().find(text) != std::string::npos;
            EXPECT_EQ(within, !word.ends_with("!~"));
        }
    }
    BeforeStep("the end of " + GetParam() + ".talk");
}

INSTANTIATE_TEST_SUITE_P(Testdata, Talk, ::testing::ValuesIn(TalkNames()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace vantrel::testing
