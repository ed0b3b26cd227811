// The log folder's mode: a new folder is open to everyone, an existing one is left alone.
#include <sys/stat.h>

#include "common/uPaths.h"
#include "lib/cf/TextUtils.h"
#include "tests/unit/common/LogFixture.h"

using namespace log_tests;

namespace {
mode_t ModeOf(const std::u16string& path) {
    struct stat info {};
    stat(cf::ToUtf8(path).c_str(), &info);
    return info.st_mode & 07777;
}
}  // namespace

TEST_F(LogTest, NewFolderIsOpenToEveryoneAndStickyWhateverTheUmask) {
    const mode_t previous = umask(022);
    const std::u16string nested = folder.Path() + u"made/here";
    common::SetLogFolder(nested);
    common::GetLogPath(true);
    umask(previous);
    EXPECT_EQ(ModeOf(nested), 01777u);
}

TEST_F(LogTest, ExistingFolderKeepsItsMode) {
    const std::u16string existing = folder.Path() + u"existing";
    common::ForceDirectories(existing);
    chmod(cf::ToUtf8(existing).c_str(), 0750);
    common::SetLogFolder(existing);
    common::SetLogMode(common::TLogMode::lmAll);
    common::WriteLog(u"entry", u"", common::TLogLevel::llInfo);
    EXPECT_EQ(ModeOf(existing), 0750u);
}
