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

TEST_F(LoginTest, AClientThatCannotBeTakenLeavesTheConsoleListening) {
    Run("listen 2319");
    socket.acceptError = "gone";
    socket.Knock("10.1.2.3");
    EXPECT_EQ(state(), kLocal);
    EXPECT_EQ(socket.mode, Mode::kListening);
}

TEST_F(LoginTest, F10DropsThePeerAndCtrlF10BansIt) {
    struct Case {
        ConsoleState state;
        int modifiers;
        const char* writeError;
        const char* banList;
        const char* printed;
    } cases[] = {
        {kConnecting, 0, "", "<missing>", ""},
        {kConnecting, kModCtrl, "", "10.0.0.9\r\n", ""},
        {kAwaitingLogin, 0, "", "<missing>", ""},
        {kServing, 0, "", "<missing>", ""},
        {kServing, kModCtrl, "", "10.1.2.3\r\n", ""},
        {kServing, kModCtrl, "Disk full", "<missing>", "Error trying to ban"},
    };
    for (const Case& c : cases) {
        Reach(c.state);
        fake.files.writeError = c.writeError;
        EXPECT_TRUE(link().KeyReleased(kVkF10, c.modifiers)) << c.state;
        EXPECT_EQ(state(), kLocal) << c.state;
        EXPECT_EQ(fake.files.Contents(kBanFile), c.banList) << c.state << " " << c.modifiers;
        EXPECT_EQ(Printed(), c.printed) << c.state;
        ForgetBans();
    }
}

TEST_F(LoginTest, OtherKeysAndStatesDoNothing) {
    ServeClient("");
    for (int mods : {kModShift, kModAlt, kModCtrl | kModShift, kModCtrl | kModAlt}) {
        EXPECT_FALSE(link().KeyReleased(kVkF10, mods)) << mods;
        EXPECT_EQ(state(), kServing);
    }
    EXPECT_FALSE(link().KeyReleased(kVkF10 - 1, 0));
    for (ConsoleState s :
         {kLocal, kAccountPassword, kRemotePassword, kRemoteLink, kSending, kDisconnecting}) {
        Reach(s);
        EXPECT_FALSE(link().KeyReleased(kVkF10, 0)) << s;
        EXPECT_EQ(state(), s);
    }
}

}  // namespace
}  // namespace vantrel::testing
