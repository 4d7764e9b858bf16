// The history that lasts, the suggestion and the search, driven through the
// console's events as the bar hands them on.
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
        fake.environment.variables.push_back({"APPDATA", std::string(kRoaming) + "\\"});
        for (const char* folder :
             {"C:\\Users", "C:\\Users\\me", "C:\\Users\\me\\AppData", kRoaming}) {
            fake.files.AddFolder(folder);
        }
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
    // The user types into the command box: the text changes, the caret at
    // its end.
    void Edit(const std::string& text) {
        fake.bar.command = text;
        fake.bar.caret = -1;
        console.CommandTextChanged();
    }
    // A key pressed, whether the console took it, and the box after it.
    void Press(int key, int modifiers, bool taken, const char* command) {
        EXPECT_EQ(console.KeyDown(key, modifiers), taken) << key;
        EXPECT_EQ(fake.bar.command, command) << key;
    }
    void CtrlR() { EXPECT_TRUE(console.KeyDown('R', kModCtrl)); }
    void TypeChars(const std::string& text) {
        for (char c : text) EXPECT_TRUE(console.CharTyped(std::string(1, c)));
    }
    // Starts a search from an empty box and types into it.
    void Search(const std::string& text) {
        Edit("");
        CtrlR();
        TypeChars(text);
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
    Search("echo 7");
    EXPECT_EQ(fake.bar.command, "echo 7999");
}

// A huge line runs and is browsed, but is neither written nor searched.
TEST_F(ConsoleHistoryTest, SecretsHugeLinesAndLinesStartingWithABlankAreNeverWritten) {
    console.StartUp("");
    const std::string huge = "echo " + std::string(300000, 'z');
    // browsed: by Up, nullptr: not at all; written: to the file.
    // clang-format off
    struct { const char* typed; const char* browsed; bool searched, written; } cases[] = {
        {"listen 2400 secret", "listen 2400 ********", true, true},
        {"connect 10.0.0.9:2400 \"secret words\"", "connect 10.0.0.9:2400 ********", true, true},
        {"echo x|orid ann secret", "echo x|orid ann ********", true, true},
        {"listen 2400", "listen 2400", true, true},
        {" echo secret", " echo secret", false, false},
        {"  listen 2400 secret", "  listen 2400 ********", false, false},
        {"\techo secret", "\techo secret", false, false},
        {"set MyApiToken=zq81xv", "set MyApiToken=zq81xv", true, false},
        {"vb dbPassword = \"hunter\"", "vb dbPassword = \"hunter\"", true, false},
        {"echo a\x01\x02b", "echo a\x01\x02b", false, false},  // junk pasted in
        {"orid ann", "orid ann", true, true},
        {"secret", nullptr, false, false},  // the password ORID asked for
        {"echo done", "echo done", true, true},
        {huge.c_str(), huge.c_str(), false, false},
    };
    // clang-format on
    std::string expected;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        const std::string before = Newest();
        const auto& all = All();
        const std::string lastSearched = all.empty() ? "" : all.back();
        Type(c.typed);
        if (state() == kConnecting) console.Remote()->Disconnect();
        EXPECT_EQ(Newest(), c.browsed ? c.browsed : before);
        ASSERT_FALSE(all.empty());
        EXPECT_EQ(all.back(), c.searched ? c.browsed : lastSearched);
        if (c.written) expected += std::string(c.browsed) + "\r\n";
        EXPECT_EQ(File(), expected);
    }
    Edit("echo z");
    EXPECT_EQ(fake.bar.suggestion, "");
    EXPECT_EQ(console.Account().pass, "secret");
    for (const char* secret : {"secret", "zq81xv", "hunter"}) {
        EXPECT_EQ(File().find(secret), std::string::npos) << secret;
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
    // Typed by hand into an emptied box, the mask is a password like any.
    fake.bar.command = "";
    again->CommandTextChanged();
    fake.bar.command = "listen 2319 ********";
    again->EnterClicked();
    EXPECT_EQ(socket.mode, FakeSocket::Mode::kListening);
}

TEST_F(ConsoleHistoryTest, HistoryFileOffKeepsTheHistoryInMemoryOnly) {
    fake.files.AddFolder("C:\\ProgramData\\Orvane\\Vantrel\\Shortcuts");
    fake.files.AddFile("C:\\ProgramData\\Orvane\\Vantrel\\Shortcuts\\Autoexec.dcb",
                       "set HistoryFile=0\r\n");
    Seed("echo earlier\r\n");
    console.StartUp("");
    EXPECT_EQ(Browse(console, fake.bar, 1), (Lines{""}));
    Type("echo now");
    Type("set HistoryFile=1");
    EXPECT_EQ(File(), "echo earlier\r\n");
    EXPECT_EQ(Newest(), "set HistoryFile=1");
    Type("echo on again");
    EXPECT_EQ(File(), "echo earlier\r\necho on again\r\n");
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

TEST_F(ConsoleHistoryTest, LinesSentToAPeerAreBrowsedButNotWrittenNorSuggested) {
    console.StartUp("");
    Reach(kRemoteLink);
    Type("dir c:\\peer");
    EXPECT_EQ(Newest(), "dir c:\\peer");
    EXPECT_EQ(File().find("peer"), std::string::npos);
    EXPECT_TRUE(All().empty() || All().back() != "dir c:\\peer");
    Reach(kRemoteLink);
    Type("connect");  // the peer's own history: nothing to show here
    Edit("di");
    EXPECT_EQ(fake.bar.suggestion, "");
}

// --- the suggestion ------------------------------------------------------------

TEST_F(ConsoleHistoryTest, TheSuggestionFollowsTheTypedTextWhileTheCaretIsAtItsEnd) {
    console.StartUp("");
    for (const char* line : {"echo one", "dir", "echo two"}) Type(line);
    // caret -1: at the end
    // clang-format off
    struct { const char* typed; int caret; const char* suggested; } cases[] = {
        {"e", -1, "cho two"}, {"EcHo O", -1, "ne"}, {"echo two", -1, ""}, {"echo x", -1, ""},
        {"ec", 1, ""}, {"", -1, ""}, {"d", -1, "ir"},
    };
    // clang-format on
    for (const auto& c : cases) {
        fake.bar.command = c.typed;
        fake.bar.caret = c.caret;
        console.CommandTextChanged();
        EXPECT_EQ(fake.bar.suggestion, c.suggested) << c.typed;
    }
    // With no line beginning so, the one completion; several commands, or
    // ON and OFF, suggest nothing.
    // clang-format off
    const struct { const char* typed; const char* suggested; } completed[] = {
        {"ech", "o two"}, {"keepou", "tput"}, {"KEEPOU", "tput"}, {"c", ""}, {"keepoutput o", ""},
        {"keepoutput of", "f"}, {"zzz", ""},
    };
    // clang-format on
    for (const auto& c : completed) {
        EXPECT_EQ(console.Editor().SuggestionFor(c.typed), c.suggested) << c.typed;
    }
    // A completion that outruns a keystroke's budget suggests nothing.
    fake.clock.step = CompletionSources::kKeystrokeBudgetMs;
    EXPECT_EQ(console.Editor().SuggestionFor("keepou"), "");
    EXPECT_EQ(console.Editor().SuggestionFor("ech"), "o two");
    fake.clock.step = 0;
}

TEST_F(ConsoleHistoryTest, RightOrEndTakesTheSuggestionCtrlRightItsNextWordEnterOnlyTheText) {
    console.StartUp("");
    const char* whole = "echo one two three";
    Type(whole);
    Edit("ec");
    Press(kVkRight, kModCtrl, true, "echo");
    Press(kVkRight, kModCtrl, true, "echo one");
    EXPECT_EQ(fake.bar.suggestion, " two three");
    Press(kVkEnd, 0, true, whole);
    EXPECT_EQ(fake.bar.suggestion, "");
    // Nothing to take, or the caret elsewhere: the box moves its caret.
    EXPECT_FALSE(console.KeyDown(kVkRight, 0));
    Edit("echo o");
    fake.bar.caret = 2;
    EXPECT_FALSE(console.KeyDown(kVkRight, 0));
    EXPECT_FALSE(console.KeyDown(kVkRight, kModShift));
    fake.bar.caret = -1;
    Press(kVkRight, 0, true, whole);

    Edit("echo o");
    EXPECT_EQ(fake.bar.suggestion, "ne two three");
    Printed();
    console.KeyDown(kVkReturn, 0);
    EXPECT_EQ(Printed(), "o");
    EXPECT_EQ(fake.bar.suggestion, "");
}

// --- the search ------------------------------------------------------------------

TEST_F(ConsoleHistoryTest, CtrlRFindsOlderMatchesEscPutsBackTheLineEnterRunsArrowsTake) {
    console.StartUp("");
    for (const char* line : {"echo alpha", "dir", "echo beta"}) Type(line);
    Edit("half typed");
    CtrlR();
    EXPECT_TRUE(console.Editor().Searching());
    EXPECT_EQ(fake.bar.prompt, "(no match)'half typed'>");
    EXPECT_EQ(fake.bar.command, "half typed");
    for (int i = 0; i < 10; ++i) console.KeyDown(kVkBack, 0);
    EXPECT_EQ(fake.bar.prompt, "(search)''>");
    EXPECT_FALSE(console.KeyDown('E', 0));  // its character comes next
    TypeChars("EC");
    EXPECT_EQ(fake.bar.command, "echo beta");
    EXPECT_EQ(fake.bar.prompt, "(search)'EC'>");
    EXPECT_EQ(fake.bar.suggestion, "");
    Press('R', kModCtrl, true, "echo alpha");
    Press('R', kModCtrl, true, "echo alpha");
    EXPECT_EQ(fake.bar.prompt, "(no match)'EC'>");
    Press(kVkEscape, 0, true, "half typed");
    EXPECT_FALSE(console.Editor().Searching());
    EXPECT_EQ(fake.bar.prompt, "C:\\Work>");
    EXPECT_FALSE(console.CharTyped("x"));

    // Enter runs the match; the arrows take it for editing.
    Printed();
    Search("alp");
    EXPECT_TRUE(console.KeyDown(kVkReturn, 0));
    EXPECT_FALSE(console.Editor().Searching());
    EXPECT_EQ(Printed(), "alpha");
    EXPECT_EQ(Newest(), "echo alpha");

    for (int key : {kVkRight, kVkLeft, kVkUp, kVkDown, kVkHome, kVkEnd}) {
        SCOPED_TRACE(key);
        Search("di");
        Press(key, 0, true, "dir");
        EXPECT_FALSE(console.Editor().Searching());
        EXPECT_EQ(fake.bar.CommandCaret(), 3);
        EXPECT_EQ(fake.bar.prompt, "C:\\Work>");
        // Its release does not browse the history away from the match.
        EXPECT_TRUE(console.KeyUp(key, 0));
        EXPECT_EQ(fake.bar.command, "dir");
    }
    // A release that comes only after another key was pressed browses.
    Search("di");
    console.KeyDown(kVkUp, 0);
    console.KeyDown('X', 0);
    EXPECT_FALSE(console.KeyUp(kVkUp, 0));
    EXPECT_EQ(fake.bar.command, "echo alpha");
    // Any other key with Ctrl or Alt leaves the search with the match and
    // does its own work; the modifier keys alone leave it on.
    Search("alp");
    EXPECT_FALSE(console.KeyDown(kVkControl, kModCtrl));
    EXPECT_TRUE(console.Editor().Searching());
    Press('V', kModCtrl, false, "echo alpha");
    EXPECT_FALSE(console.Editor().Searching());
}

TEST_F(ConsoleHistoryTest, TheSearchFindsLinesOfTheLastRunAndEndsWhenAClientArrives) {
    console.StartUp("");
    Type("echo before the restart");
    std::unique_ptr<Console> again = Restart();
    fake.bar.command = "";
    EXPECT_TRUE(again->KeyDown('R', kModCtrl));
    for (char c : std::string("restart")) again->CharTyped(std::string(1, c));
    EXPECT_EQ(fake.bar.command, "echo before the restart");

    Run("listen 2319");
    Edit("");
    CtrlR();
    EXPECT_TRUE(console.Editor().Searching());
    socket.Knock("10.1.2.3");
    EXPECT_FALSE(console.Editor().Searching());
    EXPECT_EQ(state(), kServing);
    EXPECT_FALSE(console.KeyDown('R', kModCtrl));
    EXPECT_FALSE(console.Editor().Searching());
}

}  // namespace
}  // namespace vantrel::testing
