// The stem and folder rules, and the path text helpers they rest on.
#include <gtest/gtest.h>

#include "common/Common.LogPath.h"
#include "common/uPaths.h"

using common::PathDelim;

namespace {

// Paths written with "/" become the system's own.
std::u16string P(std::u16string path) {
    for (char16_t& c : path)
        if (c == u'/') c = PathDelim();
    return path;
}

const std::u16string kAppData = P(u"/data/");

class LogPathRules : public ::testing::Test {
protected:
    common::TLogPath Resolve() {
        in.CommonAppData = [this] {
            ++appDataAsked;
            return kAppData;
        };
        return common::ResolveLogPath(in);
    }
    common::TLogPathInputs in{u"", u"", u"Ventarix", u"", P(u"/opt/lib/libdriver.so"), {}};
    int appDataAsked = 0;
};

}  // namespace

TEST_F(LogPathRules, EmptyStemAndFolderUseTheLibraryNameUnderTheMakerFolder) {
    const common::TLogPath path = Resolve();
    EXPECT_EQ(path.Stem, u"libdriver");
    EXPECT_EQ(path.Folder, P(u"/data/Ventarix/libdriver/"));
    EXPECT_EQ(common::LogFileName(path, cf::DateTimeParts{2026, 3, 4}), P(u"/data/Ventarix/libdriver/libdriver_2026.03.04.log"));
}

TEST_F(LogPathRules, StemLosesFolderAndLastExtension) {
    in.LogFileStem = P(u"sub/192.168.0.10");
    EXPECT_EQ(Resolve().Stem, u"192.168.0");
    in.LogFileStem = u"192_168_0_10";
    EXPECT_EQ(Resolve().Stem, u"192_168_0_10");
}

TEST_F(LogPathRules, RootedStemIsTheWholeAnswerAndAsksForNoFolder) {
    in.LogFileStem = P(u"/var/log/fixed.txt");
    in.FolderOverride = P(u"/elsewhere");
    const common::TLogPath path = Resolve();
    EXPECT_TRUE(path.RootedStem);
    EXPECT_EQ(path.Folder, in.LogFileStem);
    EXPECT_EQ(common::LogFileName(path, cf::DateTimeParts{2026, 1, 1}), in.LogFileStem);
    EXPECT_EQ(appDataAsked, 0);
}

TEST_F(LogPathRules, AnOverlongStemIsCutForTheResolvedFolder) {
    in.LogFileStem = std::u16string(300, u'1');
    in.LogFolder = P(u"/logs");
    in.Limits = common::TPathLimits{100, 255, false};
    // "/logs/" (6) + stem + "_yyyy.mm.dd.log" (15) <= 100.
    EXPECT_EQ(Resolve().Stem, std::u16string(79, u'1'));
}

TEST_F(LogPathRules, FolderRules) {
    in.LogFileStem = u"s";
    in.LogFolder = P(u"/logs/here");
    EXPECT_EQ(Resolve().Folder, P(u"/logs/here/"));
    EXPECT_EQ(appDataAsked, 0);
    in.LogFolder = P(u"Maker/Product/");
    EXPECT_EQ(Resolve().Folder, P(u"/data/Maker/Product/"));
    in.FolderOverride = P(u"/override");
    EXPECT_EQ(Resolve().Folder, P(u"/override/"));
    in.FolderOverride = u"not-rooted";
    EXPECT_EQ(Resolve().Folder, P(u"/data/Maker/Product/"));
}

TEST(Paths, RootednessFollowsTheSystem) {
    EXPECT_TRUE(common::IsRootedPath(P(u"/x")));
    EXPECT_FALSE(common::IsRootedPath(u"x/y"));
    EXPECT_FALSE(common::IsRootedPath(u""));
    const bool windows = PathDelim() == u'\\';
    EXPECT_EQ(common::IsRootedPath(u"C:\\x"), windows);
    EXPECT_EQ(common::IsRootedPath(u"c:x"), windows);
    EXPECT_EQ(common::IsRootedPath(u"\\x"), windows);
    EXPECT_TRUE(common::IsRootedPath(u"/x"));
    EXPECT_FALSE(common::IsRootedPath(u"1:\\x"));
}

TEST(Paths, NameAndStemAndTrailingSeparator) {
    EXPECT_EQ(common::ExtractFileName(P(u"/a/b/c.d.log")), u"c.d.log");
    EXPECT_EQ(common::ExtractFileStem(P(u"/a/b/c.d.log")), u"c.d");
    EXPECT_EQ(common::ExtractFileStem(u"noext"), u"noext");
    EXPECT_EQ(common::IncludeTrailingPathDelimiter(P(u"/a")), P(u"/a/"));
    EXPECT_EQ(common::IncludeTrailingPathDelimiter(P(u"/a/")), P(u"/a/"));
    const bool windows = PathDelim() == u'\\';
    EXPECT_EQ(common::ExtractFileName(u"C:name.txt"), windows ? u"name.txt" : u"C:name.txt");
}

TEST(LogStemFit, ALongStemIsCutToTheNameAndPathLimits) {
    const common::TPathLimits limits{40, 30, false};
    // A name holds the stem and "_yyyy.mm.dd.log" (15): at most 15 here.
    EXPECT_EQ(common::FitLogStem(u"short", u"/f/", limits), u"short");
    EXPECT_EQ(common::FitLogStem(std::u16string(100, u'a'), u"/f/", limits), std::u16string(15, u'a'));
    // A folder of 20 leaves 40 - 20 - 15 = 5 for the stem.
    EXPECT_EQ(common::FitLogStem(std::u16string(100, u'a'), std::u16string(20, u'f'), limits), u"aaaaa");
    // A folder that alone fills the path leaves nothing.
    EXPECT_EQ(common::FitLogStem(u"abc", std::u16string(40, u'f'), limits), u"");
}

TEST(LogStemFit, Utf8BytesAreCountedWhereTheSystemCountsThemAndPairsStayWhole) {
    const common::TPathLimits bytes{1000, 21, true};
    // 6 bytes left: three Cyrillic letters of two bytes each.
    EXPECT_EQ(common::FitLogStem(u"ЖЖЖЖЖ", u"/", bytes), u"ЖЖЖ");
    const common::TPathLimits units{1000, 18, false};
    // 3 units left; the pair "😀" (2 units) after "ab" would be split at 3: it goes whole.
    EXPECT_EQ(common::FitLogStem(u"ab😀c", u"/", units), u"ab");
    EXPECT_EQ(common::FitLogStem(u"a😀c", u"/", units), u"a😀");
}

TEST(LogStemFit, TheSystemLimitsAreThoseOfItsFiles) {
    const common::TPathLimits limits = common::SystemPathLimits();
    const bool windows = PathDelim() == u'\\';
    EXPECT_EQ(limits.MaxPath, windows ? 259u : 4095u);
    EXPECT_EQ(limits.MaxName, 255u);
    EXPECT_EQ(limits.CountsUtf8Bytes, !windows);
}
