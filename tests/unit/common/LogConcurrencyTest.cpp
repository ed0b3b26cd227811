// Many writers into one file: threads of one process, and two processes.
#include <chrono>
#include <map>
#include <set>
#include <thread>

#include "common/uPaths.h"
#include "lib/cf/TextUtils.h"
#include "tests/unit/common/LogFixture.h"

using namespace log_tests;
using common::TLogLevel;

namespace {

// Counts "<tag> <n>" entries; answers the lines that are neither entries nor banner lines.
std::vector<std::string> CountEntries(const std::vector<std::string>& lines, std::map<std::string, std::set<int>>& seen,
                                      std::size_t& duplicates) {
    std::vector<std::string> foreign;
    for (const std::string& line : lines) {
        const std::size_t tab = line.rfind('\t');
        const std::size_t blank = line.rfind(' ');
        const bool entry = line.find("\tINFO\t") != std::string::npos && blank != std::string::npos && blank > tab;
        if (!entry) {
            const bool banner = line.find("log=") != std::string::npos || line.find(":\t") != std::string::npos ||
                                line == std::string(40, ' ');
            if (!banner) foreign.push_back(line);
            continue;
        }
        const std::string tag = line.substr(tab + 1, blank - tab - 1);
        if (!seen[tag].insert(std::stoi(line.substr(blank + 1))).second) ++duplicates;
    }
    return foreign;
}

}  // namespace

TEST_F(LogTest, EightThreadsWriteEveryLineIntact) {
    constexpr int kThreads = 8, kLines = 1000;
    common::SetLogMode(common::TLogMode::lmAll);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t] {
            const std::u16string tag = u"thread" + cf::IntToStr(t) + u"-" + std::u16string(60, u'ж');
            for (int i = 0; i < kLines; ++i) common::WriteLog(tag + u" " + cf::IntToStr(i), u"", TLogLevel::llInfo);
        });
    for (std::thread& t : threads) t.join();

    const std::vector<std::string> lines = Lines(TodaysFile());
    EXPECT_EQ(lines.size(), kBannerLines + kThreads * kLines);
    std::map<std::string, std::set<int>> seen;
    std::size_t duplicates = 0;
    EXPECT_TRUE(CountEntries(lines, seen, duplicates).empty());
    EXPECT_EQ(duplicates, 0u);
    ASSERT_EQ(seen.size(), static_cast<std::size_t>(kThreads));
    for (const auto& [tag, numbers] : seen) EXPECT_EQ(numbers.size(), static_cast<std::size_t>(kLines)) << tag;
}

// The first process keeps the file between its lines (as an upload does), for
// longer than the second one retries a locked file: the second still loses nothing.
TEST_F(LogTest, TwoProcessesAppendingAtOnceLoseNoLine) {
    constexpr int kLines = 1500, kHeldLines = 2500;
    const std::string program = ProgramFolder() + ProgramFileName("log_append_helper");
    const std::string where = cf::ToUtf8(folder.Path());
    ChildProcess first(program, {where, "first", std::to_string(kHeldLines), "hold"});
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the first one is holding by now
    ChildProcess second(program, {where, "second", std::to_string(kLines)});
    EXPECT_EQ(first.Wait(), 0);
    EXPECT_EQ(second.Wait(), 0);

    const std::vector<std::u16string> files = FilesIn(folder.Path());
    ASSERT_EQ(files.size(), 1u);
    const std::vector<std::string> lines = Lines(folder.Path() + files[0]);
    EXPECT_EQ(lines.size(), 2 * kBannerLines + kHeldLines + kLines);
    std::map<std::string, std::set<int>> seen;
    std::size_t duplicates = 0;
    EXPECT_TRUE(CountEntries(lines, seen, duplicates).empty());
    EXPECT_EQ(duplicates, 0u);
    EXPECT_EQ(seen["first"].size(), static_cast<std::size_t>(kHeldLines));
    EXPECT_EQ(seen["second"].size(), static_cast<std::size_t>(kLines));
}

// Between the lines under a hold no other process may write; a wait and the
// hold's end let it in again.
TEST_F(LogTest, AHoldDeniesOtherWritersBetweenItsLinesUntilAWaitOrItsEnd) {
    common::SetLogMode(common::TLogMode::lmAll);
    common::WriteLog(u"before", u"", TLogLevel::llInfo);
    EXPECT_TRUE(OtherWriterGetsIn(TodaysFile()));
    {
        const common::TLogHold hold;
        common::WriteLog(u"first", u"", TLogLevel::llInfo);
        EXPECT_FALSE(OtherWriterGetsIn(TodaysFile()));
        common::LetOtherLogWritersIn();
        EXPECT_TRUE(OtherWriterGetsIn(TodaysFile()));
        common::WriteLog(u"second", u"", TLogLevel::llInfo);
        EXPECT_FALSE(OtherWriterGetsIn(TodaysFile()));
    }
    EXPECT_TRUE(OtherWriterGetsIn(TodaysFile()));
    common::WriteLog(u"after", u"", TLogLevel::llInfo);
    const std::vector<std::string> lines = Lines(TodaysFile());
    ASSERT_EQ(lines.size(), kBannerLines + 4);
    const char* expected[] = {"before", "first", "second", "after"};
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(lines[kBannerLines + i].substr(lines[kBannerLines + i].rfind('\t') + 1), expected[i]);
}
