#include <gtest/gtest.h>

#include "ZipBuilder.h"
#include "common/uPaths.h"
#include "help/uHelpFiles.h"
#include "help/uHelpPackage.h"
#include "tests/support/ErrorMessage.h"
#include "tests/unit/common/LogTestSupport.h"

namespace help_tests {

namespace {

std::u16string Native(std::u16string path) {
    for (char16_t& c : path)
        if (c == u'/') c = common::PathDelim();
    return path;
}

// A package unpacked into "work" beside which nothing else may appear.
class PackageTest : public ::testing::Test {
protected:
    PackageTest() : work_(root_.Path() + u"work") { help::CreatePrivateFolder(work_); }

    std::u16string Extract(const std::string& package, const help::TPackageLimits& limits = {}) {
        help::WriteFileBytes(work_ + u"/md.zip", package);
        return test_support::MessageOf([&] { help::ExtractPackage(work_ + u"/md.zip", work_, limits); });
    }

    void ExpectOnlyWorkFolder() { EXPECT_EQ(log_tests::FilesIn(root_.Path()), std::vector<std::u16string>{u"work"}); }

    log_tests::TempFolder root_;
    std::u16string work_;
};

}  // namespace

TEST(HelpPackageNames, SafeNamesMapIntoTheFolder) {
    EXPECT_EQ(help::SafeEntryPath(u"guide.md", u"md.zip"), u"guide.md");
    EXPECT_EQ(help::SafeEntryPath(u"images/logo.png", u"md.zip"), Native(u"images/logo.png"));
    EXPECT_EQ(help::SafeEntryPath(u"images\\logo.png", u"md.zip"), Native(u"images/logo.png"));
    EXPECT_EQ(help::SafeEntryPath(u"./a//b/", u"md.zip"), Native(u"a/b/"));
    EXPECT_EQ(help::SafeEntryPath(u"sub/md.zip", u"md.zip"), Native(u"sub/md.zip"));
    EXPECT_EQ(help::SafeEntryPath(u"console.md", u"md.zip"), u"console.md");
    EXPECT_EQ(help::SafeEntryPath(u"..hidden", u"md.zip"), u"..hidden");
}

TEST(HelpPackageNames, NamesThatCouldLeaveTheFolderAreRefused) {
    for (const char16_t* name : {u"", u"/", u"./", u"../x.md", u"a/../../x.md", u"a\\..\\x.md", u"..", u"/etc/x.md",
                                 u"\\x.md", u"C:x.md", u"c:/x.md", u"C:\\x.md", u"guide.md:stream", u"a/.. /x",
                                 u"a/.../x", u"name.", u"name ", u"CON", u"aux.md", u"images/LPT1.png", u"com7",
                                 u"a\tb", u"md.zip", u"MD.ZIP"}) {
        EXPECT_EQ(test_support::MessageOf([&] { help::SafeEntryPath(name, u"md.zip"); }),
                  u"Пакет справки содержит недопустимое имя файла: \"" + std::u16string(name) + u"\"")
            << testing::PrintToString(std::u16string(name));
    }
}

TEST_F(PackageTest, HostileEntriesWriteNothingOutside) {
    for (const char* name : {"../outside.md", "/tmp/outside.md", "C:/outside.md", "C:outside.md", "sub/../../outside.md"}) {
        EXPECT_NE(Extract(ZipBuilder().Add(name, "x").Bytes()), u"(no error)") << name;
        ExpectOnlyWorkFolder();
    }
}

TEST_F(PackageTest, EntriesAreUnpackedWithTheirFolders) {
    ASSERT_EQ(Extract(ZipBuilder()
                          .Add("guide.md", "# x", {true, 0, std::nullopt})
                          .Add("img/a/logo.png", "PNG")
                          .Add("empty/", "")
                          .Bytes()),
              u"(no error)");
    EXPECT_EQ(log_tests::FilesIn(work_), (std::vector<std::u16string>{u"empty", u"guide.md", u"img", u"md.zip"}));
    EXPECT_EQ(log_tests::ReadFileBytes(work_ + u"/img/a/logo.png"), "PNG");
    EXPECT_EQ(log_tests::ReadFileBytes(work_ + u"/guide.md"), "# x");
}

TEST_F(PackageTest, EntryCountIsLimited) {
    ZipBuilder many;
    for (int i = 0; i < 4; ++i) many.Add("f" + std::to_string(i) + ".txt", "x");
    EXPECT_EQ(Extract(many.Bytes(), {3, 1u << 20}), u"Пакет справки содержит слишком много файлов: 4 (допускается не больше 3)");
    EXPECT_EQ(Extract(many.Bytes(), {4, 1u << 20}), u"(no error)");
}

TEST_F(PackageTest, UnpackedSizeIsLimited) {
    const std::u16string tooLarge = u"Пакет справки слишком велик: больше 1000 байт после распаковки";
    const help::TPackageLimits limits{10, 1000};
    EXPECT_EQ(Extract(ZipBuilder().Add("a.txt", std::string(600, 'a')).Add("b.txt", std::string(400, 'b')).Bytes(), limits),
              u"(no error)");
    EXPECT_EQ(Extract(ZipBuilder().Add("a.txt", std::string(600, 'a')).Add("b.txt", std::string(401, 'b')).Bytes(), limits),
              tooLarge);
    // A size declared smaller than the data: inflating stops at the declared
    // size and the entry fails its check instead of growing without bound.
    EXPECT_EQ(Extract(ZipBuilder().Add("a.txt", std::string(5000, 'a'), {true, 0, 10}).Bytes(), limits),
              u"Пакет справки повреждён: не удаётся распаковать \"a.txt\"");
}

TEST_F(PackageTest, DefaultLimitsStopAnInflationBomb) {
    // 17 MB of zeros deflate to about 17 KB.
    const std::string bomb = ZipBuilder().Add("bomb.txt", std::string(17u << 20, '\0'), {true, 0, std::nullopt}).Bytes();
    ASSERT_LT(bomb.size(), 200000u);
    EXPECT_EQ(Extract(bomb), u"Пакет справки слишком велик: больше 16777216 байт после распаковки");
    ZipBuilder many;
    for (int i = 0; i < 1001; ++i) many.Add(std::to_string(i), "");
    EXPECT_EQ(Extract(many.Bytes()), u"Пакет справки содержит слишком много файлов: 1001 (допускается не больше 1000)");
}

}  // namespace help_tests
