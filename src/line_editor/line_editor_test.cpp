// The history that lasts, driven through the console's events as the bar
// hands them on. What the keys do with it is in src/console/testdata/*.keys.
#include <gtest/gtest.h>

#include "platform/key_codes.h"
#include "remote_fixture.h"

namespace vantrel::testing {
namespace {

constexpr char kRoaming[] = "C:\\Users\\me\\AppData\\Roaming";
constexpr char kHistory[] = "C:\\Users\\me\\AppData\\Roaming\\Orvane\\Vantrel\\History.txt";

using Lines = std::vector<std::string>;

class ConsoleHistoryTest : public RemoteTest {
  protected:
    ConsoleHistoryTest() {
        // APPDATA, the last variable, with a separator at its end.
        fake.environment.variables.back().second = std::string(kRoaming) + "\\";
    }

    // History.txt as an earlier start left it.
    void Seed(const std::string& contents) {
        fake.files.AddFolder(std::string(kRoaming) + "\\Orvane");
        fake.files.AddFolder(std::string(kRoaming) + "\\Orvane\\Vantrel");
        fake.files.AddFile(kHistory, contents);
    }
    // A console started afresh on the same machine, as after a restart.
    std::unique_ptr<Console> Restart() {
        auto again =
            std::make_unique<Console>(fake.platform, window, pane, tray, BuiltInCommands());
        again->StartUp("");
        again->In().PendingOutput().clear();
        return again;
    }
    // What Up shows, pressed n times.
    static Lines Browse(Console& c, FakeBar& bar, int n) {
        Lines shown;
        for (int i = 0; i < n; ++i) {
            c.KeyUp(kVkUp, 0);
            shown.push_back(bar.command);
        }
        return shown;
    }
    std::string File() { return fake.files.Contents(kHistory); }
    // The lines the search reads, and the newest that Up shows.
    const Lines& All() { return console.Editor().Remembered().Lines().Lines(); }
    const std::string& Newest() { return console.Editor().Remembered().Browsed().Entry(0); }
};

// --- lasting -----------------------------------------------------------------

TEST_F(ConsoleHistoryTest, ARestartBrowsesTheLinesOfTheLastRunNewestFirstEachOnce) {
    console.StartUp("");
    for (const char* line : {"echo a", "echo b", "echo a", "echo c"}) Type(line);
    EXPECT_EQ(File(), "echo a\r\necho b\r\necho a\r\necho c\r\n");
    std::unique_ptr<Console> again = Restart();
    EXPECT_EQ(Browse(*again, fake.bar, 4), (Lines{"echo c", "echo a", "echo b", "echo b"}));
    EXPECT_EQ(again->Editor().Remembered().Lines().Lines(), (Lines{"echo b", "echo a", "echo c"}));
    // The search finds them too.
    fake.bar.command = "";
    EXPECT_TRUE(again->KeyDown('R', kModCtrl));
    EXPECT_TRUE(again->CharTyped("b"));
    EXPECT_EQ(fake.bar.command, "echo b");
    // The file is not written at start-up when it is whole.
    EXPECT_EQ(fake.files.replaceCount, 0);
}

TEST_F(ConsoleHistoryTest, UpReachesTheNewestHundredTheSearchAllTenThousand) {
    std::string contents;
    for (int i = 0; i < 10500; ++i) contents += "echo " + std::to_string(i) + "\r\n";
    Seed(contents);
    console.StartUp("");
    EXPECT_EQ(Browse(console, fake.bar, 101).back(), "echo 10400");
    EXPECT_EQ(All().size(), 10000u);
    EXPECT_EQ(All().front(), "echo 500");
    fake.bar.command = "";
    console.KeyDown('R', kModCtrl);
    for (char c : std::string("echo 7")) console.CharTyped(std::string(1, c));
    EXPECT_EQ(fake.bar.command, "echo 7999");
}

// A huge line, junk pasted in and a line starting with a tab run and are
// browsed, but neither written nor searched. The other lines kept from the
// file are in src/console/testdata/secrets.keys.
TEST_F(ConsoleHistoryTest, HugeJunkAndTabbedLinesAreBrowsedButNeitherWrittenNorSearched) {
    console.StartUp("");
    Type("echo done");
    for (const std::string& line : {std::string("\techo secret"), std::string("echo a\x01\x02b"),
                                    "echo " + std::string(300000, 'z')}) {
        Type(line);
        EXPECT_EQ(Newest(), line);
        EXPECT_EQ(All().back(), "echo done");
        EXPECT_EQ(File(), "echo done\r\n");
    }
}

// A line recalled with its password masked never runs with the mask as its
// password: this session's own line runs with the password it was given;
// an earlier start's runs nothing. A mask typed by hand is a password.
TEST_F(ConsoleHistoryTest, AMaskedLineRecalledRunsWithItsOwnPasswordOrNotAtAll) {
    console.StartUp("");
    auto logsIn = [&](const char* password) {
        socket.Knock("10.1.2.3");
        socket.Receive(std::string(password) + "\r\n");
        const bool in = state() == kServing;
        socket.events->OnClose();
        return in;
    };
    Type("listen 2319 hunter2x|echo after");
    for (const char* recalled : {"listen 2319 ********", "listen 2400 ********"}) {
        Type("listen off");
        Browse(console, fake.bar, 2);
        fake.bar.command = recalled;  // edited before the password, or not
        console.EnterClicked();
        EXPECT_FALSE(logsIn("********")) << recalled;
        EXPECT_TRUE(logsIn("hunter2x")) << recalled;
    }
    Type("listen off");
    std::unique_ptr<Console> again = Restart();
    again->AttachSocket(socket);
    Browse(*again, fake.bar, 3);
    ASSERT_EQ(fake.bar.command, "listen 2319 ********");
    // Nor when something is added after the mask.
    for (const char* line : {"listen 2319 ********", "listen 2319 ********|echo x"}) {
        fake.bar.command = line;
        again->In().PendingOutput().clear();
        again->EnterClicked();
        EXPECT_EQ(again->In().PendingOutput(),
                  "The password of this line was not kept in the history: type it again");
        EXPECT_EQ(socket.mode, FakeSocket::Mode::kIdle);
    }
    // Nor typed by hand into an emptied box: the mask is never a password.
    fake.bar.command = "";
    again->CommandTextChanged();
    fake.bar.command = "listen 2319 ********";
    again->In().PendingOutput().clear();
    again->EnterClicked();
    EXPECT_EQ(again->In().PendingOutput(),
              "The password of this line was not kept in the history: type it again");
    EXPECT_EQ(socket.mode, FakeSocket::Mode::kIdle);
}

TEST_F(ConsoleHistoryTest, NoFolderIsMadeUntilALineIsWrittenAndNoneWithoutAppData) {
    fake.environment.variables.pop_back();
    console.StartUp("");
    Type("echo x");
    EXPECT_EQ(Newest(), "echo x");
    EXPECT_FALSE(fake.files.IsFolder(std::string(kRoaming) + "\\Orvane"));
    fake.environment.variables.push_back({"APPDATA", kRoaming});
    std::unique_ptr<Console> again = Restart();
    EXPECT_FALSE(fake.files.IsFolder(std::string(kRoaming) + "\\Orvane"));
    fake.bar.command = "echo y";
    again->EnterClicked();
    EXPECT_EQ(File(), "echo y\r\n");
}

}  // namespace
}  // namespace vantrel::testing
