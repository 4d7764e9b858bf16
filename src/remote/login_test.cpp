// The login check, the autokick and autoban, the ban check and the kick
// and ban keys of a listening console.
#include <gtest/gtest.h>

#include "platform/key_codes.h"
#include "remote/remote_link.h"
#include "remote_fixture.h"

namespace vantrel::testing {
namespace {

using Mode = FakeSocket::Mode;

constexpr char kStamp[] = "[12/6/2026 14:30:05] ";

class LoginTest : public RemoteTest {
  protected:
    // Sends a wrong password and returns what the client got back over
    // the next two ticks.
    std::string Wrong(const std::string& password = "nope") {
        socket.Receive(password + "\r\n");
        console.Tick();
        console.Tick();
        return socket.TakeSent();
    }
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

TEST_F(LoginTest, LoginAttemptsIsTheRoundedLimitAndBelowOneNone) {
    struct Case {
        const char* value;
        int kickedAt;  // 0: still asked after ten tries
    } cases[] = {{"3", 3},   {"1", 1}, {"1.6", 2}, {"2.5", 2},
                 {"0.4", 0}, {"0", 0}, {"-2", 0},  {"abc", 0}};
    Run("set LoginFailBan=0");
    for (const Case& c : cases) {
        Run(std::string("set LoginAttempts=") + c.value);
        ServeClient("secret");
        int tries = 0;
        while (state() == kAwaitingLogin && tries < 10) {
            Wrong();
            ++tries;
        }
        EXPECT_EQ(state() == kAwaitingLogin ? 0 : tries, c.kickedAt) << c.value;
        socket.events->OnClose();
    }
}

TEST_F(LoginTest, TheFailureCountStopsAtItsLargestValue) {
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

TEST_F(LoginTest, TheLastWrongPasswordKicksBansAndLogs) {
    const std::string kicked =
        std::string(kStamp) + "Autokicked client 10.1.2.3 for failing to login";
    struct Case {
        const char* name;
        const char* failBan;
        const char* writeError;
        const char* banList;
        std::string log;
    } cases[] = {
        {"bans by default", "1", "", "10.1.2.3\r\n",
         std::string(kStamp) + "Autobanned client 10.1.2.3 for failing to login"},
        {"LoginFailBan off", "0", "", "<missing>", kicked},
        {"a list that cannot be written", "1", "Disk full", "<missing>",
         "Error trying to autoban\r\n" + kicked},
    };
    for (const Case& c : cases) {
        Run(std::string("set LoginFailBan=") + c.failBan);
        ServeClient("secret");
        fake.files.writeError = c.writeError;
        pane = FakePane{};
        Wrong();
        Wrong();
        EXPECT_EQ(Wrong(), "") << c.name;
        EXPECT_EQ(state(), kLocal) << c.name;
        EXPECT_EQ(fake.files.Contents(kBanFile), c.banList) << c.name;
        EXPECT_EQ(pane.view.text, c.log) << c.name;
        ForgetBans();
    }
}

TEST_F(LoginTest, AClientOnAnExactLineOfTheBanListIsRefusedAndLogged) {
    const std::string logged = std::string(kStamp) + "Banned client 10.1.2.3 tried to connect";
    struct Case {
        const char* list;
        bool banned;
    } cases[] = {
        {"10.9.9.9\r\n10.1.2.3\r\n", true}, {"1.1.1.1\r10.1.2.3", true},  // a lone CR ends a line
        {"10.1.2.30\r\n", false},           {" 10.1.2.3\r\n", false},
        {"10.1.2.3 \r\n", false},           {"10.1.2\r\n", false},
        {"10.1.2.3\n10.1.2.4\r\n", false},
    };
    Run("listen 2319 secret");
    for (const Case& c : cases) {
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
}

TEST_F(LoginTest, RepeatedOffendersAddOneLineAndEachKnocksIntoTheLogOnceAMinute) {
    fake.files.AddFile(kBanFile, "10.1.2.3\r\n::1\r\n");
    Run("listen 2319 secret");
    struct Knock {
        std::uint64_t at;
        const char* address;
        bool logged;
    } knocks[] = {{0, "10.1.2.3", true},      {30000, "10.1.2.3", false}, {30000, "::1", true},
                  {59999, "10.1.2.3", false}, {60000, "10.1.2.3", true},  {60000, "::1", false}};
    for (const Knock& k : knocks) {
        fake.clock.milliseconds = 1000000 + k.at;
        socket.Knock(k.address);
        EXPECT_EQ(state(), kLocal) << k.at << " " << k.address;
        EXPECT_EQ(Printed().find("Banned client") != std::string::npos, k.logged)
            << k.at << " " << k.address;
    }
    // An address the list gained by hand while its client was attached is
    // not added again by the kick key or the autoban.
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
    EXPECT_EQ(fake.files.Contents(kBanFile), "<missing>");
    EXPECT_EQ(pane.view.text,
              std::string(kStamp) + "Autokicked client 10.1.2.3 for failing to login");
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

TEST_F(LoginTest, AClientAtThePasswordPromptIsSentOnlyTheLoginsTexts) {
    // Not even what was printed just before it came.
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
}

TEST_F(LoginTest, AServedClientIsNeverAskedForTheAccountPassword) {
    ServeClient("");
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

TEST_F(LoginTest, AClientThatCannotBeTakenLeavesTheConsoleListening) {
    Run("listen 2319");
    socket.acceptError = "gone";
    socket.Knock("10.1.2.3");
    EXPECT_EQ(state(), kLocal);
    EXPECT_EQ(socket.mode, Mode::kListening);
}

TEST_F(LoginTest, OnlyF10WithAPeerDropsItAndCtrlF10BansIt) {
    const char* none = "<missing>";
    struct Case {
        ConsoleState state;
        int key, modifiers;
        const char* writeError;
        ConsoleState after;  // the same state: the key is not taken
        const char* banList;
        const char* printed;
    } cases[] = {
        {kConnecting, kVkF10, 0, "", kLocal, none, ""},
        {kConnecting, kVkF10, kModCtrl, "", kLocal, "10.0.0.9\r\n", ""},
        {kAwaitingLogin, kVkF10, 0, "", kLocal, none, ""},
        {kServing, kVkF10, 0, "", kLocal, none, ""},
        {kServing, kVkF10, kModCtrl, "", kLocal, "10.1.2.3\r\n", ""},
        {kServing, kVkF10, kModCtrl, "Disk full", kLocal, none, "Error trying to ban"},
        {kServing, kVkF10, kModShift, "", kServing, none, ""},
        {kServing, kVkF10, kModAlt, "", kServing, none, ""},
        {kServing, kVkF10, kModCtrl | kModShift, "", kServing, none, ""},
        {kServing, kVkF10, kModCtrl | kModAlt, "", kServing, none, ""},
        {kServing, kVkF10 - 1, 0, "", kServing, none, ""},
        {kLocal, kVkF10, 0, "", kLocal, none, ""},
        {kAccountPassword, kVkF10, 0, "", kAccountPassword, none, ""},
        {kRemotePassword, kVkF10, 0, "", kRemotePassword, none, ""},
        {kRemoteLink, kVkF10, 0, "", kRemoteLink, none, ""},
        {kSending, kVkF10, 0, "", kSending, none, ""},
        {kDisconnecting, kVkF10, 0, "", kDisconnecting, none, ""},
    };
    for (const Case& c : cases) {
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
