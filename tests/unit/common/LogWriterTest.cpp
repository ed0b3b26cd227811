// The log writer through its interface: line format, filters, banners, days,
// folders and file errors.
#include <chrono>
#include <filesystem>
#include <thread>

#include "common/uCommonUtils.h"
#include "common/uPaths.h"
#include "lib/cf/Exception.h"
#include "lib/cf/FormatSettings.h"
#include "lib/cf/TextUtils.h"
#include "tests/unit/common/LogFixture.h"

using namespace log_tests;
using common::TLogLevel;
using common::TLogMode;

namespace {

const std::string kSpaces40(40, ' ');
const std::string kStartLine = "============Start log=============";
const std::string kStopLine = "============Stop log===============";

std::string Entry(const std::string& tag, const std::string& rest) { return "2026.12.07 10:15:02.047\t" + tag + "\t" + rest; }

}  // namespace

TEST_F(LogTest, LineIsWrittenByteForByteInUtf8WithCrLf) {
    common::SetLogMode(TLogMode::lmAll);
    common::WriteLog(u" \tПривет\r\n", u"  деталь \t", TLogLevel::llError);
    common::WriteLog(u"Без детали", u"", TLogLevel::llInfo);
    common::WriteLog(u"Пробелы", u"   ", TLogLevel::llDebug);
    common::WriteLog(u"две\r\nстроки", u"x", TLogLevel::llDebug);

    const std::string bytes = ReadFileBytes(TodaysFile());
    ASSERT_GE(bytes.size(), 40u);
    EXPECT_EQ(bytes.substr(0, 40), kSpaces40) << "no byte-order mark, the banner first";
    // "Привет" and "деталь" in UTF-8, joined by ":", a space and a tab.
    const std::string error = "2026.12.07 10:15:02.047\tERROR\t\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82: \t"
                              "\xD0\xB4\xD0\xB5\xD1\x82\xD0\xB0\xD0\xBB\xD1\x8C\r\n";
    const std::size_t at = bytes.find(error);
    ASSERT_NE(at, std::string::npos);
    const std::string rest = bytes.substr(at + error.size());
    EXPECT_EQ(rest, cf::ToUtf8(u"2026.12.07 10:15:02.047\tINFO\tБез детали\r\n"
                               u"2026.12.07 10:15:02.047\tDEBUG\tПробелы: \t\r\n"
                               u"2026.12.07 10:15:02.047\tDEBUG\tдве\r\nстроки: \tx\r\n"));
}

TEST_F(LogTest, TimestampUsesTheLocaleTimeSeparatorAndPadsEveryField) {
    const cf::DateTimeParts early{987, 1, 2, 3, 4, 5, 6};
    EXPECT_EQ(common::FormatLogLine(early, TLogLevel::llInfo, u"a", u""), u"0987.01.02 03:04:05.006\tINFO\ta");
    const char16_t saved = cf::FormatSettings().TimeSeparator;
    cf::FormatSettings().TimeSeparator = u'-';
    EXPECT_EQ(common::FormatLogLine(early, TLogLevel::llError, u"a", u"b"), u"0987.01.02 03-04-05.006\tERROR\ta: \tb");
    cf::FormatSettings().TimeSeparator = saved;
}

TEST_F(LogTest, EachModeWritesOnlyItsLevels) {
    struct Case {
        TLogMode mode;
        bool info, debug, error;
    };
    for (const Case c : {Case{TLogMode::lmErrors, false, false, true}, Case{TLogMode::lmInfoErrors, true, false, true},
                         Case{TLogMode::lmAll, true, true, true}}) {
        TempFolder own;
        common::SetLogFolder(own.Path());
        common::SetLogMode(c.mode);
        common::WriteLog(u"i", u"", TLogLevel::llInfo);
        common::WriteLog(u"d", u"", TLogLevel::llDebug);
        common::WriteLog(u"e", u"", TLogLevel::llError);
        common::SetLogMode(TLogMode::lmOff);
        std::vector<std::string> expected;
        if (c.info) expected.push_back(Entry("INFO", "i"));
        if (c.debug) expected.push_back(Entry("DEBUG", "d"));
        if (c.error) expected.push_back(Entry("ERROR", "e"));
        const std::vector<std::string> lines = Lines(own.Path() + u"test_2026.12.07.log");
        ASSERT_EQ(lines.size(), kBannerLines + expected.size() + 2) << static_cast<int>(c.mode);
        EXPECT_EQ(std::vector<std::string>(lines.begin() + kBannerLines, lines.end() - 2), expected);
    }
}

TEST_F(LogTest, RejectedEntriesTouchNoFileOrFolder) {
    const std::u16string missing = folder.Path() + u"sub" + common::PathDelim() + u"deeper";
    common::SetLogFolder(missing);
    for (TLogLevel level : {TLogLevel::llInfo, TLogLevel::llDebug, TLogLevel::llError}) common::WriteLog(u"x", u"y", level);
    common::SetLogMode(TLogMode::lmErrors);
    common::WriteLog(u"x", u"y", TLogLevel::llDebug);
    common::WriteLog(u"x", u"y", TLogLevel::llInfo);
    EXPECT_TRUE(FilesIn(folder.Path()).empty());
}

TEST_F(LogTest, StartBannerOncePerEnabledPeriodAndStopBannerWithEmptyLine) {
    common::SetLogMode(TLogMode::lmAll);
    common::WriteLog(u"first", u"", TLogLevel::llInfo);
    common::WriteLog(u"second", u"", TLogLevel::llInfo);
    common::SetLogMode(TLogMode::lmOff);
    common::SetLogMode(TLogMode::lmAll);
    common::WriteLog(u"third", u"", TLogLevel::llInfo);

    const std::vector<std::string> lines = Lines(TodaysFile());
    ASSERT_EQ(lines.size(), 2 * kBannerLines + 3 + 2);
    const std::string application = cf::ToUtf8(common::ExtractFileName(common::GetModulePath()));
    EXPECT_EQ(application, ProgramFileName("common_tests"));
    const std::vector<std::string> banner{kSpaces40, kStartLine, lines[2], "Application:\t" + application,
                                          std::string("App. version:\t") + WQ_EXPECTED_VERSION, kSpaces40};
    EXPECT_EQ(lines[2].rfind("OS version:\t", 0), 0u);
    EXPECT_GT(lines[2].size(), std::string("OS version:\t").size() + 2);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 6), banner);
    EXPECT_EQ(lines[6], Entry("INFO", "first"));
    EXPECT_EQ(lines[7], Entry("INFO", "second"));
    EXPECT_EQ(lines[8], kStopLine);
    EXPECT_EQ(lines[9], "");
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 10, lines.begin() + 16), banner);
    EXPECT_EQ(lines[16], Entry("INFO", "third"));
}

TEST_F(LogTest, UnloadWritesTheStopBannerOnlyAfterAStartBanner) {
    common::SetLogMode(TLogMode::lmAll);
    common::LogModuleStop();  // on, but nothing written yet
    EXPECT_TRUE(FilesIn(folder.Path()).empty());

    common::SetLogFolder(folder.Path());
    common::SetLogFileStem(u"test");
    common::SetLogMode(TLogMode::lmAll);
    common::WriteLog(u"entry", u"", TLogLevel::llDebug);
    common::LogModuleStop();
    const std::vector<std::string> lines = Lines(TodaysFile());
    ASSERT_EQ(lines.size(), kBannerLines + 3);
    EXPECT_EQ(lines[kBannerLines + 1], kStopLine);
    EXPECT_EQ(lines[kBannerLines + 2], "");
    EXPECT_EQ(common::GetLogMode(), TLogMode::lmOff);
    EXPECT_EQ(common::GetLogFileStem(), u"");
}

TEST_F(LogTest, DayChangeStartsANewFileWithoutBanner) {
    common::SetLogMode(TLogMode::lmAll);
    now = cf::DateTimeParts{2026, 12, 7, 23, 59, 59, 999};
    common::WriteLog(u"before", u"", TLogLevel::llInfo);
    now = cf::DateTimeParts{2026, 12, 8, 0, 0, 0, 1};
    common::WriteLog(u"after", u"", TLogLevel::llInfo);

    EXPECT_EQ(FilesIn(folder.Path()), (std::vector<std::u16string>{u"test_2026.12.07.log", u"test_2026.12.08.log"}));
    EXPECT_EQ(Lines(TodaysFile()).size(), kBannerLines + 1);
    EXPECT_EQ(Lines(folder.Path() + u"test_2026.12.08.log"),
              std::vector<std::string>{"2026.12.08 00:00:00.001\tINFO\tafter"});
}

TEST_F(LogTest, EnvironmentFolderTakesPrecedenceWhenRooted) {
    TempFolder other;
    SetEnvironment(common::kLogDirVariable, other.Path());
    common::SetLogMode(TLogMode::lmErrors);
    common::WriteLog(u"redirected", u"", TLogLevel::llError);
    EXPECT_EQ(FilesIn(other.Path()), std::vector<std::u16string>{u"test_2026.12.07.log"});
    EXPECT_TRUE(FilesIn(folder.Path()).empty());

    SetEnvironment(common::kLogDirVariable, u"relative");
    common::WriteLog(u"back home", u"", TLogLevel::llError);
    EXPECT_TRUE(FileExists(TodaysFile()));
}

TEST_F(LogTest, MissingFolderIsCreatedWithItsParents) {
    const std::u16string nested = folder.Path() + u"a" + common::PathDelim() + u"b";
    common::SetLogFolder(nested);
    EXPECT_EQ(common::GetLogPath(true), nested + common::PathDelim());
    EXPECT_TRUE(common::DirectoryExists(nested));
    EXPECT_EQ(common::GetLogPath(false), nested + common::PathDelim() + u"test_2026.12.07.log");
}

// The file of the previous line is reused without looking at the folder; a
// folder removed meanwhile must still be made again, not lose the line.
TEST_F(LogTest, AFolderRemovedBetweenLinesIsMadeAgainForTheNextLine) {
    const std::u16string nested = folder.Path() + u"gone";
    common::SetLogFolder(nested);
    common::SetLogMode(TLogMode::lmErrors);
    common::WriteLog(u"first", u"", TLogLevel::llError);
    std::filesystem::remove_all(std::filesystem::path(nested));
    common::WriteLog(u"second", u"", TLogLevel::llError);

    EXPECT_EQ(Lines(nested + common::PathDelim() + u"test_2026.12.07.log"),
              std::vector<std::string>{Entry("ERROR", "second")});
    EXPECT_TRUE(common::LogWriteProblem().empty());
}

TEST_F(LogTest, AFolderThatCannotBeMadeLosesTheLineAndSaysWhy) {
    common::SetLogMode(TLogMode::lmAll);
    common::WriteLog(u"a file to stand in the way", u"", TLogLevel::llInfo);
    EXPECT_EQ(common::LogWriteProblem(), u"");
    const std::u16string blocked = TodaysFile() + common::PathDelim() + u"sub";
    common::SetLogFolder(blocked);
    EXPECT_NO_THROW(common::WriteLog(u"lost", u"", TLogLevel::llInfo));
    EXPECT_NE(common::LogWriteProblem().find(u"test_2026.12.07.log"), std::u16string::npos)
        << cf::ToUtf8(common::LogWriteProblem());
    EXPECT_THROW(common::GetLogPath(true), cf::Exception);
    EXPECT_EQ(common::DescribeLogFolder(), blocked + common::PathDelim());

    // The next line tries again and, the folder back, is written.
    common::SetLogFolder(folder.Path());
    common::WriteLog(u"kept", u"", TLogLevel::llInfo);
    EXPECT_EQ(common::LogWriteProblem(), u"");
    EXPECT_EQ(Lines(TodaysFile()).back(), Entry("INFO", "kept"));
}

TEST_F(LogTest, AFolderInPlaceOfTheFileIsAFailedWrite) {
    common::ForceDirectories(TodaysFile());
    common::SetLogMode(TLogMode::lmAll);
    EXPECT_NO_THROW(common::WriteLog(u"lost", u"", TLogLevel::llError));
    EXPECT_NE(common::LogWriteProblem().find(TodaysFile()), std::u16string::npos);
    EXPECT_TRUE(common::DirectoryExists(TodaysFile()));
}

TEST_F(LogTest, ALockedFileIsRetriedBrieflyThenTheLineIsLost) {
    common::SetLogMode(TLogMode::lmAll);
    common::WriteLog(u"banner first", u"", TLogLevel::llInfo);
    {
        ForeignFileLock lock(TodaysFile());
        EXPECT_NO_THROW(common::WriteLog(u"lost", u"", TLogLevel::llInfo));
        EXPECT_NE(common::LogWriteProblem().find(TodaysFile()), std::u16string::npos);
    }
    ForeignFileLock lock(TodaysFile());
    std::thread releaser([&lock] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        lock.Release();
    });
    common::WriteLog(u"kept", u"", TLogLevel::llInfo);
    releaser.join();
    EXPECT_EQ(common::LogWriteProblem(), u"");
    const std::vector<std::string> lines = Lines(TodaysFile());
    ASSERT_EQ(lines.size(), kBannerLines + 2);
    EXPECT_EQ(lines.back(), Entry("INFO", "kept"));
}

TEST_F(LogTest, StartupFolderPrefersTheOverrideAndNeverRaises) {
    TempFolder other;
    SetEnvironment(common::kLogDirVariable, other.Path());
    EXPECT_EQ(common::StartupLogFolder(u"w_quorlan7t4p"), other.Path());
    SetEnvironment(common::kLogDirVariable, u"relative");
    const std::u16string rule = common::StartupLogFolder(u"w_quorlan7t4p");
    const std::u16string tail = std::u16string(common::kLogVendorFolder) + common::PathDelim() + u"w_quorlan7t4p";
    ASSERT_GE(rule.size(), tail.size());
    EXPECT_EQ(rule.substr(rule.size() - tail.size()), tail);
}
