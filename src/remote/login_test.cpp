// The login check, the autokick and autoban, the ban check and the kick and ban keys of a
// listening console.
#include <gtest/gtest.h>

#include "platform/key_codes.h"
#include "remote/remote_link.h"
#include "remote_fixture.h"

namespace vantrel::testing {
namespace {

using Mode = FakeSocket::Mode;

constexpr char kStamp[] = "[12/6/2026 14:30:05] ";
constexpr char kMissing[] = "<missing>";

class LoginTest : public RemoteTest {
  protected:
    // Sends a wrong password and returns what the client got back over the next two ticks.
    std::string Wrong(const std::string& password = "nope") {
        socket.Receive(password + "\r\n");
        console.Tick();
        console.Tick();
        return socket.TakeSent();
    }
    static std::string Stamped(const char* text) { return kStamp + std::string(text); }
    void ForgetBans() {
        std::string err;
        fake.files.writeError.clear();
        fake.files.DeleteFiles(kBanFile, &err);
    }
};

TEST_F(LoginTest, OnlyTheExactPasswordLogsInAndEveryClientHasItsOwnAttempts) {
    Run("listen 2319 secret");
    const char* wrong[][2] = {{"Secret", "secret "}, {" secret", "SECRET"}, {"", "nope"}};
    for (const auto& pair : wrong) {
        socket.Knock("10.1.2.3");
        EXPECT_EQ(socket.TakeSent(), "Password>");
        for (const char* password : pair) {
            EXPECT_EQ(Wrong(password), "Password>Password incorrect\r\n") << password;
            EXPECT_EQ(state(), kAwaitingLogin) << password;
        }
        socket.events->OnClose();
    }
    EXPECT_EQ(socket.accepted, (std::vector<long>{7, 7, 7}));
    socket.Knock("10.1.2.3");
    socket.Receive("secret\r\n");
    EXPECT_EQ(state(), kServing);
    EXPECT_EQ(socket.TakeSent(), "Password>C:\\Work>");
}

// The last wrong password kicks, bans unless LoginFailBan is off, and logs; LoginAttempts (left
// at its default in the first rows) is the rounded limit, and below one there is none (kickedAt
// 0: still asked after ten tries). The failure count without a limit stops at its largest value.
TEST_F(LoginTest, TheLastOfLoginAttemptsKicksBansAndLogsAndBelowOneThereIsNoLimit) {
    const std::string kicked = Stamped("Autokicked client 10.1.2.3 for failing to login");
    const std::string banned = Stamped("Autobanned client 10.1.2.3 for failing to login");
    // clang-format off
    const struct {
        const char *attempts, *failBan, *writeError; int kickedAt; const char* banList;
        std::string log;
    } cases[] = {
        {nullptr, "1", "", 3, "10.1.2.3\r\n", banned}, {nullptr, "0", "", 3, kMissing, kicked},
        {nullptr, "1", "Disk full", 3, kMissing, "Error trying to autoban\r\n" + kicked},
        {"3", "0", "", 3, kMissing, kicked}, {"1", "0", "", 1, kMissing, kicked},
        {"1.6", "0", "", 2, kMissing, kicked}, {"2.5", "0", "", 2, kMissing, kicked},
        {"0.4", "0", "", 0, kMissing, ""}, {"0", "0", "", 0, kMissing, ""},
        {"-2", "0", "", 0, kMissing, ""}, {"abc", "0", "", 0, kMissing, ""}};
    // clang-format on
    for (const auto& c : cases) {
        const std::string attempts = c.attempts ? c.attempts : "";
        const std::string row = attempts + " " + c.failBan + " " + c.writeError;
        if (c.attempts) Run("set LoginAttempts=" + attempts);
        Run(std::string("set LoginFailBan=") + c.failBan);
        ServeClient("secret");
        fake.files.writeError = c.writeError;
        pane = FakePane{};
        int tries = 0;
        std::string answer;
        for (; state() == kAwaitingLogin && tries < 10; ++tries) answer = Wrong();
        EXPECT_EQ(state() == kAwaitingLogin ? 0 : tries, c.kickedAt) << row;
        EXPECT_EQ(answer, c.kickedAt ? "" : "Password>Password incorrect\r\n") << row;
        EXPECT_EQ(fake.files.Contents(kBanFile), c.banList) << row;
        EXPECT_EQ(pane.view.text, c.log) << row;
        socket.events->OnClose();
        ForgetBans();
    }
    Run("set LoginAttempts=0");
    ServeClient("secret");
    link().loginFailures = 32766;
    Wrong();
    Wrong();
    EXPECT_EQ(link().loginFailures, 32767);
    EXPECT_EQ(state(), kAwaitingLogin);
    socket.Receive("secret\r\n");
    EXPECT_EQ(state(), kServing);
}

// Only an exact line of the ban list refuses a client (a lone CR ends a line too), and each
// refusal is logged once a minute an address; a repeated offender adds one line. A client that
// cannot be taken is refused too, and the console keeps listening.
TEST_F(LoginTest, AClientOnAnExactLineOfTheBanListIsRefusedAndLoggedOnceAMinute) {
    const std::string logged = Stamped("Banned client 10.1.2.3 tried to connect");
    // clang-format off
    const struct { const char* list; bool banned; } cases[] = {
        {"10.9.9.9\r\n10.1.2.3\r\n", true}, {"1.1.1.1\r10.1.2.3", true}, {"10.1.2.30\r\n", false},
        {" 10.1.2.3\r\n", false}, {"10.1.2.3 \r\n", false}, {"10.1.2\r\n", false},
        {"10.1.2.3\n10.1.2.4\r\n", false}};
    const struct { std::uint64_t at; const char* address; bool logged; } knocks[] = {
        {0, "10.1.2.3", true}, {30000, "10.1.2.3", false}, {30000, "::1", true},
        {59999, "10.1.2.3", false}, {60000, "10.1.2.3", true}, {60000, "::1", false}};
    // clang-format on
    Run("listen 2319 secret");
    for (const auto& c : cases) {
        fake.files.AddFile(kBanFile, c.list);
        fake.clock.milliseconds += 60000;  // each knock in a minute of its own
        socket.accepted.clear();
        socket.Knock("10.1.2.3");
        EXPECT_EQ(state(), c.banned ? kLocal : kAwaitingLogin) << c.list;
        EXPECT_EQ(socket.accepted.empty(), c.banned) << c.list;
        EXPECT_EQ(socket.mode, c.banned ? Mode::kListening : Mode::kConnected) << c.list;
        EXPECT_EQ(socket.TakeSent(), c.banned ? "" : "Password>") << c.list;
        EXPECT_EQ(Printed(), c.banned ? logged : "") << c.list;
        socket.events->OnClose();
    }
    fake.files.AddFile(kBanFile, "10.1.2.3\r\n::1\r\n");
    for (const auto& k : knocks) {
        fake.clock.milliseconds = 1000000 + k.at;
        socket.Knock(k.address);
        EXPECT_EQ(state(), kLocal) << k.at << " " << k.address;
        EXPECT_EQ(Printed().find("Banned client") != std::string::npos, k.logged)
            << k.at << " " << k.address;
    }
    // An address the list gained by hand while its client was attached is not added again by
    // the kick key or the autoban.
    Run("set LoginAttempts=1");
    for (bool byKey : {true, false}) {
        ForgetBans();
        socket.Knock("10.5.5.5");
        fake.files.AddFile(kBanFile, "10.5.5.5\r\n");
        if (byKey) {
            link().KeyReleased(kVkF10, kModCtrl);
        } else {
            socket.Receive("nope\r\n");
        }
        EXPECT_EQ(state(), kLocal);
        EXPECT_EQ(fake.files.Contents(kBanFile), "10.5.5.5\r\n");
    }
    EXPECT_NE(Printed().find("Autobanned client 10.5.5.5"), std::string::npos);
    ForgetBans();
    socket.acceptError = "gone";
    socket.Knock("10.1.2.3");
    EXPECT_EQ(state(), kLocal);
    EXPECT_EQ(socket.mode, Mode::kListening);
}

TEST_F(LoginTest, AClientSilentForAMinuteIsDroppedNotBannedAndTheNextOneIsLetIn) {
    // One wrong password short of the ban: the silence is no third failure.
    ServeClient("secret");
    Wrong();
    Wrong();
    pane = FakePane{};
    fake.clock.milliseconds += RemoteLink::kLoginTimeLimitMs - 1;
    console.Tick();
    EXPECT_EQ(state(), kAwaitingLogin);
    fake.clock.milliseconds += 1;
    console.Tick();
    EXPECT_EQ(state(), kLocal);
    EXPECT_EQ(socket.mode, Mode::kListening);
    EXPECT_EQ(fake.files.Contents(kBanFile), kMissing);
    EXPECT_EQ(pane.view.text, Stamped("Autokicked client 10.1.2.3 for failing to login"));
    // The same address knocks again with every attempt of its own.
    socket.Knock("10.1.2.3");
    EXPECT_EQ(socket.TakeSent(), "Password>");
    EXPECT_EQ(link().loginFailures, 0);
    EXPECT_EQ(Wrong(), "Password>Password incorrect\r\n");
    socket.events->OnClose();
    // A client served without a password, or logged in, has no limit.
    for (const char* password : {"", "secret"}) {
        ServeClient(password);
        socket.Receive("secret\r\n");
        fake.clock.milliseconds += 10 * RemoteLink::kLoginTimeLimitMs;
        console.Tick();
        EXPECT_EQ(state(), kServing) << password;
        socket.events->OnClose();
    }
}

// A client at the password prompt is sent only the login's texts, not even what was printed just
// before it came; once served it is never asked for the account password either.
TEST_F(LoginTest, AClientAtThePasswordPromptIsSentOnlyTheLoginsTexts) {
    Run("listen 2319 secret");
    in().PrintOut("local zero");
    socket.Knock("10.1.2.3");
    EXPECT_EQ(socket.TakeSent(), "Password>");
    EXPECT_EQ(pane.view.text, "local zero");
    in().PrintOut("local one");
    console.Tick();
    EXPECT_EQ(socket.TakeSent(), "");
    EXPECT_EQ(pane.view.text, "local zero\r\nlocal one");
    EXPECT_EQ(Wrong(), "Password>Password incorrect\r\n");
    EXPECT_EQ(pane.view.text, "local zero\r\nlocal one");
    // Printed before the login, shown after it: still the console's own.
    in().PrintOut("local two");
    socket.Receive("secret\r\n");
    EXPECT_EQ(socket.TakeSent(), "C:\\Work>");
    EXPECT_NE(pane.view.text.find("local two"), std::string::npos);
    socket.Receive("echo served\r\n");
    console.Tick();
    EXPECT_NE(socket.TakeSent().find("served"), std::string::npos);
    socket.Receive("orid ann\r\n");
    EXPECT_EQ(state(), kServing);
    console.Tick();
    EXPECT_NE(socket.TakeSent().find("A remote client gives the password with the name"),
              std::string::npos);
    socket.Receive("orid ann pw\r\n");
    EXPECT_EQ(console.Account().pass, "pw");
    EXPECT_TRUE(link().KeyReleased(kVkF10, 0));
    EXPECT_EQ(state(), kLocal);
}

// Only F10 with a peer drops it, and CTRL+F10 bans it; a state the key leaves as it was did not
// take the key, and nothing is banned or printed unless a row says so.
TEST_F(LoginTest, OnlyF10WithAPeerDropsItAndCtrlF10BansIt) {
    const int f10 = kVkF10, ctrl = kModCtrl;
    // clang-format off
    const struct {
        ConsoleState state; int key, modifiers; ConsoleState after;
        const char* banList = kMissing; const char* writeError = ""; const char* printed = "";
    } cases[] = {
        {kConnecting, f10, 0, kLocal}, {kConnecting, f10, ctrl, kLocal, "10.0.0.9\r\n"},
        {kAwaitingLogin, f10, 0, kLocal}, {kServing, f10, 0, kLocal},
        {kServing, f10, ctrl, kLocal, "10.1.2.3\r\n"},
        {kServing, f10, ctrl, kLocal, kMissing, "Disk full", "Error trying to ban"},
        {kServing, f10, kModShift, kServing}, {kServing, f10, kModAlt, kServing},
        {kServing, f10, ctrl | kModShift, kServing}, {kServing, f10, ctrl | kModAlt, kServing},
        {kServing, f10 - 1, 0, kServing}, {kLocal, f10, 0, kLocal},
        {kAccountPassword, f10, 0, kAccountPassword}, {kRemotePassword, f10, 0, kRemotePassword},
        {kRemoteLink, f10, 0, kRemoteLink}, {kSending, f10, 0, kSending},
        {kDisconnecting, f10, 0, kDisconnecting}};
    // clang-format on
    for (const auto& c : cases) {
        Reach(c.state);
        fake.files.writeError = c.writeError;
        const std::string row = std::to_string(c.state) + " " + std::to_string(c.key) + " " +
                                std::to_string(c.modifiers);
        EXPECT_EQ(link().KeyReleased(c.key, c.modifiers), c.after != c.state) << row;
        EXPECT_EQ(state(), c.after) << row;
        EXPECT_EQ(fake.files.Contents(kBanFile), c.banList) << row;
        EXPECT_EQ(Printed(), c.printed) << row;
        ForgetBans();
    }
}

}  // namespace
}  // namespace vantrel::testing
