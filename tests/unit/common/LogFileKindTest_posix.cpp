// What a local user can plant under the log's name in the shared folder: a
// link to someone else's file, a dangling link, a pipe. None is written
// through, none blocks, and the driver goes on.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "lib/cf/TextUtils.h"
#include "tests/unit/common/LogFixture.h"

using namespace log_tests;
using common::TLogLevel;
using common::TLogMode;

namespace {

std::string Utf8(const std::u16string& path) { return cf::ToUtf8(path); }

void WriteBytes(const std::u16string& path, const std::string& bytes) {
    const int fd = open(Utf8(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    close(fd);
}

class LogFileKindTest : public LogTest {
protected:
    void SetUp() override {
        LogTest::SetUp();
        common::SetLogMode(TLogMode::lmAll);
    }
    void ExpectRefused() {
        const std::u16string problem = common::LogWriteProblem();
        EXPECT_NE(problem.find(TodaysFile()), std::u16string::npos) << Utf8(problem);
    }
};

}  // namespace

TEST_F(LogFileKindTest, ALinkToAnotherFileIsNeverWrittenThrough) {
    TempFolder elsewhere;
    const std::u16string victim = elsewhere.Path() + u"victim.txt";
    WriteBytes(victim, "precious\n");
    ASSERT_EQ(symlink(Utf8(victim).c_str(), Utf8(TodaysFile()).c_str()), 0);

    common::WriteLog(u"injected\nline", u"", TLogLevel::llError);
    ExpectRefused();
    EXPECT_EQ(ReadFileBytes(victim), "precious\n");

    // Once the link is gone the log is written again.
    ASSERT_EQ(unlink(Utf8(TodaysFile()).c_str()), 0);
    common::WriteLog(u"kept", u"", TLogLevel::llError);
    EXPECT_EQ(common::LogWriteProblem(), u"");
    EXPECT_EQ(Lines(TodaysFile()).size(), kBannerLines + 1);
}

TEST_F(LogFileKindTest, ADanglingLinkCreatesNothingAtItsTarget) {
    TempFolder elsewhere;
    const std::u16string target = elsewhere.Path() + u"created-by-link";
    ASSERT_EQ(symlink(Utf8(target).c_str(), Utf8(TodaysFile()).c_str()), 0);
    common::WriteLog(u"entry", u"", TLogLevel::llError);
    ExpectRefused();
    EXPECT_FALSE(FileExists(target));
}

TEST_F(LogFileKindTest, APipeWithOrWithoutAReaderNeitherBlocksNorIsWritten) {
    ASSERT_EQ(mkfifo(Utf8(TodaysFile()).c_str(), 0666), 0);
    common::WriteLog(u"nobody reads", u"", TLogLevel::llError);
    ExpectRefused();

    const int reader = open(Utf8(TodaysFile()).c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    common::WriteLog(u"somebody reads", u"", TLogLevel::llError);
    ExpectRefused();
    char buffer[16];
    EXPECT_LE(read(reader, buffer, sizeof buffer), 0) << "nothing reached the pipe";
    close(reader);
}

// The file of the previous line stays open between lines; whatever happens to
// its name meanwhile must be seen by the next line as if it were the first.
TEST_F(LogFileKindTest, ChangesUnderTheNameBetweenLinesAreSeenByTheNextLine) {
    common::WriteLog(u"first", u"", TLogLevel::llError);
    ASSERT_EQ(common::LogWriteProblem(), u"");

    // Removed: made again, and the line lands in the new file.
    ASSERT_EQ(unlink(Utf8(TodaysFile()).c_str()), 0);
    common::WriteLog(u"after removal", u"", TLogLevel::llError);
    EXPECT_EQ(common::LogWriteProblem(), u"");
    EXPECT_EQ(Lines(TodaysFile()).size(), 1u);

    // Replaced by a link: refused, the old file untouched.
    TempFolder elsewhere;
    const std::u16string victim = elsewhere.Path() + u"victim.txt";
    WriteBytes(victim, "precious\n");
    const std::u16string moved = elsewhere.Path() + u"moved.log";
    ASSERT_EQ(rename(Utf8(TodaysFile()).c_str(), Utf8(moved).c_str()), 0);
    ASSERT_EQ(symlink(Utf8(victim).c_str(), Utf8(TodaysFile()).c_str()), 0);
    common::WriteLog(u"through the link", u"", TLogLevel::llError);
    ExpectRefused();
    EXPECT_EQ(ReadFileBytes(victim), "precious\n");
    EXPECT_EQ(Lines(moved).size(), 1u);

    // Its rights taken away: refused like a file that could never be opened.
    ASSERT_EQ(unlink(Utf8(TodaysFile()).c_str()), 0);
    common::WriteLog(u"again", u"", TLogLevel::llError);
    ASSERT_EQ(common::LogWriteProblem(), u"");
    if (geteuid() != 0) {
        ASSERT_EQ(chmod(Utf8(TodaysFile()).c_str(), 0444), 0);
        common::WriteLog(u"no rights", u"", TLogLevel::llError);
        ExpectRefused();
        EXPECT_EQ(Lines(TodaysFile()).size(), 1u);
    }
}
