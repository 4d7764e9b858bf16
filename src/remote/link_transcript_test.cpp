// What a link writes is played out in testdata/penalties.talk; here what lies across days and
// restarts: the numbers, the removal of old days, and a peer's text that would forge a line.
#include "remote/link_transcript.h"

#include <gtest/gtest.h>

#include "fake_platform.h"

namespace vantrel::testing {
namespace {

constexpr char kLinks[] = "C:\\Links";

TEST(LinkTranscriptTest, NumbersGoOnAcrossRestartsOldDaysGoAndAPeerCannotWriteALineOfItsOwn) {
    FakePlatform fake;
    fake.clock.now = {2026, 12, 9, 23, 59, 58};
    fake.files.AddFolder("C:\\");
    for (const char* name : {"2026-09-09.txt", "2026-09-10.txt", "2026-02-30.txt", "notes.txt"}) {
        fake.files.AddFile(std::string(kLinks) + "\\" + name, "");
    }
    fake.files.AddFile(std::string(kLinks) + "\\2026-12-09.txt", "10:00:01 #7 runs: x #99\r\n");
    LinkTranscript transcript(fake.files, fake.clock, kLinks);
    transcript.Prune(90);
    EXPECT_FALSE(fake.files.HasFile(std::string(kLinks) + "\\2026-09-09.txt"));
    for (const char* kept : {"2026-09-10.txt", "2026-02-30.txt", "notes.txt"}) {
        EXPECT_TRUE(fake.files.HasFile(std::string(kLinks) + "\\" + kept)) << kept;
    }

    // The next link after a restart is one past the last line's number, not one a line holds.
    const long link = transcript.NewLink();
    EXPECT_EQ(link, 8);
    std::string why;
    ASSERT_TRUE(
        transcript.Write(link, "runs: a\r\n23:59:59 #1 login\x01" + std::string(2000, 'x'), &why));
    const std::string day = fake.files.Contents(std::string(kLinks) + "\\2026-12-09.txt");
    const std::string written = day.substr(day.find("23:59:58 #8"));
    EXPECT_EQ(written.find("\r\n"), written.size() - 2) << "one line";
    EXPECT_NE(written.find("runs: a  23:59:59 #1 login "), std::string::npos);
    EXPECT_NE(written.find("... (2027 characters in all)"), std::string::npos);

    // A new day starts its numbers at 1.
    fake.clock.now = {2026, 12, 10, 0, 0, 1};
    EXPECT_EQ(transcript.NewLink(), 1);
    EXPECT_FALSE(LinkTranscript(fake.files, fake.clock, "").Write(1, "x", &why));
}

}  // namespace
}  // namespace vantrel::testing
