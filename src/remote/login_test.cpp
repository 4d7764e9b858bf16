// The login check, the autokick and autoban, the ban check and the kick
// and ban keys of a listening console.
#include <gtest/gtest.h>

#include "platform/key_codes.h"
#include "remote/remote_link.h"
#include "remote_fixture.h"

namespace vantrel {
namespace {

using testing::FakeSocket;
using testing::kBanFile;
using testing::RemoteTest;
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
};

TEST_F(LoginTest, DefaultsAllowTwoWrongPasswordsThenAutoban) {
    ServeClient("secret");
    EXPECT_EQ(Wrong(), "Password>Password incorrect\r\n");
    EXPECT_EQ(Wrong(), "Password>Password incorrect\r\n");
    EXPECT_EQ(link().loginFailures, 2);
    EXPECT_EQ(Wrong(), "");
    EXPECT_EQ(state(), kLocal);
    EXPECT_EQ(socket.mode, Mode::kListening);
    EXPECT_EQ(fake.files.Contents(kBanFile), "10.1.2.3\r\n");
    EXPECT_EQ(pane.view.text,
              std::string(kStamp) + "Autobanned client 10.1.2.3 for failing to login");
}

TEST_F(LoginTest, WrongPasswordSpellings) {
    for (const char* attempt : {"Secret", "secret ", " secret", "SECRET", ""}) {
        Run("set LoginAttempts=0");
        ServeClient("secret");
        socket.Receive(std::string(attempt) + "\r\n");
        EXPECT_EQ(state(), kAwaitingLogin) << attempt;
        EXPECT_EQ(Printed(), "Password incorrect") << attempt;
        socket.events->OnClose();
    }
}

TEST_F(LoginTest, NoLimitForLoginAttemptsBelowOneOrNotANumber) {
    for (const char* value : {"0", "-2", "abc", "0.4"}) {
        Run(std::string("set LoginAttempts=") + value);
        ServeClient("secret");
        for (int i = 0; i < 10; ++i) Wrong();
        EXPECT_EQ(state(), kAwaitingLogin) << value;
        EXPECT_EQ(link().loginFailures, 10) << value;
        socket.events->OnClose();
    }
}

TEST_F(LoginTest, LoginAttemptsIsRounded) {
    Run("set LoginAttempts=1.6");  // 2
    ServeClient("secret");
    Wrong();
    EXPECT_EQ(state(), kAwaitingLogin);
    Wrong();
    EXPECT_EQ(state(), kLocal);
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

TEST_F(LoginTest, LoginFailBanOffOnlyKicks) {
    Run("set LoginFailBan=0");
    ServeClient("secret");
    Wrong();
    Wrong();
    Wrong();
    EXPECT_EQ(state(), kLocal);
    EXPECT_FALSE(fake.files.HasFile(kBanFile));
    EXPECT_EQ(pane.view.text,
              std::string(kStamp) + "Autokicked client 10.1.2.3 for failing to login");
    socket.Knock("10.1.2.3");
    EXPECT_EQ(state(), kAwaitingLogin);
}

TEST_F(LoginTest, AutobanThatCannotWriteLogsAKick) {
    ServeClient("secret");
    fake.files.writeError = "Disk full";
    Wrong();
    Wrong();
    Wrong();
    EXPECT_EQ(pane.view.text, std::string("Error trying to autoban\r\n") + kStamp +
                                  "Autokicked client 10.1.2.3 for failing to login");
}

TEST_F(LoginTest, ABannedClientIsRefusedAndLogged) {
    fake.files.AddFile(kBanFile, "10.9.9.9\r\n10.1.2.3\r\n");
    Run("listen 2319 secret");
    socket.Knock("10.1.2.3");
    EXPECT_TRUE(socket.accepted.empty());
    EXPECT_EQ(state(), kLocal);
    EXPECT_EQ(socket.mode, Mode::kListening);
    EXPECT_EQ(Printed(), std::string(kStamp) + "Banned client 10.1.2.3 tried to connect");
    EXPECT_EQ(socket.TakeSent(), "");
}

TEST_F(LoginTest, BanLinesMatchOnlyExactly) {
    const char* lists[] = {"10.1.2.30\r\n", " 10.1.2.3\r\n", "10.1.2.3 \r\n", "10.1.2\r\n",
                           "10.1.2.3\n10.1.2.4\r\n"};
    for (const char* list : lists) {
        fake.files.AddFile(kBanFile, list);
        Run("listen 2319");
        socket.Knock("10.1.2.3");
        EXPECT_EQ(state(), kServing) << list;
        socket.events->OnClose();
    }
    fake.files.AddFile(kBanFile, "1.1.1.1\r10.1.2.3");  // a lone CR ends a line
    socket.Knock("10.1.2.3");
    EXPECT_EQ(state(), kLocal);
}

TEST_F(LoginTest, AnUnreadableBanListBansNobody) {
    Run("listen 2319");
    socket.Knock("10.1.2.3");
    EXPECT_EQ(state(), kServing);
}

TEST_F(LoginTest, AClientThatCannotBeTakenLeavesTheConsoleListening) {
    Run("listen 2319");
    socket.acceptError = "gone";
    socket.Knock("10.1.2.3");
    EXPECT_EQ(state(), kLocal);
    EXPECT_EQ(socket.mode, Mode::kListening);
}

TEST_F(LoginTest, F10KicksWithoutBanning) {
    for (const char* password : {"", "secret"}) {
        ServeClient(password);
        EXPECT_TRUE(link().KeyReleased(kVkF10, 0));
        EXPECT_EQ(state(), kLocal);
        EXPECT_EQ(fake.bar.command, "");
        EXPECT_FALSE(fake.bar.locked);
        EXPECT_EQ(socket.mode, Mode::kListening);
        EXPECT_FALSE(fake.files.HasFile(kBanFile));
        EXPECT_EQ(Printed(), "");
    }
}

TEST_F(LoginTest, CtrlF10BansThePeer) {
    ServeClient("");
    EXPECT_TRUE(link().KeyReleased(kVkF10, kModCtrl));
    EXPECT_EQ(state(), kLocal);
    EXPECT_EQ(fake.files.Contents(kBanFile), "10.1.2.3\r\n");
    EXPECT_EQ(Printed(), "");
}

TEST_F(LoginTest, CtrlF10ThatCannotWriteSaysSo) {
    ServeClient("");
    fake.files.writeError = "Disk full";
    link().KeyReleased(kVkF10, kModCtrl);
    EXPECT_EQ(state(), kLocal);
    EXPECT_EQ(Printed(), "Error trying to ban");
}

TEST_F(LoginTest, OtherKeysAndStatesDoNothing) {
    ServeClient("");
    for (int mods : {kModShift, kModAlt, kModCtrl | kModShift, kModCtrl | kModAlt}) {
        EXPECT_FALSE(link().KeyReleased(kVkF10, mods)) << mods;
        EXPECT_EQ(state(), kServing);
    }
    EXPECT_FALSE(link().KeyReleased(120, 0));
    for (ConsoleState s :
         {kLocal, kAccountPassword, kRemotePassword, kRemoteLink, kSending, kDisconnecting}) {
        Reach(s);
        EXPECT_FALSE(link().KeyReleased(kVkF10, 0)) << s;
        EXPECT_EQ(state(), s);
    }
}

}  // namespace
}  // namespace vantrel
