// The working folder outside Windows: under $TMPDIR (or /tmp), owner only.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "help/uHelpFiles.h"
#include "help/uMarkdownRenderer.h"
#include "lib/cf/TextUtils.h"
#include "tests/unit/common/LogTestSupport.h"

namespace {

class TmpDirOverride {
public:
    explicit TmpDirOverride(const char* value) {
        if (const char* old = std::getenv("TMPDIR")) saved_ = old, hadValue_ = true;
        if (value != nullptr)
            setenv("TMPDIR", value, 1);
        else
            unsetenv("TMPDIR");
    }
    ~TmpDirOverride() {
        if (hadValue_)
            setenv("TMPDIR", saved_.c_str(), 1);
        else
            unsetenv("TMPDIR");
    }

private:
    std::string saved_;
    bool hadValue_ = false;
};

TEST(HelpWorkFolder, LivesUnderTmpdirWithOwnerOnlyAccess) {
    log_tests::TempFolder root;
    const std::string rootName = cf::ToUtf8(root.Path());
    TmpDirOverride tmpdir(rootName.substr(0, rootName.size() - 1).c_str());  // without the trailing "/"
    EXPECT_EQ(help::UserTempFolder(), root.Path());
    {
        const mode_t previous = umask(0);
        help::TMarkdownRenderer renderer(u"help", help::THelpServices{});
        umask(previous);
        ASSERT_EQ(renderer.TempDirectory().rfind(root.Path() + u"{", 0), 0u);
        struct stat info {};
        ASSERT_EQ(stat(cf::ToUtf8(renderer.TempDirectory()).c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u);
    }
    EXPECT_TRUE(log_tests::FilesIn(root.Path()).empty());
}

TEST(HelpWorkFolder, WithoutARootedTmpdirItIsTmp) {
    {
        TmpDirOverride unset(nullptr);
        EXPECT_EQ(help::UserTempFolder(), u"/tmp/");
    }
    TmpDirOverride relative("relative/dir");
    EXPECT_EQ(help::UserTempFolder(), u"/tmp/");
}

TEST(HelpWorkFolder, LinksInsideAreRemovedNotFollowed) {
    log_tests::TempFolder root;
    const std::u16string outside = root.Path() + u"outside";
    help::CreatePrivateFolder(outside);
    help::WriteFileBytes(outside + u"/keep.txt", "keep");
    const std::u16string work = root.Path() + u"work";
    help::CreatePrivateFolder(work);
    ASSERT_EQ(symlink(cf::ToUtf8(outside).c_str(), cf::ToUtf8(work + u"/link").c_str()), 0);
    EXPECT_TRUE(help::RemoveFolderTree(work));
    EXPECT_EQ(log_tests::ReadFileBytes(outside + u"/keep.txt"), "keep");
    EXPECT_EQ(log_tests::FilesIn(root.Path()), std::vector<std::u16string>{u"outside"});
}

}  // namespace
